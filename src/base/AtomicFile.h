#pragma once
// Replacement of a whole file the program owns (ini files, EE image files):
// the bytes go to a temporary file in the same folder, which is then renamed
// over the old file, so a crash or a full disk never leaves half a file.
#include <QByteArray>
#include <QString>

namespace Quorvel1 {

// True when `path` now holds exactly `bytes`. On any failure the temporary
// file is removed and the old file, if any, is left as it was.
bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace Quorvel1
