// The header list box: its records, widths that follow the texts, cell
// tooltips and row colours (the model, without painting), and the view:
// records side by side under repeated titles, a record selected as a whole,
// clicks and Enter on records only, and cells read by a screen reader.
#include "base/gui/LBHdr.h"
#include "base/gui/NewspaperModel.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>

using namespace Quorvel1;

namespace {

// Ten pixels a character, so widths are known without a font.
int TenPerCharacter(const QString& text)
{
    return int(text.size()) * 10;
}

class TRedOddRows : public TLBHdrModel {
public:
    using TLBHdrModel::TLBHdrModel;
    TColor RowColour(int row, bool& useDefault) const override
    {
        useDefault = row % 2 == 0;
        return clRed;
    }
};

class TRecordingList : public TLBHdr {
public:
    using TLBHdr::TLBHdr;
    std::vector<int> Clicks;
    std::vector<int> DoubleClicks;

protected:
    void ItemClick(int row) override { Clicks.push_back(row); }
    void ItemDblClick(int row) override { DoubleClicks.push_back(row); }
};

// Three columns of 40, 60 and 90 pixels in a control 500 wide: two records
// side by side, 250 pixels each.
class LBHdrView : public ::testing::Test {
protected:
    LBHdrView() : list(3)
    {
        list.setFrameShape(QFrame::NoFrame);
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int widths[] = {40, 60, 90};
        for (int c = 0; c < 3; ++c) {
            list.SetTitle(c, QString(QChar('A' + c)));
            list.Model().SetWidthLimits(c, widths[c], widths[c]);
        }
        list.resize(500, list.horizontalHeader()->sizeHint().height() + 5 * RowHeight());
        list.show();
    }

    int RowHeight() const { return list.verticalHeader()->defaultSectionSize(); }

    void AddRecords(int count)
    {
        for (int r = 0; r < count; ++r)
            list.SetCell(r, 0, QString::number(r));
    }

    TRecordingList list;
};

} // namespace

TEST(LBHdrModel, RowsComeFromTheFirstColumnAndMissingEntriesAreBlank)
{
    TLBHdrModel model(3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Col2");
    model.SetCell(0, 2, "a");
    model.SetCell(1, 2, "b");
    EXPECT_EQ(model.rowCount(), 0); // only column 0 makes rows
    model.SetCell(5, 2, "f");
    EXPECT_EQ(model.Column(2).Texts, QStringList({"a", "b", " ", " ", " ", "f"}));
    model.SetCell(2, 0, "unit");
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.Column(0).Texts, QStringList({" ", " ", "unit"}));
    EXPECT_EQ(model.data(model.index(2, 1)).toString(), ""); // column 1 has no entries
}

TEST(LBHdrModel, WidthsFollowTheWidestTextUntilCleared)
{
    TLBHdrModel model(2);
    model.SetTextWidth(TenPerCharacter);
    model.SetWidthLimits(1, 40, 0);
    int relaid = 0;
    QObject::connect(&model, &TLBHdrModel::ColumnsChanged, [&] { ++relaid; });
    model.SetCell(0, 0, "x");
    model.SetCell(0, 1, "0123456789"); // 100 pixels
    EXPECT_EQ(model.Column(1).Width, 130);
    EXPECT_EQ(relaid, 1);
    model.SetCell(1, 0, "y");
    model.SetCell(1, 1, "0123"); // narrower: the width stays
    EXPECT_EQ(model.Column(1).Width, 130);
    EXPECT_EQ(relaid, 1);

    model.SetWidthLimits(1, 40, 80);
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.Column(1).Width, 52); // the minimum, then the title "Col2"
    model.SetCell(0, 1, "0123456789");
    EXPECT_EQ(model.Column(1).Width, 80);

    model.SetVisible(1, false);
    relaid = 0;
    model.SetCell(0, 1, "01234567890123456789");
    EXPECT_EQ(relaid, 0); // a hidden column's growth moves nothing
}

TEST(LBHdrModel, OnlyAChangedCellIsRepainted)
{
    TLBHdrModel model(3);
    model.SetCell(0, 0, "1");
    model.SetCell(0, 2, "OK");
    std::vector<std::pair<QModelIndex, QModelIndex>> changed;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) { changed.emplace_back(from, to); });
    model.SetCell(0, 2, "OK");
    EXPECT_TRUE(changed.empty());
    model.SetCell(0, 2, "ALARM");
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].first, model.index(0, 2));
    EXPECT_EQ(changed[0].second, model.index(0, 2));
}

TEST(LBHdrModel, CellHintsAreTooltipsUntilEmptiedOrCleared)
{
    TLBHdrModel model(2);
    model.SetCell(0, 0, "1");
    model.SetCell(0, 1, "A+");
    model.SetCellHint(0, 1, "A\nB");
    model.SetCellHint(3, 1, "no such cell");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::ToolTipRole).toString(), "A\nB");
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.CellHint(3, 1), "");
    model.SetCellHint(0, 1, "");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ToolTipRole).isValid());

    model.SetCellHint(0, 1, "A\nB");
    model.Clear();
    model.SetCell(0, 0, "2");
    model.SetCell(0, 1, "");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ToolTipRole).isValid());
}

TEST(LBHdrModel, RowsOfTheirOwnColourHaveItAsTheirTextColour)
{
    TRedOddRows model(2);
    model.SetCell(1, 0, "x");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.data(model.index(1, 1), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
}

TEST_F(LBHdrView, RecordsStandSideBySideUnderRepeatedTitles)
{
    AddRecords(7); // five rows a record column: two record columns used
    EXPECT_EQ(list.RecordLayout().Lefts, std::vector<int>({2, 52, 122}));
    EXPECT_EQ(list.RecordLayout().RecordColumns, 2);
    const QHeaderView& header = *list.horizontalHeader();
    ASSERT_EQ(list.Grid().columnCount(), 6);
    EXPECT_EQ(list.Grid().rowCount(), 5);
    EXPECT_EQ(header.sectionPosition(3), 250);
    EXPECT_EQ(header.sectionPosition(4), 250 + 52);
    EXPECT_EQ(list.Grid().headerData(4, Qt::Horizontal).toString(), "B");
    EXPECT_EQ(list.Grid().CellOf(6, 0), list.Grid().index(1, 3));
    EXPECT_EQ(list.Grid().RecordOf(list.Grid().index(2, 4)), -1); // after the last record

    list.SetVisible(1, false);
    EXPECT_TRUE(header.isSectionHidden(1));
    EXPECT_TRUE(header.isSectionHidden(4));
    EXPECT_EQ(list.RecordLayout().RecordColumns, 3); // records are narrower now
    EXPECT_EQ(header.sectionPosition(5), 166 + 52);   // where the hidden column was
}

TEST_F(LBHdrView, MoreRecordsThanFitFlowIntoFurtherRecordColumns)
{
    AddRecords(12);
    EXPECT_EQ(list.Grid().columnCount(), 9);
    EXPECT_EQ(list.Grid().CellOf(11, 2), list.Grid().index(1, 8));
    list.resize(240, list.height()); // narrower than a record
    EXPECT_EQ(list.RecordLayout().RecordColumns, 1);
    EXPECT_EQ(list.Grid().columnCount(), 9); // still three record columns, scrolled to
}

TEST_F(LBHdrView, ARecordIsSelectedWholeAndKeptWhenRowsAreAdded)
{
    AddRecords(7);
    list.setCurrentIndex(list.Grid().CellOf(6, 2));
    EXPECT_EQ(list.SelectedRow(), 6);
    EXPECT_EQ(list.selectionModel()->selectedIndexes().size(), 3);
    list.SetCell(7, 0, "7");
    EXPECT_EQ(list.SelectedRow(), 6);
    list.Clear();
    EXPECT_EQ(list.SelectedRow(), -1);
}

TEST_F(LBHdrView, ClicksAndEnterReachOnlyRecords)
{
    AddRecords(3);
    emit list.clicked(list.Grid().CellOf(1, 1));
    emit list.doubleClicked(list.Grid().CellOf(2, 0));
    emit list.doubleClicked(list.Grid().index(0, 3)); // a cell without a record
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &enter); // nothing selected
    list.SelectRow(1);
    QCoreApplication::sendEvent(&list, &enter);
    EXPECT_EQ(list.Clicks, std::vector<int>({1}));
    EXPECT_EQ(list.DoubleClicks, std::vector<int>({2, 1}));
}

TEST_F(LBHdrView, AScreenReaderReadsEachCell)
{
    AddRecords(2);
    list.SetCell(1, 2, "HIGH TEMPERATURE");
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(view, nullptr);
    QAccessibleTableInterface* table = view->tableInterface();
    ASSERT_NE(table, nullptr);
    QAccessibleInterface* cell = table->cellAt(1, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "HIGH TEMPERATURE");
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), "0");
}
