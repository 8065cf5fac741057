#include "base/gui/NewspaperModel.h"

namespace Quorvel1 {

TNewspaperModel::TNewspaperModel(QObject* parent) : QAbstractProxyModel(parent)
{
}

void TNewspaperModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    for (const QMetaObject::Connection& connection : connections_)
        disconnect(connection);
    connections_.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // Every change of shape resets the grid: records move between cells.
        const auto begin = [this] { beginResetModel(); };
        const auto end = [this] {
            flow_ = HdrLayout::FlowRecords(Records(), visibleRows_, fittingRecordColumns_);
            endResetModel();
        };
        connections_ = {
            connect(source, &QAbstractItemModel::modelAboutToBeReset, this, begin),
            connect(source, &QAbstractItemModel::modelReset, this, end),
            connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, begin),
            connect(source, &QAbstractItemModel::rowsInserted, this, end),
            connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin),
            connect(source, &QAbstractItemModel::rowsRemoved, this, end),
            connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, begin),
            connect(source, &QAbstractItemModel::columnsInserted, this, end),
            connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, begin),
            connect(source, &QAbstractItemModel::columnsRemoved, this, end),
            connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, begin),
            connect(source, &QAbstractItemModel::layoutChanged, this, end),
            connect(source, &QAbstractItemModel::dataChanged, this, &TNewspaperModel::SourceDataChanged),
            connect(source, &QAbstractItemModel::headerDataChanged, this, &TNewspaperModel::SourceHeaderChanged),
        };
    }
    flow_ = HdrLayout::FlowRecords(Records(), visibleRows_, fittingRecordColumns_);
    endResetModel();
}

void TNewspaperModel::SetShape(int visibleRows, int fittingRecordColumns)
{
    visibleRows_ = std::max(1, visibleRows);
    fittingRecordColumns_ = std::max(1, fittingRecordColumns);
    Reshape();
}

void TNewspaperModel::Reshape()
{
    const HdrLayout::TFlow flow = HdrLayout::FlowRecords(Records(), visibleRows_, fittingRecordColumns_);
    if (flow.RowsPerColumn == flow_.RowsPerColumn && flow.Rows == flow_.Rows
        && flow.RecordColumns == flow_.RecordColumns)
        return;
    beginResetModel();
    flow_ = flow;
    endResetModel();
}

int TNewspaperModel::Records() const
{
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

int TNewspaperModel::FieldCount() const
{
    return sourceModel() ? std::max(1, sourceModel()->columnCount()) : 1;
}

int TNewspaperModel::RecordOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    return HdrLayout::RecordAt({index.row(), index.column() / FieldCount()}, flow_, Records());
}

QModelIndex TNewspaperModel::CellOf(int record, int field) const
{
    if (record < 0 || record >= Records() || field < 0 || field >= FieldCount())
        return QModelIndex();
    const HdrLayout::TPlace place = HdrLayout::PlaceOfRecord(record, flow_);
    return index(place.Row, place.RecordColumn * FieldCount() + field);
}

QModelIndex TNewspaperModel::mapToSource(const QModelIndex& proxyIndex) const
{
    const int record = RecordOf(proxyIndex);
    if (record < 0)
        return QModelIndex();
    return sourceModel()->index(record, proxyIndex.column() % FieldCount());
}

QModelIndex TNewspaperModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel())
        return QModelIndex();
    return CellOf(sourceIndex.row(), sourceIndex.column());
}

QModelIndex TNewspaperModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex TNewspaperModel::parent(const QModelIndex& /*child*/) const
{
    return QModelIndex();
}

int TNewspaperModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : flow_.Rows;
}

int TNewspaperModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : flow_.RecordColumns * FieldCount();
}

bool TNewspaperModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

QVariant TNewspaperModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !sourceModel() || section < 0)
        return QVariant();
    return sourceModel()->headerData(section % FieldCount(), orientation, role);
}

Qt::ItemFlags TNewspaperModel::flags(const QModelIndex& index) const
{
    const QModelIndex source = mapToSource(index);
    return source.isValid() ? sourceModel()->flags(source) : Qt::NoItemFlags;
}

void TNewspaperModel::SourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                        const QList<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    // One source row is one stretch of a grid row.
    for (int record = topLeft.row(); record <= bottomRight.row(); ++record) {
        const QModelIndex first = CellOf(record, topLeft.column());
        const QModelIndex last = CellOf(record, bottomRight.column());
        if (first.isValid() && last.isValid())
            emit dataChanged(first, last, roles);
    }
}

void TNewspaperModel::SourceHeaderChanged(Qt::Orientation orientation)
{
    if (orientation == Qt::Horizontal && columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

TRecordSelectionModel::TRecordSelectionModel(TNewspaperModel* model, QObject* parent)
    : QItemSelectionModel(model, parent), grid_(model)
{
}

void TRecordSelectionModel::select(const QItemSelection& selection,
                                   QItemSelectionModel::SelectionFlags command)
{
    QItemSelection records;
    const int fields = grid_->FieldCount();
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column) {
                const int record = grid_->RecordOf(grid_->index(row, column));
                if (record < 0)
                    continue;
                const QModelIndex first = grid_->CellOf(record, 0);
                const QModelIndex last = grid_->CellOf(record, fields - 1);
                if (!records.contains(first))
                    records.select(first, last);
            }
        }
    }
    QItemSelectionModel::select(records, command);
}

} // namespace Quorvel1
