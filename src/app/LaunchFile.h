#pragma once
// The launch file: the outcome of an automatic run for the program that
// started it, three lines in the program folder ("%d\n%s\n%s\n"): 0 when the
// run succeeded and 1 when it failed, the site path used, and the path of
// the downloaded log file (empty when there is none).
#include <QByteArray>
#include <QString>

namespace Quorvel1 {

inline const QString LaunchFileBaseName = QStringLiteral("QW1Launch");
inline const QString LaunchFileExt = QStringLiteral(".txt");
inline const QString LaunchFileName = LaunchFileBaseName + LaunchFileExt;

QByteArray LaunchFileText(bool succeeded, const QString& sitePath, const QString& logPath);

// Replaces the file as a whole, so a supervisor never reads half of it.
// False when it cannot be written.
bool WriteLaunchFile(const QString& path, const QByteArray& text);

} // namespace Quorvel1
