#include "base/FileDir.h"

#include <QDir>

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
    qsizetype extEnd = path.size();  // the next dot after it, or the end
    qsizetype at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1])) {
        --at;
        if (path[at] == QLatin1Char('.')) {
            extEnd = nameEnd;
            nameEnd = at;
        }
    }
    Dir = path.left(at);
    Name = path.mid(at, nameEnd - at);
    Ext = path.mid(nameEnd, extEnd - nameEnd);
}

bool TFileDir::ChangeDir() const
{
    if (Dir.isEmpty())
        return true;
    return QDir::setCurrent(Dir);
}

} // namespace Quorvel1
