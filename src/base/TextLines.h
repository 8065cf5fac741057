#pragma once
// The line files of the unit settings (settings-address files, EE image files,
// ADF files): plain text, one entry per line. Files made on Windows end their
// lines with CR LF and may be in the Windows code page rather than UTF-8;
// both are read alike.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace Quorvel1 {

// The lines of `bytes`: split at LF, a CR before the LF dropped; a last line
// without its line end still counts, a line end at the very end adds none.
// Bytes that are not valid UTF-8 are read as Windows-1252.
QStringList SplitTextLines(const QByteArray& bytes);

// The file's lines; none when it does not exist or cannot be read.
std::optional<QStringList> ReadTextLines(const QString& path);

// The lines as UTF-8 text, each ended by LF.
QByteArray JoinTextLines(const QStringList& lines);

} // namespace Quorvel1
