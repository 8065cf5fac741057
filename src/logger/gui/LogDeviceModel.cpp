#include "logger/gui/LogDeviceModel.h"

#include "logger/LogReader.h"

namespace Quorvel1 {

namespace {

QString LimitText(const std::optional<double>& limit)
{
    return limit ? QString::number(*limit) : QString();
}

} // namespace

TLogDeviceModel::TLogDeviceModel(const TLogTable& table, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      chosen_(table.Columns.size(), false),
      limits_(table.Columns.size()),
      summaries_(table.Columns.size())
{
}

int TLogDeviceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(table_.Columns.size());
}

int TLogDeviceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TLogDeviceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto device = std::size_t(index.row());
    const TLogSummary& s = summaries_[device];
    if (index.column() == DeviceColumn) {
        if (role == Qt::DisplayRole)
            return table_.Heading(device);
        if (role == Qt::CheckStateRole)
            return chosen_[device] ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case LowColumn:
        return LimitText(limits_[device].Low);
    case HighColumn:
        return LimitText(limits_[device].High);
    case MinimumColumn:
        return s.Count ? LogNumberText(s.Minimum, s.Exponent) : QString();
    case MeanColumn:
        return s.Count ? LogNumberText(s.Mean, s.Exponent - 1) : QString();
    case MaximumColumn:
        return s.Count ? LogNumberText(s.Maximum, s.Exponent) : QString();
    default:
        return {};
    }
}

QVariant TLogDeviceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char* const headings[] = {"Device", "Low limit", "High limit", "Minimum", "Mean", "Maximum"};
    return section >= 0 && section < ColumnCount ? tr(headings[section]) : QVariant();
}

Qt::ItemFlags TLogDeviceModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == DeviceColumn)
        flags |= Qt::ItemIsUserCheckable;
    if (index.column() == LowColumn || index.column() == HighColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TLogDeviceModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rowCount())
        return false;
    const auto device = std::size_t(index.row());
    if (index.column() == DeviceColumn && role == Qt::CheckStateRole) {
        Choose(device, value.toInt() == Qt::Checked);
        return true;
    }
    if ((index.column() != LowColumn && index.column() != HighColumn) || role != Qt::EditRole)
        return false;
    const QString text = value.toString().trimmed();
    std::optional<double> limit;
    if (!text.isEmpty()) {
        bool ok = false;
        limit = text.toDouble(&ok);
        if (!ok)
            return false;
    }
    (index.column() == LowColumn ? limits_[device].Low : limits_[device].High) = limit;
    emit dataChanged(index, index);
    emit LimitsChanged(device);
    return true;
}

std::vector<std::size_t> TLogDeviceModel::Chosen() const
{
    std::vector<std::size_t> chosen;
    for (std::size_t device = 0; device < chosen_.size(); ++device) {
        if (chosen_[device])
            chosen.push_back(device);
    }
    return chosen;
}

void TLogDeviceModel::Choose(std::size_t device, bool chosen)
{
    if (device >= chosen_.size() || chosen_[device] == chosen)
        return;
    chosen_[device] = chosen;
    const QModelIndex cell = index(int(device), DeviceColumn);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
    emit ChosenChanged();
}

void TLogDeviceModel::SetSummaries(std::vector<TLogSummary> summaries)
{
    summaries.resize(table_.Columns.size());
    summaries_ = std::move(summaries);
    if (rowCount() > 0)
        emit dataChanged(index(0, MinimumColumn), index(rowCount() - 1, MaximumColumn));
}

} // namespace Quorvel1
