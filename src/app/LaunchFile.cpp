#include "app/LaunchFile.h"

#include <QSaveFile>

namespace Quorvel1 {

QByteArray LaunchFileText(bool succeeded, const QString& sitePath, const QString& logPath)
{
    QByteArray text = succeeded ? QByteArrayLiteral("0\n") : QByteArrayLiteral("1\n");
    text += sitePath.toUtf8() + '\n';
    text += logPath.toUtf8() + '\n';
    return text;
}

bool WriteLaunchFile(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Quorvel1
