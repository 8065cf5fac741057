// Where the main window opens: a saved area on the screens there are now
// (the saved monitor, the one it overlaps most, or the first; never larger
// than the screen, never partly off it), the first area of a window never
// placed, and the keys the placement is kept under.
#include "app/WindowPlacement.h"
#include "settings/Ini.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using Quorvel1::TScreenArea;
using Quorvel1::TWindowPlacement;

namespace {

const TScreenArea Left{"DP-1", QRect(0, 0, 1920, 1080)};
const TScreenArea Right{"HDMI-1", QRect(1920, 0, 1280, 1024)};

struct FitCase {
    const char* name;
    QRect saved;
    QString monitor;
    QList<TScreenArea> screens;
    QRect expected;
};

class WindowPlacementFit : public ::testing::TestWithParam<FitCase> {};

} // namespace

TEST_P(WindowPlacementFit, OpensWhollyOnAScreenThatIsThere)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(TWindowPlacement::FitToScreens(c.saved, c.monitor, c.screens), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowPlacementFit,
    ::testing::Values(
        FitCase{"StaysWhereItWas", QRect(100, 50, 800, 600), "DP-1", {Left, Right},
                QRect(100, 50, 800, 600)},
        FitCase{"StaysOnTheSecondMonitor", QRect(2000, 100, 800, 600), "HDMI-1", {Left, Right},
                QRect(2000, 100, 800, 600)},
        // The second monitor is gone: the window comes back on the first.
        FitCase{"MonitorGoneComesToTheFirstScreen", QRect(2000, 100, 800, 600), "HDMI-1", {Left},
                QRect(1120, 100, 800, 600)},
        FitCase{"PartlyOffTheScreenIsMovedIn", QRect(-300, 900, 800, 600), "DP-1", {Left, Right},
                QRect(0, 480, 800, 600)},
        FitCase{"LargerThanTheScreenIsShrunk", QRect(0, 0, 2500, 1400), "HDMI-1", {Right},
                QRect(1920, 0, 1280, 1024)},
        // No monitor name (an older setting): the screen it overlaps most.
        FitCase{"UnnamedGoesWhereMostOfItIs", QRect(1800, 10, 600, 400), "", {Left, Right},
                QRect(1920, 10, 600, 400)},
        FitCase{"OffEveryScreenGoesToTheFirst", QRect(5000, 5000, 400, 300), "DP-9", {Right, Left},
                QRect(2800, 724, 400, 300)}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return info.param.name; });

TEST(WindowPlacement, FirstStartShowsALargeWindowCentred)
{
    EXPECT_EQ(TWindowPlacement::InitialArea(QRect(0, 0, 1920, 1080), QSize(575, 407)),
              QRect(320, 135, 1280, 810));
    // A small screen: the design size as long as it fits, then the screen.
    EXPECT_EQ(TWindowPlacement::InitialArea(QRect(0, 0, 640, 480), QSize(575, 407)),
              QRect(32, 36, 575, 407));
    EXPECT_EQ(TWindowPlacement::InitialArea(QRect(10, 20, 500, 300), QSize(575, 407)),
              QRect(10, 20, 500, 300));
}

TEST(WindowPlacement, KeptUnderItsKeysAndReadBack)
{
    QuorvelTest::TempFolder folder;
    Quorvel1::TIni store;
    store.Open(folder.file("settings.ini"));
    EXPECT_TRUE(TWindowPlacement::Read(store, "TFQw").Normal.isNull());

    TWindowPlacement placement;
    placement.Normal = QRect(12, 34, 640, 480);
    placement.Maximised = true;
    placement.Monitor = "HDMI-1";
    placement.Write(store, "TFQw");

    EXPECT_EQ(store.ReadString("TFQw", "State", ""), "Maximized");
    EXPECT_EQ(store.ReadInteger("TFQw", "Left", 0), 12);
    EXPECT_EQ(store.ReadInteger("TFQw", "Height", 0), 480);
    const TWindowPlacement read = TWindowPlacement::Read(store, "TFQw");
    EXPECT_EQ(read.Normal, placement.Normal);
    EXPECT_TRUE(read.Maximised);
    EXPECT_EQ(read.Monitor, "HDMI-1");
}
