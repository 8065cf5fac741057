// The log viewer: the table's rows, headings and cells, sorting by a
// device's values, copying the selection, and the per-device summary.
#include "logger/gui/DlgLogView.h"

#include "logger/HandLog.h"
#include "site/Site.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

TLogTable ViewerTable()
{
    LogTest::THandLog hand;
    hand.Keys = {{LogTest::AsmTypeByte, 0x0021}, {LogTest::AsmTypeByte, 0x0242}};
    hand.Values = {{30, 5}, {10, 0x7FFF}, {20, uint16_t(-4)}};
    const std::vector<uint8_t> bytes = LogTest::LogBytes(hand);
    return ReadLogBytes(bytes, QStringLiteral("4660A03.LOG"));
}

QStringList Column(const QTableView& view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

} // namespace

TEST(LogViewerTest, TableShowsTimesAndValuesAndSortsByValue)
{
    TDlgLogView dialog(ViewerTable());
    QTableView& view = dialog.View();
    ASSERT_EQ(view.model()->columnCount(), 4);
    EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), "Local time");
    EXPECT_EQ(view.model()->headerData(2, Qt::Horizontal).toString(), "ASM1/1/0");
    EXPECT_EQ(Column(view, 1), (QStringList{"2026-05-28T20:00:00Z", "2026-05-28T20:15:00Z", "2026-05-28T20:30:00Z"}));
    EXPECT_EQ(Column(view, 3), (QStringList{"5", "-----", "-4"}));

    view.sortByColumn(2, Qt::AscendingOrder);
    EXPECT_EQ(Column(view, 2), (QStringList{"10", "20", "30"}));
    view.sortByColumn(3, Qt::DescendingOrder);
    EXPECT_EQ(Column(view, 3), (QStringList{"5", "-4", "-----"})); // not set sorts below every value
}

TEST(LogViewerTest, CopyGivesTheSelectionAsTabSeparatedLines)
{
    TDlgLogView dialog(ViewerTable());
    QTableView& view = dialog.View();
    QItemSelectionModel& selection = *view.selectionModel();
    for (int row : {0, 2}) {
        for (int column : {2, 3})
            selection.select(view.model()->index(row, column), QItemSelectionModel::Select);
    }
    EXPECT_EQ(dialog.SelectionText(), "30\t5\n20\t-4");
}

TEST(LogViewerTest, SummaryGivesEachDevicesMinimumMeanAndMaximum)
{
    TDlgLogView dialog(ViewerTable());
    const auto* summary = dialog.findChild<QLabel*>("labelSummary");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->text(), "ASM1/1/0: minimum 10, mean 20.0, maximum 30\n"
                               "ASM2/2/1: minimum -4, mean 0.5, maximum 5");
    EXPECT_EQ(dialog.findChild<QLabel*>("labelError"), nullptr);
}
