// Disconnecting when a step fails: the failure is reported once and the
// steps after it still run, so the port is closed and free again.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "logger/LogIF.h"
#include "serial/SerialPort.h"
#include "settings/Properties.h"

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class DisconnectTest : public AppTest::AppFixture {};

} // namespace

TEST_F(DisconnectTest, ALinkThatFailsToDisconnectStillHasItsPortClosed)
{
    SimProcess sim({}, "identity 0x4D2E\n");
    // The link's status texts while it disconnects; either may be the one
    // where its step fails.
    for (const char* failingAt : {"Disconnecting", "Disconnected"}) {
        AppTest::TRecordingView view;
        TQuorvelW controller(view);
        controller.Properties().LocalPort = sim.PortPath();
        ASSERT_TRUE(controller.Connect(false)) << failingAt;
        // The standing jobs stay off the link while its callback is changed.
        controller.Runner().Pause();
        Pelk::TMestraIF& link = controller.Link();
        link.OnStatus = [&link, failingAt] {
            if (link.GetStatus() == failingAt)
                throw Exception("Mestra link: failed while disconnecting");
        };

        EXPECT_TRUE(controller.Disconnect());
        link.OnStatus = nullptr;

        ASSERT_EQ(view.Messages.size(), 1u) << failingAt;
        EXPECT_EQ(view.Messages[0].Text, "Mestra link: failed while disconnecting");
        EXPECT_FALSE(controller.Online);
        EXPECT_FALSE(controller.Logger().IsOpen());
        EXPECT_FALSE(link.IsOpen()) << failingAt;
        EXPECT_NO_THROW(Pelk::TSerialPort::Open(sim.PortPath(), 4800)) << failingAt;
    }
}
