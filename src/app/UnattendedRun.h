#pragma once
// The run without a display: the option word has 'A' and not 'O', so nobody
// is at the screen and the program ends after the launch routine.
#include <QStringList>

namespace Quorvel1 {

// Runs the start-up and the same end as the window's (settings written back,
// a changed site saved, disconnect, controller destroyed) with a view that
// shows nothing. `arguments` are those after the program's name. Returns the
// exit status: 0 when the launch file says the run succeeded, else 1.
int RunUnattended(const QStringList& arguments);

} // namespace Quorvel1
