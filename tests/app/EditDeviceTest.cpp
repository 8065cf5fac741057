// The device editor's flow on a connected site: the runner is held while the
// editor runs and goes on afterwards, an editor that throws included; the
// devices are attached and sorted again afterwards.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/EditDevice.h"
#include "app/QuorvelW.h"
#include "jobs/PelkThread.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <stdexcept>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class EditDeviceTest : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        controller.Properties().LocalPort = sim.PortPath();
        controller.Site().ComTimeouts = SimProcess::ShortTimeouts;
        ASSERT_TRUE(controller.Connect(false));
        ASSERT_FALSE(controller.Runner().IsSuspended());
    }
    void TearDown() override { controller.Disconnect(); }

    // A device the logger does not record, in a mode that sorts it last.
    void AddInactiveSensor(unsigned unit)
    {
        controller.Site().Devices.push_back(TSite::CreateDevice(DevSensor));
        TDev& device = *controller.Site().Devices.back();
        device.SetIOAddress(unit, 0);
        device.Active = ActiveNo;
        device.DefaultName();
    }

    SimProcess sim;
    AppTest::TRecordingView view;
    TQuorvelW controller{view};
};

} // namespace

TEST_F(EditDeviceTest, RunnerIsHeldWhileTheEditorRunsThenGoesOn)
{
    const std::size_t before = controller.Site().Devices.size();
    int holds = -1;
    bool suspended = false;
    EditDevice(controller, 0, [&](int) {
        holds = controller.Runner().PauseHolds();
        suspended = controller.Runner().IsSuspended();
        AddInactiveSensor(9);
        controller.Site().Devices.front().swap(controller.Site().Devices.back());
    });
    EXPECT_EQ(holds, 1);
    EXPECT_TRUE(suspended);
    EXPECT_EQ(controller.Runner().PauseHolds(), 0);
    EXPECT_FALSE(controller.Runner().IsSuspended());
    ASSERT_EQ(controller.Site().Devices.size(), before + 1);
    // Sorted again: the inactive device last, not attached to the logger.
    EXPECT_EQ(controller.Site().Devices.back()->MakeName(), "SENSOR9/1");
    EXPECT_EQ(controller.Site().Devices.back()->LoggerIndex, -1);
}

TEST_F(EditDeviceTest, AnEditorThatThrowsStillLetsTheRunnerGoOn)
{
    EXPECT_THROW(EditDevice(controller, 0,
                            [&](int) {
                                AddInactiveSensor(7);
                                throw std::runtime_error("editor failed");
                            }),
                 std::runtime_error);
    EXPECT_EQ(controller.Runner().PauseHolds(), 0);
    EXPECT_FALSE(controller.Runner().IsSuspended());
    EXPECT_EQ(controller.Site().Devices.back()->MakeName(), "SENSOR7/1");
}
