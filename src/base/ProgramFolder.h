#pragma once
#include <QString>

namespace Quorvel1 {

// The folder of the launch file, error log, trace file, modem configurations
// and the "st" and "Adf" trees: $QUORVEL_HOME, else $XDG_DATA_HOME/Quorvel
// (default ~/.local/share/Quorvel). Created on first use. Ends with "/".
QString ProgramFolder();

} // namespace Quorvel1
