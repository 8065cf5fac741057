#pragma once
// The log viewer ("Log viewer"): a log file's entries as a table, one row per
// entry (local and UTC time, then each device's value text), sortable by any
// column and copied to the clipboard as tab-separated text (Ctrl+C copies the
// selection); below it each device's minimum, mean and maximum.
#include "logger/LogReader.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLabel;
class QTableView;

namespace Quorvel1 {

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

    // Logging > "Open log...": asks for a log file and shows it.
    static void OpenLogFile(QWidget* parent);

    TLogTableModel& Model() { return *model_; }
    QTableView& View() { return *view_; }
    // The selected cells as lines of tab-separated text, as Ctrl+C copies them.
    QString SelectionText() const;
    void CopySelection() const;

private:
    TLogTable table_;
    TLogTableModel* model_ = nullptr;
    QTableView* view_ = nullptr;
};

} // namespace Quorvel1
