#include "logger/gui/DlgLogView.h"

#include "logger/LogStats.h"
#include "logger/gui/LogChart.h"
#include "logger/gui/LogDeviceModel.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <map>

namespace Quorvel1 {

namespace {

constexpr int SortRole = Qt::UserRole;
constexpr int ChartHeight = 380; // the chart page's first split
constexpr int DevicesHeight = 140;

} // namespace

TLogTableModel::TLogTableModel(const TLogTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

int TLogTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(table_.Rows.size());
}

int TLogTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TimeColumns + int(table_.Columns.size());
}

QVariant TLogTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TLogRow& row = table_.Rows[std::size_t(index.row())];
    if (index.column() < TimeColumns) {
        if (role == SortRole)
            return qlonglong(index.column() == 0 ? row.Local : row.Utc);
        if (role == Qt::DisplayRole)
            return index.column() == 0 ? LogLocalTimeText(row.Local, row.Utc) : LogUtcTimeText(row.Utc);
        if (role == Qt::ToolTipRole && row.GapBefore)
            return tr("Entries are missing before this one");
        return {};
    }
    const TLogCell cell = table_.Cell(std::size_t(index.row()), std::size_t(index.column() - TimeColumns));
    switch (role) {
    case Qt::DisplayRole:
        return cell.Text;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
        return cell.State == TLogCellState::Value ? QVariant(double(cell.Value)) : QVariant(-1e9 - int(cell.State));
    case Qt::ToolTipRole:
        if (cell.State == TLogCellState::NoValue)
            return tr("No value");
        if (cell.State == TLogCellState::NotSet)
            return tr("Not set");
        if (cell.State == TLogCellState::Absent)
            return tr("Not logged by this download");
        return {};
    default:
        return {};
    }
}

QVariant TLogTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return tr("Local time");
    if (section == 1)
        return tr("UTC time");
    return table_.Heading(std::size_t(section - TimeColumns));
}

TDlgLogView::TDlgLogView(TLogTable table, QWidget* parent) : QDialog(parent), table_(std::move(table))
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(Caption, QFileInfo(table_.FileName).fileName()));
    auto* layout = new QVBoxLayout(this);
    if (!table_.Ok()) {
        auto* error = new QLabel(table_.Error, this);
        error->setObjectName(QStringLiteral("labelError"));
        error->setWordWrap(true);
        layout->addWidget(error);
    }
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabsLog"));
    tabs_->addTab(BuildTablePage(), tr("&Table"));
    tabs_->addTab(BuildChartPage(), tr("C&hart"));
    layout->addWidget(tabs_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 600);
}

TDlgLogView::~TDlgLogView()
{
    // The views and the chart read the table: they go before it does.
    delete tabs_;
}

QWidget* TDlgLogView::BuildTablePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    model_ = new TLogTableModel(table_, this);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(model_);
    sorted->setSortRole(SortRole);
    view_ = new QTableView(page);
    view_->setObjectName(QStringLiteral("tableLog"));
    view_->setModel(sorted);
    view_->setSortingEnabled(true);
    view_->sortByColumn(0, Qt::AscendingOrder);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(view_, 1);

    const std::vector<TLogSummary> summaries = SummariseLog(table_, LogRowsBetween(table_, {}, {}));
    QStringList lines;
    for (std::size_t column = 0; column < table_.Columns.size(); ++column) {
        const TLogSummary& s = summaries[column];
        lines << (s.Count == 0 ? tr("%1: no values").arg(table_.Heading(column))
                               : tr("%1: minimum %2, mean %3, maximum %4")
                                     .arg(table_.Heading(column), LogNumberText(s.Minimum, s.Exponent),
                                          LogNumberText(s.Mean, s.Exponent - 1), LogNumberText(s.Maximum, s.Exponent)));
    }
    auto* summary = new QLabel(lines.join(QChar('\n')), page);
    summary->setObjectName(QStringLiteral("labelSummary"));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary);
    auto* copy = new QShortcut(QKeySequence::Copy, view_);
    connect(copy, &QShortcut::activated, this, &TDlgLogView::CopySelection);
    return page;
}

// The chart above the devices; the devices' ticks choose the lines, their
// limits place the marks, and every change of the chart's range refreshes
// their figures.
QWidget* TDlgLogView::BuildChartPage()
{
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitterChart"));
    chart_ = new TLogChart(table_, splitter);
    splitter->addWidget(chart_);

    auto* lower = new QWidget(splitter);
    auto* layout = new QVBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* rangeRow = new QHBoxLayout;
    range_ = new QLabel(lower);
    range_->setObjectName(QStringLiteral("labelRange"));
    rangeRow->addWidget(range_, 1);
    auto* whole = new QPushButton(tr("&Whole log"), lower);
    whole->setObjectName(QStringLiteral("buttonWholeLog"));
    whole->setToolTip(tr("Show the whole log (Home in the chart)"));
    connect(whole, &QPushButton::clicked, chart_, &TLogChart::ResetRange);
    rangeRow->addWidget(whole);
    layout->addLayout(rangeRow);

    devices_ = new TLogDeviceModel(table_, this);
    devicesView_ = new QTableView(lower);
    devicesView_->setObjectName(QStringLiteral("tableDevices"));
    devicesView_->setAccessibleName(tr("Devices drawn, their limits and their figures over the range shown"));
    devicesView_->setModel(devices_);
    devicesView_->setSelectionBehavior(QAbstractItemView::SelectItems);
    devicesView_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                  | QAbstractItemView::AnyKeyPressed);
    devicesView_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    devicesView_->verticalHeader()->hide();
    layout->addWidget(devicesView_, 1);
    splitter->addWidget(lower);
    // Most of the height to the chart; the devices' table scrolls.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({ChartHeight, DevicesHeight});

    for (std::size_t device = 0; device < std::min(FirstChosen, table_.Columns.size()); ++device)
        devices_->Choose(device, true);
    chart_->SetDevices(devices_->Chosen());
    connect(devices_, &TLogDeviceModel::ChosenChanged, this, [this] { chart_->SetDevices(devices_->Chosen()); });
    connect(devices_, &TLogDeviceModel::LimitsChanged, this,
            [this](std::size_t device) { chart_->SetLimits(device, devices_->Limits(device)); });
    connect(chart_, &TLogChart::RangeChanged, this, &TDlgLogView::ShowVisibleRange);
    ShowVisibleRange();
    return splitter;
}

void TDlgLogView::ShowVisibleRange()
{
    const double from = chart_->From();
    const double to = chart_->To();
    std::vector<TLogSummary> summaries;
    for (std::size_t device = 0; device < table_.Columns.size(); ++device)
        summaries.push_back(chart_->Reducer().Summarise(device, from, to));
    devices_->SetSummaries(std::move(summaries));
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    range_->setText(table_.Rows.empty()
                        ? tr("No entries")
                        : tr("Shown: %1 to %2")
                              .arg(QDateTime::fromMSecsSinceEpoch(qint64(from)).toString(format),
                                   QDateTime::fromMSecsSinceEpoch(qint64(to)).toString(format)));
}

void TDlgLogView::OpenLogFile(QWidget* parent)
{
    const QString path = QFileDialog::getOpenFileName(parent, tr("Open log"), QString(),
                                                      tr("Log files (*.LOG *.log);;All files (*)"));
    if (!path.isEmpty())
        ShowLogFile(path, parent);
}

void TDlgLogView::ShowLogFile(const QString& path, QWidget* parent, const QString& sitePath)
{
    TDlgLogView view(ReadLogFile(path, sitePath), parent);
    view.exec();
}

QString TDlgLogView::SelectionText() const
{
    // Rows and columns as shown (sorted), each selected cell in its place.
    std::map<int, std::map<int, QString>> cells;
    for (const QModelIndex& index : view_->selectionModel()->selectedIndexes())
        cells[index.row()][index.column()] = index.data().toString();
    QStringList lines;
    for (const auto& [row, columns] : cells) {
        QStringList fields;
        for (const auto& [column, text] : columns)
            fields << text;
        lines << fields.join(QChar('\t'));
    }
    return lines.join(QChar('\n'));
}

void TDlgLogView::CopySelection() const
{
    QApplication::clipboard()->setText(SelectionText());
}

} // namespace Quorvel1
