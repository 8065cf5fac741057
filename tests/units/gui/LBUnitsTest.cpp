// The units list over a site: its columns, a unit's line, the alarm status in
// red with every alarm in the tooltip and gone with the alarms, a rescan that
// leaves nothing of the units before it, and a double-click that shows a unit.
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/gui/LBUnits.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

// The list's double-click, callable as a click on any row would call it.
class TOpenList : public TLBUnits {
public:
    using TLBUnits::ItemDblClick;
};

class LBUnitsTest : public ::testing::Test {
protected:
    LBUnitsTest()
    {
        list.SetSite([this] { return &site; });
        list.SetShowUnit([this](int number) { shown.push_back(number); });
    }

    void AddUnit(int number, const char* name, std::uint16_t appId = 0x0C05)
    {
        site.AddUnit(std::make_unique<TUnit>(std::uint8_t(number), 1, 1, 0, 0, QByteArray(name), appId));
    }

    TLBUnitsModel& Units() { return list.Units(); }
    QString Text(int row, int column) { return Units().Cell(row, column); }
    QVariant Tooltip(int row) { return Units().data(Units().index(row, 3), Qt::ToolTipRole); }
    QVariant Colour(int row) { return Units().data(Units().index(row, 1), Qt::ForegroundRole); }

    TSiteExt site;
    TOpenList list;
    std::vector<int> shown;
};

} // namespace

TEST_F(LBUnitsTest, ColumnsAreTitledAsTheirContents)
{
    AddUnit(3, "FREEZER3", 0x0102);
    list.RefreshAll();
    QStringList titles;
    for (int c = 0; c < 4; ++c)
        titles << Units().headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"Unit", "Application", "Program", "Status"}));
    EXPECT_EQ(Units().headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter,
              Qt::AlignHCenter);
    EXPECT_EQ(Text(0, 0), "3");
    EXPECT_EQ(Text(0, 1), "001-002 ");
    EXPECT_EQ(Text(0, 2), "FREEZER3");
    EXPECT_EQ(Text(0, 3), " ");
}

TEST_F(LBUnitsTest, UnitsAreListedByNumberWithTheirRows)
{
    AddUnit(12, "B");
    AddUnit(5, "A");
    list.RefreshAll();
    list.UpdateUnit(7); // not in the site
    EXPECT_EQ(Units().rowCount(), 2);
    EXPECT_EQ(Units().RowOfUnit(5), 0);
    EXPECT_EQ(Units().RowOfUnit(12), 1);
    EXPECT_EQ(Units().UnitOfRow(1), 12);
    EXPECT_EQ(Units().RowOfUnit(7), -1);
}

TEST_F(LBUnitsTest, AlarmsShowInRedWithEveryNameInTheTooltip)
{
    AddUnit(7, "U7");
    list.RefreshAll();
    struct {
        std::uint16_t Word;
        QString Status;
        QVariant Tooltip;
        bool Red;
    } const cases[] = {
        {0x0001, "SENSOR FAILURE", "SENSOR FAILURE", true},
        {0x000B, "SENSOR FAILURE+", "SENSOR FAILURE\nSENSOR VARIANCE\nHIGH TEMPERATURE", true},
        {0x4000, "NETWORK FAILURE", "NETWORK FAILURE", true},
        {0x0000, "", QVariant(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Word);
        site.SetAlarmWord(7, c.Word);
        list.UpdateStatus(7);
        EXPECT_EQ(Text(0, 3), c.Status);
        EXPECT_EQ(Tooltip(0), c.Tooltip);
        EXPECT_EQ(Units().AlarmCount(0) > 0, c.Red);
        EXPECT_EQ(Colour(0).isValid() ? Colour(0).value<QColor>() : QColor(), c.Red ? QColor(255, 0, 0) : QColor());
    }
}

TEST_F(LBUnitsTest, ARescanLeavesNothingOfTheUnitsBefore)
{
    AddUnit(2, "OLD");
    list.RefreshAll();
    site.SetAlarmWord(2, 0x0009);
    list.UpdateStatus(2);
    ASSERT_TRUE(Tooltip(0).isValid());

    site.ClearUnits();
    list.Clear();
    AddUnit(9, "NEW");
    list.UpdateUnit(9);
    EXPECT_EQ(Text(0, 2), "NEW");
    EXPECT_FALSE(Tooltip(0).isValid());
    EXPECT_FALSE(Colour(0).isValid());
    list.UpdateStatus(2); // no longer listed
    EXPECT_EQ(Units().rowCount(), 1);
}

TEST_F(LBUnitsTest, AUnitShownAgainLosesItsOldAlarmsUntilTheNextStatus)
{
    AddUnit(4, "U4");
    list.RefreshAll();
    site.SetAlarmWord(4, 0x0009);
    list.UpdateStatus(4);
    list.UpdateUnit(4);
    EXPECT_EQ(Text(0, 3), " ");
    EXPECT_FALSE(Tooltip(0).isValid());
    EXPECT_FALSE(Colour(0).isValid());
}

TEST_F(LBUnitsTest, ADoubleClickShowsTheUnitOfARowAndIgnoresOthers)
{
    AddUnit(5, "A");
    AddUnit(8, "B");
    list.RefreshAll();
    list.ItemDblClick(-1); // nothing selected
    list.ItemDblClick(2);  // below the last row
    list.ItemDblClick(40);
    list.ItemDblClick(1);
    EXPECT_EQ(shown, std::vector<int>({8}));
}
