// The main window's commands follow the connection against the simulator:
// the whole table of enabled and shown commands and status panel 1 offline,
// connected locally and connected through the modem, applied as the state
// changes (the tests never ask the window to apply its rules), and the
// logger's commands only with a logger.
#include "support/SimProcess.h"
#include "WindowFixture.h"

#include "app/QuorvelW.h"
#include "base/ProgramFolder.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <chrono>
#include <vector>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::EmptySiteFile;
using AppTest::TTestWindow;
using QuorvelTest::SimProcess;

namespace {

enum TLinkState { Offline, Local, Remote };

// Enabled in each state, with the site's telephone number in its field and
// the simulator's logger present once connected. (A hidden action reads as
// disabled: Save under AutoSave and New site are checked as hidden.)
struct TIdleRow {
    const char* name;
    bool enabled[3];
};

const std::vector<TIdleRow> IdleTable = {
    {"actNew", {true, false, false}},
    {"actOpen", {true, false, false}},
    {"tbOpen", {true, false, false}},
    {"actSaveAs", {true, false, false}},
    {"actConnectRemote", {true, false, false}},
    {"tbDial", {true, false, false}},
    {"actConnectLocal", {true, false, false}},
    {"actDisconnect", {false, true, true}},
    {"tbHangUp", {false, true, true}},
    {"actProperties", {true, false, false}},
    {"actScanUnits", {false, true, true}},
    {"actClearAlarms", {false, true, true}},
    {"actDebug", {false, true, true}},
    {"actUnit0Settings", {true, true, true}},
    {"actDownload", {false, true, true}},
    {"tbDownload", {false, true, true}},
    {"actReconfigure", {false, true, true}},
    {"actSetTime", {false, true, true}},
    {"actLogOptions", {true, true, true}},
    {"actRunTiming", {false, true, true}},
};

const char* const LinkTexts[3] = {"OFFLINE", "LOCAL", "REMOTE"};

class MainWindowIdleTest : public AppTest::WindowFixture {
protected:
    MainWindowIdleTest()
    {
        WriteFile(Path("north.ste"), EmptySiteFile("North store"));
        QFile::remove(ModemConfigFile());
    }
    // The program folder outlives a test: its configuration file must not
    // serve another test.
    ~MainWindowIdleTest() override { QFile::remove(ModemConfigFile()); }

    static QString ModemConfigFile() { return ProgramFolder() + "ModemCfg0.dat"; }

    void ExpectState(const TFQw& window, TLinkState state)
    {
        for (const TIdleRow& row : IdleTable)
            EXPECT_EQ(Find<QAction>(window, row.name)->isEnabled(), row.enabled[state])
                << row.name << " " << LinkTexts[state];
        EXPECT_EQ(Find<QLabel>(window, "LinkStatus")->text(), LinkTexts[state]);
        // AutoSave is on: Save is never shown; New site never is.
        for (const char* hidden : {"actSave", "tbSave", "tbNewSite"})
            EXPECT_FALSE(Find<QAction>(window, hidden)->isVisible()) << hidden;
        EXPECT_FALSE(Find<QMenu>(window, "menuTools")->menuAction()->isVisible());
    }
};

} // namespace

TEST_F(MainWindowIdleTest, OfflineThenLocalThenOfflineAgain)
{
    SimProcess sim;
    TTestWindow window({Path("north.ste")});
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().LocalPort = sim.PortPath();
    ExpectState(window, Offline);

    Find<QAction>(window, "actConnectLocal")->trigger();
    ASSERT_TRUE(controller.Online);
    ExpectState(window, Local);

    // A disconnect the window did not start is shown as well.
    controller.Disconnect();
    ExpectState(window, Offline);
}

TEST_F(MainWindowIdleTest, RemoteDisablesTheSiteCommands)
{
    SimProcess sim({"--modem"}, SimProcess::QuickModem);
    TTestWindow window({Path("north.ste")});
    Start(window);
    TQuorvelW& controller = *window.AppController();
    TTapiModem* modem = controller.Modem();
    ASSERT_NE(modem, nullptr);
    modem->Initialise({sim.PortPath()});
    modem->SetTimings({2000ms, 150ms});
    modem->WriteConfigFile(ModemConfigFile());
    ASSERT_FALSE(Find<QLineEdit>(window, "edTelephone")->text().isEmpty());

    Find<QAction>(window, "tbDial")->trigger();
    ASSERT_TRUE(controller.Online);
    ASSERT_TRUE(controller.ModemCall);
    ExpectState(window, Remote);

    Find<QAction>(window, "tbHangUp")->trigger();
    ExpectState(window, Offline);
}

TEST_F(MainWindowIdleTest, LoggerCommandsNeedALogger)
{
    SimProcess sim({}, "logger none\n");
    TTestWindow window({Path("north.ste")});
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().LocalPort = sim.PortPath();

    Find<QAction>(window, "actConnectLocal")->trigger();
    ASSERT_TRUE(controller.Online);
    EXPECT_FALSE(controller.LoggerPresent);
    for (const char* name : {"actDownload", "tbDownload", "actReconfigure", "actSetTime"})
        EXPECT_FALSE(Find<QAction>(window, name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QAction>(window, "actScanUnits")->isEnabled());
    EXPECT_EQ(Find<QLabel>(window, "LinkStatus")->text(), "LOCAL");
    controller.Disconnect();
}

TEST_F(MainWindowIdleTest, SaveFollowsTheFieldsAsTheyAreTyped)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    window.AppController()->Properties().AutoSave = false;
    auto* telephone = Find<QLineEdit>(window, "edTelephone");
    telephone->clear();
    EXPECT_FALSE(Find<QAction>(window, "tbDial")->isEnabled());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QApplication::sendEvent(telephone, &press);
    EXPECT_EQ(telephone->text(), "5");
    EXPECT_TRUE(Find<QAction>(window, "tbDial")->isEnabled());
    EXPECT_TRUE(Find<QAction>(window, "actSave")->isVisible());
    EXPECT_TRUE(Find<QAction>(window, "actSave")->isEnabled());
}
