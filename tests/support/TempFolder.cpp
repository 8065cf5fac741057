#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

namespace QuorvelTest {

bool TempFolder::WriteBytes(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray TempFolder::Bytes(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TempFolder::Entries() const
{
    return QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace QuorvelTest
