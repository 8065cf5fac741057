// An automatic run never waits without bound: with the "ModemTimeout"
// setting at 0 (no limit for a user, who has Cancel) a dial that the modem
// never answers is still given up, and the launch file says the run failed.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/ConnectSequence.h"
#include "app/QuorvelW.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"

#include <QTimer>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using QuorvelTest::SimProcess;

namespace {

// The modem answers its initialisation and then never the dial.
const QString SilentAfterInit = "modem guard 100\nmodem delay 3600000\n";
constexpr int GuardMs = 30000;

class UnattendedBoundsTest : public AppTest::ModemSiteFixture {};

} // namespace

TEST_F(UnattendedBoundsTest, DialNeverAnsweredEndsWithinTheBoundAndTheLaunchFileSaysFailed)
{
    StartModemSim(SilentAfterInit);
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store"));
    // The built-in bound, made short for the test.
    controller.UnattendedConnectLimit = 1;
    bool guardFired = false;
    QTimer guard; // goes with the test
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guardFired = true;
        modem->Abort();
    });
    guard.start(GuardMs);

    EXPECT_TRUE(controller.RunLaunch("-ARG", site));

    EXPECT_FALSE(guardFired) << "the dial waited until the test's own guard";
    EXPECT_EQ(ReadFile(LaunchPath()), "1\n" + site.toUtf8() + "\n\n");
    EXPECT_TRUE(ReadFile(ErrorLogPath()).contains(QByteArray(TTapiModem::ConnectCallText) + ": Quorvel Error\n"))
        << ReadFile(ErrorLogPath()).toStdString();
    EXPECT_FALSE(controller.ModemCall);
    EXPECT_FALSE(modem->CallConnected);
}

TEST_F(UnattendedBoundsTest, ModemTimeoutOfZeroMeansTheBuiltInBoundOnlyInAnAutomaticRun)
{
    struct TCase {
        int32_t setting;
        int32_t unattendedLimit; // 0: the window's case
        int32_t limit;
    };
    const TCase cases[] = {
        {0, 0, 0},
        {0, TConnectSequence::UnattendedConnectLimitS, TConnectSequence::UnattendedConnectLimitS},
        {-5, TConnectSequence::UnattendedConnectLimitS, TConnectSequence::UnattendedConnectLimitS},
        {60, TConnectSequence::UnattendedConnectLimitS, 60},
        {60, 0, 60},
    };
    for (const TCase& c : cases) {
        controller.Properties().ModemTimeout = c.setting;
        TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                                  controller.Properties(), nullptr, {});
        sequence.UnattendedLimit = c.unattendedLimit;
        EXPECT_EQ(sequence.ModemTimeout(), c.limit) << c.setting << " " << c.unattendedLimit;
    }
}
