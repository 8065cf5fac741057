// The logging options dialog over a site: the form from the site's interval
// and flags, the interval's 60 s steps and limits, OK writing exactly the
// checked flags and marking the site changed, Cancel changing nothing.
#include "logger/gui/DlgLogOpts.h"
#include "site/SiteExt.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSpinBox>

using namespace Quorvel1;

namespace {

class LogOptionsDialogTest : public ::testing::Test {
protected:
    QSpinBox& Interval() { return *dialog.findChild<QSpinBox*>("seInterval"); }
    QCheckBox& Check(const char* name) { return *dialog.findChild<QCheckBox*>(name); }

    TSiteExt site;
    TDlgLogOpts dialog{site};
};

} // namespace

TEST_F(LogOptionsDialogTest, IntervalStepsInMinutesWithinItsLimits)
{
    site.LogInterval = 900;
    dialog.Load();
    Interval().stepBy(1);
    EXPECT_EQ(Interval().value(), 960);
    Interval().stepBy(-2);
    EXPECT_EQ(Interval().value(), 840);
    Interval().setValue(20000);
    EXPECT_EQ(Interval().value(), 14400);
    Interval().setValue(-1);
    EXPECT_EQ(Interval().value(), 0);
}

TEST_F(LogOptionsDialogTest, FlagsGoIntoLogFlags)
{
    struct {
        const char* Box;
        std::uint16_t Bit;
    } const boxes[] = {{"cbStop", 1}, {"cbAvgSensors", 2}, {"cbAvgOutputs", 4}, {"cbAvgASMs", 8}};
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.Box);
        site.LogFlags = 0xFFFF; // bits the dialog does not show are dropped too
        site.SetModified(false);
        dialog.Load();
        for (const auto& other : boxes) {
            EXPECT_TRUE(Check(other.Box).isChecked());
            Check(other.Box).setChecked(other.Box == box.Box);
        }
        dialog.accept();
        EXPECT_EQ(site.LogFlags, box.Bit);
        EXPECT_TRUE(site.IsModified());
        dialog.Load();
        for (const auto& other : boxes)
            EXPECT_EQ(Check(other.Box).isChecked(), other.Box == box.Box) << other.Box;
    }
}

TEST_F(LogOptionsDialogTest, OkStoresTheIntervalAndCancelNothing)
{
    site.LogInterval = 900;
    site.LogFlags = LogAverageSensors;
    dialog.Load();
    Interval().setValue(600);
    Check("cbStop").setChecked(true);
    dialog.reject();
    EXPECT_EQ(site.LogInterval, 900);
    EXPECT_EQ(site.LogFlags, LogAverageSensors);
    EXPECT_FALSE(site.IsModified());
    dialog.Load();
    Interval().setValue(600);
    dialog.accept();
    EXPECT_EQ(site.LogInterval, 600);
    EXPECT_EQ(site.LogFlags, LogAverageSensors);
    EXPECT_TRUE(site.IsModified());
}
