#pragma once
// The log viewer's devices beside the chart: one row a logged device, ticked
// to draw it, with the limits its values are marked against (typed by the
// user: the site's device records carry no alarm limits) and its minimum,
// mean and maximum over the chart's visible range.
#include "logger/LogPointReducer.h"

#include <QAbstractTableModel>

#include <vector>

namespace Quorvel1 {

class TLogTable;

class TLogDeviceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DeviceColumn, LowColumn, HighColumn, MinimumColumn, MeanColumn, MaximumColumn, ColumnCount };

    explicit TLogDeviceModel(const TLogTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Ticks a device, or takes a limit's text (empty: no limit; otherwise a
    // number, refused when it is none).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The ticked devices, as table columns in order.
    std::vector<std::size_t> Chosen() const;
    void Choose(std::size_t device, bool chosen);
    const TLogLimits& Limits(std::size_t device) const { return limits_[device]; }
    // Each device's summary over the visible range.
    void SetSummaries(std::vector<TLogSummary> summaries);

signals:
    void ChosenChanged();
    void LimitsChanged(std::size_t device);

private:
    const TLogTable& table_;
    std::vector<bool> chosen_;
    std::vector<TLogLimits> limits_;
    std::vector<TLogSummary> summaries_;
};

} // namespace Quorvel1
