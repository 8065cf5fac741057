#include "app/UnattendedRun.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "base/ProgramFolder.h"

#include <QtGlobal>

#include <cstdio>
#include <exception>

namespace Quorvel1 {

int RunUnattended(const QStringList& arguments, std::chrono::milliseconds lockWait)
{
    TRunLock lock(ProgramFolder() + TRunLock::FileName);
    if (!lock.Acquire(lockWait)) {
        std::fprintf(stderr, "quorvel: %s\n", lock.Failure().toLocal8Bit().constData());
        return 1;
    }
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
