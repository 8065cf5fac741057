#pragma once
// The device editor's flow for the controller: the editor works on the
// site's devices while the job runner is held, so no job reads them half
// edited; afterwards the devices take their places in the logger's device
// table again, are sorted, and the window's devices list is filled anew.
#include <functional>

namespace Quorvel1 {

class TQuorvelW;

// Runs `editor` on the device of `index` (the device count for a new one).
// The runner resumes (when connected) on every way out, an exception from
// the editor included.
void EditDevice(TQuorvelW& controller, int index, const std::function<void(int index)>& editor);

} // namespace Quorvel1
