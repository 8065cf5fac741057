#pragma once
// The records of a header list box: a fixed number of text columns, each with
// its title, alignment and width, and per cell a text and an optional
// tooltip. Rows exist as far as column 0 has texts; the other columns may
// hold fewer entries (their missing cells are empty). Column widths only grow
// with the texts set, until Clear returns them to their minimum.
//
// The model knows nothing of fonts: the list box gives it the function that
// measures a text, and lays its columns out again on ColumnsChanged. Derived
// lists give each row its own text colour with RowColour.
#include "base/HdrLayout.h"
#include "base/gui/Colours.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Quorvel1 {

class TLBHdrModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct TCol {
        QString Title;
        QStringList Texts; // one entry per row, as far as set
        QStringList Hints; // the cells' tooltips; empty for none
        THdrAlignment Alignment = THdrAlignment::Left;
        int MinWidth = 0; // pixels; the width after Clear
        int MaxWidth = 0; // 0: no limit
        int Width = 0;
        bool Visible = true;
    };
    using TTextWidth = std::function<int(const QString&)>;

    // Columns are titled Col1, Col2, ... until given a title.
    explicit TLBHdrModel(int columnCount, QObject* parent = nullptr);

    int ColumnCount() const { return int(columns_.size()); }
    int RowCount() const { return int(columns_[0].Texts.size()); }
    const TCol& Column(int column) const { return columns_[column]; }
    // The widths and visibility for the layout of a record.
    std::vector<HdrLayout::TColumn> LayoutColumns() const;

    // How wide a text is drawn. Every title is fitted again.
    void SetTextWidth(TTextWidth textWidth);

    void SetTitle(int column, const QString& title);
    void SetAlignment(int column, THdrAlignment alignment);
    void SetVisible(int column, bool visible);
    void SetWidthLimits(int column, int minWidth, int maxWidth);
    // A cell beyond the column's entries first gets the missing entries, each
    // a single space; a row beyond the rows in column 0 adds rows up to it.
    void SetCell(int row, int column, const QString& text);
    // An empty hint removes the cell's tooltip. Only for a cell the column
    // already has.
    void SetCellHint(int row, int column, const QString& hint);
    QString Cell(int row, int column) const;
    QString CellHint(int row, int column) const;
    // The row's colour or its cells' look changed.
    void InvalidateRow(int row);
    // Removes every row and every tooltip; each width returns to its minimum
    // and is fitted to its title.
    virtual void Clear();

    // The text colour of a row; useDefault set means the list's own text
    // colour. The base has no colours of its own.
    virtual TColor RowColour(int row, bool& useDefault) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A column's width or visibility changed: the record's layout with it.
    void ColumnsChanged();

private:
    bool FitWidth(int column, const QString& text);
    bool HasColumn(int column) const { return column >= 0 && column < ColumnCount(); }

    std::vector<TCol> columns_;
    TTextWidth textWidth_;
};

} // namespace Quorvel1
