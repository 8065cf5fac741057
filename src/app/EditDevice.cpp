#include "app/EditDevice.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "base/Exception.h"
#include "jobs/RunnerPause.h"
#include "logger/LogIF.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

namespace {

// The devices take their places in the logger's table again; a table that
// does not fit them is reported, and the list shows them all the same.
void ReattachDevices(TQuorvelW& controller)
{
    TSiteExt& site = controller.Site();
    try {
        site.AttachDevices(controller.Logger());
    } catch (const Exception& e) {
        controller.ReportError(e.Message());
    }
    site.SortDevices();
    controller.View().RefillLogDevices();
}

} // namespace

void EditDevice(TQuorvelW& controller, int index, const std::function<void(int index)>& editor)
{
    TRunnerPause pause(controller.Runner());
    // Devices stored before an exception are in the site already.
    try {
        if (editor)
            editor(index);
    } catch (...) {
        ReattachDevices(controller);
        throw;
    }
    ReattachDevices(controller);
}

} // namespace Quorvel1
