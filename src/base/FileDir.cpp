#include "base/FileDir.h"

#include <QDir>
#include <QFileInfo>

namespace Quorvel1 {

namespace {
bool IsSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':');
}
} // namespace

void TFileDir::SetPath(const QString& path)
{
    Dir.clear();
    Name.clear();
    Ext.clear();
    qsizetype nameEnd = path.size(); // where the extension starts, or the end
    qsizetype at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1])) {
        --at;
        if (path[at] == QLatin1Char('.') && nameEnd == path.size())
            nameEnd = at;
    }
    Dir = path.left(at);
    Name = path.mid(at, nameEnd - at);
    Ext = path.mid(nameEnd);
}

void TFileDir::SetExtAsOnDisk(const QString& ext)
{
    if (Ext.compare(ext, Qt::CaseInsensitive) != 0)
        Ext = ext;
    if (QFileInfo::exists(FullPath()))
        return;
    if (QFileInfo::exists(Dir + Name + ext)) {
        Ext = ext;
        return;
    }
    const QDir folder(Dir.isEmpty() ? QStringLiteral(".") : Dir);
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files) {
        if (file.size() == Name.size() + ext.size() && file.startsWith(Name)
            && file.endsWith(ext, Qt::CaseInsensitive)) {
            Ext = file.mid(Name.size());
            return;
        }
    }
}

bool TFileDir::ChangeDir() const
{
    if (Dir.isEmpty())
        return true;
    return QDir::setCurrent(Dir);
}

} // namespace Quorvel1
