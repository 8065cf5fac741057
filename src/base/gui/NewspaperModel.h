#pragma once
// A table of records shown newspaper style: the records run down the first
// record column and on into the next, each record column repeating all the
// fields side by side, so a grid cell is one field of one record. The grid is
// what the header list box's table view shows; its header repeats the titles
// over every record column.
//
// A change of shape (rows added or removed, the control resized) resets the
// grid; a change of a record's data repaints only its cells.
#include "base/HdrLayout.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>

namespace Quorvel1 {

class TNewspaperModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit TNewspaperModel(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    // As many rows as `visibleRows`, and at least `fittingRecordColumns`
    // record columns.
    void SetShape(int visibleRows, int fittingRecordColumns);

    const HdrLayout::TFlow& Flow() const { return flow_; }
    int FieldCount() const;
    // The source row of a grid index; -1 for a cell without a record.
    int RecordOf(const QModelIndex& index) const;
    // The grid cell of one field of a record.
    QModelIndex CellOf(int record, int field) const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int Records() const;
    void Reshape();
    void SourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles);
    void SourceHeaderChanged(Qt::Orientation orientation);

    int visibleRows_ = 1;
    int fittingRecordColumns_ = 1;
    HdrLayout::TFlow flow_;
    QList<QMetaObject::Connection> connections_;
};

// Selecting any cell of a record selects all its cells: the record is what
// the user picks, however the grid lays it out.
class TRecordSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    explicit TRecordSelectionModel(TNewspaperModel* model, QObject* parent = nullptr);

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;

private:
    TNewspaperModel* grid_;
};

} // namespace Quorvel1
