#include "base/AtomicFile.h"

#include <QSaveFile>

namespace Quorvel1 {

bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The explicit flush matters: QSaveFile's commit ignores a short write
    // while flushing its buffer (a full disk) and would rename a truncated
    // file over the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting(); // the destructor then discards the temporary file
        return false;
    }
    return file.commit();
}

} // namespace Quorvel1
