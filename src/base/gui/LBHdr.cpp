#include "base/gui/LBHdr.h"

#include "base/gui/NewspaperModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

namespace Quorvel1 {

// Paints a cell: the row's background and selection as the style has them,
// then the text through the list's DrawCell, in the row's own colour
// (inverted on a selected row) when it has one.
class TLBHdrDelegate : public QStyledItemDelegate {
public:
    explicit TLBHdrDelegate(TLBHdr& list) : QStyledItemDelegate(&list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const int record = list_.grid_->RecordOf(index);
        const int field = index.column() % list_.grid_->FieldCount();
        if (record < 0 || field >= int(list_.columns_.size()))
            return;
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        QStyle* style = list_.style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, &list_);

        QStyleOptionViewItem cell = opt;
        cell.rect = QRect(opt.rect.left()
                              + HdrLayout::OffsetInCell(list_.layout_, list_.columns_, field),
                          opt.rect.top(), list_.columns_[field].Width, opt.rect.height());
        painter->save();
        painter->setPen(TextColour(opt, record));
        list_.DrawCell(*painter, cell, record, field);
        painter->restore();

        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.backgroundColor = opt.palette.color(QPalette::Highlight);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, &list_);
        }
    }

private:
    QColor TextColour(const QStyleOptionViewItem& opt, int record) const
    {
        const bool selected = opt.state & QStyle::State_Selected;
        if (opt.state & QStyle::State_Enabled) {
            bool useDefault = true;
            const TColor own = list_.model_->RowColour(record, useDefault);
            if (!useDefault)
                return ToQColor(selected ? InvertedColour(own) : own, opt.palette);
        }
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                                : QPalette::Inactive;
        return opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    }

    TLBHdr& list_;
};

TLBHdr::TLBHdr(int columnCount, QWidget* parent) : TLBHdr(new TLBHdrModel(columnCount), parent)
{
}

TLBHdr::TLBHdr(TLBHdrModel* model, QWidget* parent)
    : QTableView(parent), model_(model), grid_(new TNewspaperModel(this))
{
    model_->setParent(this);
    Build();
}

TLBHdr::~TLBHdr() = default;

void TLBHdr::Build()
{
    grid_->setSourceModel(model_);
    setModel(grid_);
    QItemSelectionModel* defaultSelection = selectionModel();
    setSelectionModel(new TRecordSelectionModel(grid_, this));
    delete defaultSelection;
    setItemDelegate(new TLBHdrDelegate(*this));

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    ApplyHeaderColour();
    MeasureWithFont();

    connect(model_, &TLBHdrModel::ColumnsChanged, this, &TLBHdr::Layout);
    connect(grid_, &QAbstractItemModel::modelAboutToBeReset, this, &TLBHdr::RememberRecord);
    connect(grid_, &QAbstractItemModel::modelReset, this, [this] {
        ApplySections();
        RestoreRecord();
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (const int record = grid_->RecordOf(index); record >= 0)
            ItemClick(record);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const int record = grid_->RecordOf(index); record >= 0)
            ItemDblClick(record);
    });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (popup_)
            popup_->popup(viewport()->mapToGlobal(at));
    });
    Layout();
}

// Rows as high as a line of the font, as in a list box; widths measured in
// the same font.
void TLBHdr::MeasureWithFont()
{
    const QFontMetrics metrics = fontMetrics();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(metrics.height() + 2);
    model_->SetTextWidth([this](const QString& text) { return fontMetrics().horizontalAdvance(text); });
}

// Titles in navy on the button face, as long as the theme's button face is
// light enough for navy to read on it.
void TLBHdr::ApplyHeaderColour()
{
    QPalette palette = horizontalHeader()->palette();
    if (palette.color(QPalette::Button).lightness() >= 128)
        palette.setColor(QPalette::ButtonText, ToQColor(clNavy, palette));
    else
        palette.setColor(QPalette::ButtonText, this->palette().color(QPalette::ButtonText));
    horizontalHeader()->setPalette(palette);
}

void TLBHdr::Layout()
{
    columns_ = model_->LayoutColumns();
    layout_ = HdrLayout::LayoutRecord(columns_, viewport()->width());
    grid_->SetShape(VisibleRows(), layout_.RecordColumns); // resets the grid when its shape changes
    ApplySections();
    viewport()->update();
}

void TLBHdr::ApplySections()
{
    if (columns_.size() != std::size_t(model_->ColumnCount()))
        return; // not laid out yet
    const std::vector<int> widths = HdrLayout::CellWidths(layout_, columns_);
    const int fields = grid_->FieldCount();
    QHeaderView* header = horizontalHeader();
    for (int section = 0; section < grid_->columnCount(); ++section) {
        const int field = section % fields;
        header->setSectionHidden(section, !columns_[field].Visible);
        if (columns_[field].Visible && header->sectionSize(section) != widths[field])
            header->resizeSection(section, widths[field]);
    }
}

int TLBHdr::VisibleRows() const
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return viewport()->height() / rowHeight;
}

void TLBHdr::RememberRecord()
{
    keptRecord_ = SelectedRow();
    keptField_ = currentIndex().isValid() ? currentIndex().column() % grid_->FieldCount() : 0;
}

void TLBHdr::RestoreRecord()
{
    const QModelIndex cell = grid_->CellOf(keptRecord_, keptField_);
    keptRecord_ = -1;
    if (cell.isValid())
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
}

void TLBHdr::SetPopup(QMenu* menu)
{
    popup_ = menu;
    setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
}

void TLBHdr::Clear()
{
    model_->Clear();
}

int TLBHdr::SelectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : grid_->RecordOf(selected.first());
}

void TLBHdr::SelectRow(int row)
{
    int field = 0;
    while (field < int(columns_.size()) - 1 && !columns_[field].Visible)
        ++field;
    const QModelIndex cell = grid_->CellOf(row, field);
    if (cell.isValid())
        setCurrentIndex(cell);
    else
        selectionModel()->clear();
}

void TLBHdr::DrawCell(QPainter& painter, const QStyleOptionViewItem& option, int row, int column) const
{
    const TLBHdrModel::TCol& col = model_->Column(column);
    if (!col.Visible)
        return;
    const QString text = model_->Cell(row, column);
    const QFontMetrics& metrics = option.fontMetrics;
    const int x = HdrLayout::AlignedX(option.rect.left(), option.rect.width(),
                                      metrics.horizontalAdvance(text), col.Alignment);
    const int y = option.rect.top() + (option.rect.height() - metrics.height()) / 2 + metrics.ascent();
    painter.setFont(option.font);
    painter.drawText(x, y, text); // not clipped: a text may run into the gap after its column
}

void TLBHdr::ItemClick(int /*row*/)
{
}

void TLBHdr::ItemDblClick(int /*row*/)
{
}

void TLBHdr::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    Layout();
}

// Enter does what a double-click does, for the keyboard.
void TLBHdr::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (const int record = SelectedRow(); record >= 0) {
            ItemDblClick(record);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void TLBHdr::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        MeasureWithFont();
        Layout();
    } else if (event->type() == QEvent::PaletteChange) {
        ApplyHeaderColour();
    }
}

} // namespace Quorvel1
