#include "app/UnattendedRun.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"

#include <QtGlobal>

#include <exception>

namespace Quorvel1 {

int RunUnattended(const QStringList& arguments)
{
    THeadlessView view;
    TQuorvelW controller(view);
    bool succeeded = false;
    try {
        // The option word asks for an unattended run, so the start always
        // ends the program; there is no event loop to stay in.
        controller.Start(arguments);
        succeeded = controller.LaunchSucceeded();
    } catch (const std::exception& e) {
        qWarning("Start-up failed: %s", e.what());
    }
    controller.QueryClose();
    controller.Closing();
    return succeeded ? 0 : 1;
}

} // namespace Quorvel1
