// A modem call that drops in the middle (the simulator's modem hangs up
// after CONNECT and sends "NO CARRIER"; a pseudo-terminal has no DCD): the
// link's transfers fail at once, the modem hangs itself up and shows
// "Disconnected", and the program goes offline with the port released.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "modem/TapiModem.h"
#include "serial/SerialPort.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::AppFixture;
using QuorvelTest::SimProcess;

namespace {

// Quick dial results and escape guard; the far end hangs up soon after
// CONNECT, while the link is in use.
const QString DroppingCall = QString(SimProcess::QuickModem) + "modem drop 1500\n";
constexpr int DropWaitMs = 30000;

class CarrierDropTest : public AppTest::ModemSiteFixture {
protected:
    void StartSim()
    {
        StartModemSim(DroppingCall);
        controller.Site().ComTimeouts = SimProcess::ShortTimeouts;
    }
};

} // namespace

TEST_F(CarrierDropTest, DroppedCallHangsItselfUpShowsDisconnectedAndReleasesThePort)
{
    StartSim();
    ASSERT_TRUE(controller.Connect(true));
    ASSERT_TRUE(controller.ModemCall);

    // The standing jobs keep reading the interface unit; they meet the drop.
    ASSERT_TRUE(WaitUntil([this] { return !controller.Online; }, DropWaitMs));

    EXPECT_FALSE(controller.ModemCall);
    EXPECT_EQ(modem->GetStatus(), "Disconnected");
    EXPECT_EQ(view.Panels[StatusPanel::Status], "Disconnected");
    EXPECT_FALSE(modem->CallConnected);
    EXPECT_EQ(modem->CommHandle(), -1);
    EXPECT_FALSE(controller.Link().IsOpen());
    // Nobody holds the port any more: it opens exclusively.
    EXPECT_NO_THROW(Pelk::TSerialPort::Open(sim->PortPath(), 4800));
    // A later disconnect has nothing left to hang up.
    EXPECT_TRUE(controller.Disconnect());
    EXPECT_EQ(modem->GetStatus(), "Disconnected");
}

TEST_F(CarrierDropTest, LinkOverADroppedCallFailsAtOnceInsteadOfResetting)
{
    StartSim();
    modem->Dial("1");
    Pelk::TMestraIF link;
    link.SetTimeouts(SimProcess::ShortTimeouts);
    link.Open(modem->CommHandle(), QString());
    ASSERT_TRUE(link.Connect());
    int told = 0;
    link.OnLineDead = [&] { ++told; };

    QString failure;
    uint8_t byte = 0;
    for (int i = 0; i < 100000 && failure.isEmpty(); ++i) {
        try {
            link.ReadMem(&byte, Pelk::TMestraIF::AlarmTableSlot, 1, Pelk::TMestraIF::Ram);
        } catch (const Exception& e) {
            failure = e.Message();
        }
    }
    EXPECT_EQ(failure, Pelk::TSerialPort::CarrierLostText);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(link.IsConnected());

    // The next transfer fails the same way, without a reset sequence.
    QStringList statuses;
    link.OnStatus = [&] { statuses << link.GetStatus(); };
    try {
        link.ReadMem(&byte, Pelk::TMestraIF::AlarmTableSlot, 1, Pelk::TMestraIF::Ram);
        ADD_FAILURE() << "a transfer over a dropped call succeeded";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Pelk::TSerialPort::CarrierLostText);
    }
    EXPECT_TRUE(statuses.isEmpty()) << statuses.join('|').toStdString();
    EXPECT_EQ(told, 1);

    modem->CallDropped();
    EXPECT_EQ(modem->GetStatus(), "Disconnected");
    EXPECT_EQ(modem->CommHandle(), -1);
}
