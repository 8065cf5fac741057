#pragma once
// The log viewer ("Log viewer"), on two tabs. The table: a log file's
// entries, one row per entry (local and UTC time, then each device's value
// text), sortable by any column and copied to the clipboard as tab-separated
// text (Ctrl+C copies the selection); below it each device's minimum, mean
// and maximum. The chart: the ticked devices' trends over time, zoomed and
// panned, and beside it the devices with their limits and their minimum,
// mean and maximum over the range the chart shows.
#include "logger/LogReader.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLabel;
class QTabWidget;
class QTableView;

namespace Quorvel1 {

class TLogChart;
class TLogDeviceModel;

// The table's model. Sorting uses the raw numbers: the time columns sort by
// time, the device columns by value, with no value and "not set" first.
class TLogTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int TimeColumns = 2;

    explicit TLogTableModel(const TLogTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TLogTable& table_;
};

class TDlgLogView : public QDialog {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Log viewer");

    // Takes the table; a table read with an error shows the error above it.
    explicit TDlgLogView(TLogTable table, QWidget* parent = nullptr);
    ~TDlgLogView() override;

    // The devices drawn at first: the first few of the log's.
    static constexpr std::size_t FirstChosen = 4;

    // Logging > "Open log...": asks for a log file and shows it.
    static void OpenLogFile(QWidget* parent);
    // Shows the log file at `path`, named by the site file `sitePath` (or the
    // one beside the log when empty).
    static void ShowLogFile(const QString& path, QWidget* parent, const QString& sitePath = QString());

    TLogTableModel& Model() { return *model_; }
    QTableView& View() { return *view_; }
    QTabWidget& Tabs() { return *tabs_; }
    TLogChart& Chart() { return *chart_; }
    TLogDeviceModel& Devices() { return *devices_; }
    QTableView& DevicesView() { return *devicesView_; }
    // The selected cells as lines of tab-separated text, as Ctrl+C copies them.
    QString SelectionText() const;
    void CopySelection() const;

private:
    QWidget* BuildTablePage();
    QWidget* BuildChartPage();
    void ShowVisibleRange();

    TLogTable table_;
    TLogTableModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    TLogChart* chart_ = nullptr;
    TLogDeviceModel* devices_ = nullptr;
    QTableView* devicesView_ = nullptr;
    QLabel* range_ = nullptr;
};

} // namespace Quorvel1
