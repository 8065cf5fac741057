#pragma once
// The log commands (app/LogCommands.h) as the program runs them: with no
// window; the report's drawing needs the toolkit's GUI part, which runs on
// the "offscreen" platform when no display is set.
#include "app/LogCommands.h"

#include <QString>
#include <QStringList>

namespace Quorvel1 {

// `arguments` are those after the program's name. Returns the exit status.
int RunLogCommandLine(int& argc, char** argv, const QStringList& arguments, const QString& programName);

} // namespace Quorvel1
