#include "base/gui/LBHdrModel.h"

namespace Quorvel1 {

namespace {

// The entry a cell gets before its own text is set: not empty, so that the
// row exists and reads as blank.
const QString BlankEntry = QStringLiteral(" ");

Qt::Alignment QtAlignment(THdrAlignment alignment)
{
    switch (alignment) {
    case THdrAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case THdrAlignment::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case THdrAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

TLBHdrModel::TLBHdrModel(int columnCount, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::max(1, columnCount))
{
    for (int c = 0; c < ColumnCount(); ++c)
        columns_[c].Title = QStringLiteral("Col") + QString::number(c + 1);
}

std::vector<HdrLayout::TColumn> TLBHdrModel::LayoutColumns() const
{
    std::vector<HdrLayout::TColumn> layout;
    layout.reserve(columns_.size());
    for (const TCol& column : columns_)
        layout.push_back({column.Width, column.Visible});
    return layout;
}

void TLBHdrModel::SetTextWidth(TTextWidth textWidth)
{
    textWidth_ = std::move(textWidth);
    bool grew = false;
    for (int c = 0; c < ColumnCount(); ++c)
        grew = FitWidth(c, columns_[c].Title) || grew;
    if (grew)
        emit ColumnsChanged();
}

// The width grows to 130 % of the text, within the maximum; the layout
// follows when a visible column grew.
bool TLBHdrModel::FitWidth(int column, const QString& text)
{
    if (!textWidth_)
        return false;
    TCol& col = columns_[column];
    const int width = HdrLayout::FittedWidth(col.Width, textWidth_(text), col.MaxWidth);
    if (width <= col.Width)
        return false;
    col.Width = width;
    return col.Visible;
}

void TLBHdrModel::SetTitle(int column, const QString& title)
{
    if (!HasColumn(column))
        return;
    columns_[column].Title = title;
    const bool grew = FitWidth(column, title);
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (grew)
        emit ColumnsChanged();
}

void TLBHdrModel::SetAlignment(int column, THdrAlignment alignment)
{
    if (!HasColumn(column) || columns_[column].Alignment == alignment)
        return;
    columns_[column].Alignment = alignment;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (RowCount() > 0)
        emit dataChanged(index(0, column), index(RowCount() - 1, column), {Qt::TextAlignmentRole});
}

void TLBHdrModel::SetVisible(int column, bool visible)
{
    if (!HasColumn(column) || columns_[column].Visible == visible)
        return;
    columns_[column].Visible = visible;
    emit ColumnsChanged();
}

void TLBHdrModel::SetWidthLimits(int column, int minWidth, int maxWidth)
{
    if (!HasColumn(column))
        return;
    TCol& col = columns_[column];
    col.MinWidth = minWidth;
    col.MaxWidth = maxWidth;
    if (col.Width < minWidth) {
        col.Width = minWidth;
        emit ColumnsChanged();
    }
}

void TLBHdrModel::SetCell(int row, int column, const QString& text)
{
    if (!HasColumn(column) || row < 0)
        return;
    TCol& col = columns_[column];
    if (row < col.Texts.size() && col.Texts[row] == text)
        return; // nothing to repaint
    const int rowsBefore = RowCount();
    const bool newRows = column == 0 && row >= rowsBefore;
    if (newRows)
        beginInsertRows(QModelIndex(), rowsBefore, row);
    while (col.Texts.size() <= row)
        col.Texts.append(BlankEntry);
    col.Texts[row] = text;
    if (newRows)
        endInsertRows();
    const bool grew = FitWidth(column, text);
    if (!newRows && row < RowCount())
        emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
    if (grew)
        emit ColumnsChanged();
}

void TLBHdrModel::SetCellHint(int row, int column, const QString& hint)
{
    if (!HasColumn(column) || row < 0 || row >= columns_[column].Texts.size())
        return;
    QStringList& hints = columns_[column].Hints;
    if (row >= hints.size()) {
        if (hint.isEmpty())
            return;
        hints.resize(row + 1);
    }
    if (hints[row] == hint)
        return;
    hints[row] = hint;
    if (row < RowCount())
        emit dataChanged(index(row, column), index(row, column), {Qt::ToolTipRole});
}

QString TLBHdrModel::Cell(int row, int column) const
{
    if (!HasColumn(column) || row < 0 || row >= columns_[column].Texts.size())
        return QString();
    return columns_[column].Texts[row];
}

QString TLBHdrModel::CellHint(int row, int column) const
{
    if (!HasColumn(column) || row < 0 || row >= columns_[column].Hints.size())
        return QString();
    return columns_[column].Hints[row];
}

void TLBHdrModel::InvalidateRow(int row)
{
    if (row >= 0 && row < RowCount())
        emit dataChanged(index(row, 0), index(row, ColumnCount() - 1), {Qt::ForegroundRole});
}

void TLBHdrModel::Clear()
{
    beginResetModel();
    for (TCol& col : columns_) {
        col.Texts.clear();
        col.Hints.clear();
        col.Width = col.MinWidth;
    }
    endResetModel();
    for (int c = 0; c < ColumnCount(); ++c)
        FitWidth(c, columns_[c].Title);
    emit ColumnsChanged();
}

TColor TLBHdrModel::RowColour(int /*row*/, bool& useDefault) const
{
    useDefault = true;
    return clBlack;
}

int TLBHdrModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TLBHdrModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant TLBHdrModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= RowCount() || !HasColumn(index.column()))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return Cell(index.row(), index.column());
    case Qt::ToolTipRole: {
        const QString hint = CellHint(index.row(), index.column());
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    case Qt::TextAlignmentRole:
        return int(QtAlignment(columns_[index.column()].Alignment));
    case Qt::ForegroundRole: {
        bool useDefault = false;
        const TColor colour = RowColour(index.row(), useDefault);
        return useDefault ? QVariant() : QVariant(ToQColor(colour));
    }
    default:
        return QVariant();
    }
}

QVariant TLBHdrModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !HasColumn(section))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return columns_[section].Title;
    case Qt::TextAlignmentRole:
        return int(QtAlignment(columns_[section].Alignment));
    default:
        return QVariant();
    }
}

} // namespace Quorvel1
