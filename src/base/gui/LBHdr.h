#pragma once
// The list box with column headers that shows the main window's tables (the
// units, the log devices, a unit's airspaces): records of text columns under
// a header line, laid out newspaper style in as many side-by-side record
// columns as the width allows, with the header repeated over each. Column
// widths grow by themselves to fit the widest text; cells may carry a
// tooltip; derived lists give rows their own text colour (through their
// model's RowColour) and decide what a click or a double-click does.
//
// It is a table view over a TLBHdrModel, through a newspaper grid: keyboard,
// selection (a whole record at a time) and screen readers come with the
// view. The header is the view's own header and a cell's tooltip is its
// model's ToolTipRole.
#include "base/gui/LBHdrModel.h"

#include <QTableView>

class QMenu;
class QPainter;

namespace Quorvel1 {

class TNewspaperModel;

class TLBHdr : public QTableView {
    Q_OBJECT
public:
    // A list over a model of its own with `columnCount` columns.
    TLBHdr(int columnCount, QWidget* parent = nullptr);
    // A list over `model` (a derived list's own records); takes ownership.
    TLBHdr(TLBHdrModel* model, QWidget* parent = nullptr);
    ~TLBHdr() override;

    TLBHdrModel& Model() const { return *model_; }
    // The grid the view shows, for tests and accessibility.
    TNewspaperModel& Grid() const { return *grid_; }

    void SetTitle(int column, const QString& title) { model_->SetTitle(column, title); }
    void SetAlignment(int column, THdrAlignment alignment) { model_->SetAlignment(column, alignment); }
    void SetVisible(int column, bool visible) { model_->SetVisible(column, visible); }
    void SetCell(int row, int column, const QString& text) { model_->SetCell(row, column, text); }
    void SetCellHint(int row, int column, const QString& hint) { model_->SetCellHint(row, column, hint); }
    void InvalidateRow(int row) { model_->InvalidateRow(row); }
    // Lays the record columns out again for the current width and height.
    void Layout();
    // The pop-up menu of the list; null for none. Not owned.
    void SetPopup(QMenu* menu);
    virtual void Clear();

    // The record of the current cell; -1 when there is none.
    int SelectedRow() const;
    void SelectRow(int row);
    // The layout last made: the record columns and each column's left.
    const HdrLayout::TRecordLayout& RecordLayout() const { return layout_; }

    // Paints one cell's text, with `option.rect` the column's own rectangle
    // inside the cell (its left and width) and the pen set to the row's text
    // colour. A hidden column paints nothing.
    virtual void DrawCell(QPainter& painter, const QStyleOptionViewItem& option, int row,
                          int column) const;

protected:
    // A click, a double-click (or Enter) on a record; rows outside the table
    // never come here.
    virtual void ItemClick(int row);
    virtual void ItemDblClick(int row);

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TLBHdrDelegate;

    void Build();
    void MeasureWithFont();
    void ApplyHeaderColour();
    void ApplySections();
    int VisibleRows() const;
    void RememberRecord();
    void RestoreRecord();

    TLBHdrModel* model_;
    TNewspaperModel* grid_;
    HdrLayout::TRecordLayout layout_;
    std::vector<HdrLayout::TColumn> columns_; // as last laid out
    QMenu* popup_ = nullptr;
    int keptRecord_ = -1; // the selected record across a reshaping of the grid
    int keptField_ = 0;
};

} // namespace Quorvel1
