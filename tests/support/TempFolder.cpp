#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

namespace QuorvelTest {

bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempFolder::WriteBytes(const QString& name, const QByteArray& bytes) const
{
    return WriteFileBytes(file(name), bytes);
}

QByteArray TempFolder::Bytes(const QString& name) const
{
    return FileBytes(file(name));
}

QStringList TempFolder::Entries() const
{
    return QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace QuorvelTest
