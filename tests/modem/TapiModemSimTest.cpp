// Dialling the simulator's Hayes modem through its pseudo-terminal, then
// running the link over the call's data port.
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "modem/TapiModem.h"
#include "support/SimLinkFixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace Quorvel1;
using namespace QuorvelTest;
using namespace std::chrono_literals;

namespace {


class TapiModemSimTest : public ::testing::Test, public SimLinkFixture {
protected:
    void Start(const QString& scenario = {})
    {
        StartSim({"--modem"}, SimProcess::QuickModem + scenario);
        modem.Initialise({sim->PortPath()});
        modem.SetTimings({2000ms, 150ms});
        modem.OnStatus = [this] { statuses << modem.GetStatus(); };
    }

    QString DialFailure(const QString& number)
    {
        try {
            modem.Dial(number);
        } catch (const Exception& error) {
            return error.Message();
        }
        return QString();
    }

    // The link over the call's data port.
    void ConnectLink() { SimLinkFixture::ConnectLink(modem.CommHandle()); }

    TTapiModem modem;
    QStringList statuses;
};

} // namespace

TEST_F(TapiModemSimTest, ConnectedCallCarriesTheLink)
{
    Start();

    modem.Dial("5551234");

    EXPECT_TRUE(modem.CallConnected);
    EXPECT_EQ(statuses, QStringList({"Dialing", "Proceeding", "Connected"}));
    ConnectLink();
    EXPECT_EQ(link.IdentityWord, 4660);
}

TEST_F(TapiModemSimTest, HangUpEndsTheCallAndLeavesTheModemReadyToDialAgain)
{
    Start();
    modem.Dial("1");
    ConnectLink();
    link.Disconnect();
    link.Close();

    modem.HangUp();

    EXPECT_FALSE(modem.CallConnected);
    EXPECT_EQ(modem.GetStatus(), "Idle");
    EXPECT_EQ(modem.CommHandle(), -1);
    // The modem answers the init command again only in command mode.
    modem.Dial("2");
    ConnectLink();
}

TEST_F(TapiModemSimTest, BusyLineFailsTheDialWithItsStatus)
{
    Start("modem answer BUSY\n");

    EXPECT_EQ(DialFailure("1"), "TAPI: Couldn't connect call");
    EXPECT_TRUE(statuses.contains("Disconnected - busy"));
    EXPECT_FALSE(modem.CallConnected);
    EXPECT_EQ(modem.GetStatus(), "Idle");
}

TEST_F(TapiModemSimTest, NoCarrierFailsTheDialAsDisconnected)
{
    Start("modem answer NO CARRIER\n");

    EXPECT_EQ(DialFailure("1"), "TAPI: Couldn't connect call");
    EXPECT_TRUE(statuses.contains("Disconnected"));
    EXPECT_FALSE(modem.CallConnected);
}

TEST_F(TapiModemSimTest, AbortEndsADialThatIsStillRinging)
{
    Start("modem delay 600000\n");
    QTimer::singleShot(50ms, [this] { modem.Abort(); });

    EXPECT_EQ(DialFailure("1"), "TAPI: Couldn't connect call");
    EXPECT_FALSE(modem.CallConnected);
    EXPECT_EQ(modem.GetStatus(), "Idle");
}

TEST_F(TapiModemSimTest, HangUpFromInsideTheDialsWaitEndsTheDial)
{
    Start("modem delay 600000\n");
    QTimer::singleShot(50ms, [this] { modem.HangUp(); });

    EXPECT_EQ(DialFailure("1"), "TAPI: Couldn't connect call");
    // The modem was left in command mode: a new dial is answered.
    sim.reset();
    Start();
    modem.Dial("2");
    EXPECT_TRUE(modem.CallConnected);
}

TEST_F(TapiModemSimTest, CarrierLostMakesTheNextTransferFailAndHangUpStillEndsTheCall)
{
    Start("modem drop 5000\n");
    modem.Dial("1");
    ConnectLink();
    // One attempt and a short reset: the failure is what matters, not the
    // link's patience with a dead line.
    link.MaxRetries = 0;
    link.ResetTimeout = 100;
    uint8_t byte = 0;
    // Reads succeed until the far end drops the call, then fail.
    // The call drops 5 s after CONNECT; reads go on until then, however
    // fast the line is, with a bound in case it never drops.
    bool failed = false;
    QElapsedTimer reading;
    reading.start();
    while (!failed && reading.elapsed() < 30000) {
        try {
            link.ReadMem(&byte, 0x2FF8, 1, false);
        } catch (const Exception&) {
            failed = true;
        }
    }
    EXPECT_TRUE(failed);
    link.Close();

    modem.HangUp();

    EXPECT_EQ(modem.GetStatus(), "Idle");
}
