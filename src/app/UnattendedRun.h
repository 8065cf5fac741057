#pragma once
// The run without a display: the option word has 'A' and not 'O', so nobody
// is at the screen and the program ends after the launch routine.
#include "app/RunLock.h"

#include <QStringList>

#include <chrono>

namespace Quorvel1 {

// Runs the start-up and the same end as the window's (settings written back,
// a changed site saved, disconnect, controller destroyed) with a view that
// shows nothing. `arguments` are those after the program's name. Returns the
// exit status: 0 when the launch file says the run succeeded, else 1.
//
// First it waits up to `lockWait` for any other unattended run in the same
// program folder to end (RunLock.h). When that one does not end in time,
// the run says so in one line on stderr and returns 1 without starting: the
// launch file, the port and the error log stay the other run's.
int RunUnattended(const QStringList& arguments,
                  std::chrono::milliseconds lockWait = std::chrono::seconds(RunLockWaitS));

} // namespace Quorvel1
