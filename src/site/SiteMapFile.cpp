#include "site/SiteMapFile.h"

#include "base/CommaText.h"
#include "settings/IniExt.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>

namespace Quorvel1 {

namespace {

constexpr int MapMaxUnitNumber = 30;

// A decimal int32 as the ini file writes it, or nothing.
bool MapNumber(const QString& text, std::int32_t& value)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = number;
    return ok;
}

} // namespace

QString MapEntryKey(int n)
{
    return QStringLiteral("MO%1").arg(n, 3, 10, QLatin1Char('0'));
}

bool ParseMapEntry(const QString& value, TMapEntry& entry)
{
    const QStringList fields = SplitCommaText(value);
    if (fields.isEmpty() || fields[0].isEmpty())
        return false;
    const QChar kind = fields[0][0];
    if (kind != u'U' && kind != u'S' && kind != u'O' && kind != u'A')
        return false;
    entry = TMapEntry{};
    entry.Kind = kind;
    if (fields.size() > 1)
        entry.Name = fields[1];
    // The position is read field by field: once one cannot be read, the rest
    // stays 0 and the label is kept.
    if (fields.size() > 2 && MapNumber(fields[2], entry.X) && fields.size() > 3)
        MapNumber(fields[3], entry.Y);
    return true;
}

TSiteMapDescription ReadSiteMap(const TIniExt& store)
{
    TSiteMapDescription map;
    map.Image = store.ReadString(SiteMapSection, QStringLiteral("Image"), QString());
    // Only an empty value ends the list: a value that begins with a quote or
    // a blank is still a label.
    for (int n = 1;; ++n) {
        const QString value = store.ReadString(SiteMapSection, MapEntryKey(n), QString());
        if (value.isEmpty())
            break;
        TMapEntry entry;
        if (ParseMapEntry(value, entry))
            map.Entries.push_back(entry);
    }
    return map;
}

QString ResolveMapPicturePath(const QString& image, const QString& siteFolder)
{
    QString path = image.trimmed();
    if (path.isEmpty())
        return QString();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool drive = path.size() >= 2 && path[1] == u':' && path[0].isLetter();
    if (drive)
        path = QFileInfo(path.mid(2)).fileName();
    const QDir folder(siteFolder.isEmpty() ? QDir::currentPath() : siteFolder);
    QFileInfo file(QDir::isRelativePath(path) ? folder.filePath(path) : path);
    if (file.exists())
        return file.filePath();
    // A site made on Windows may spell the name in other capitals.
    const QDir parent = file.dir();
    const QStringList names = parent.entryList(QDir::Files);
    const auto match = std::find_if(names.begin(), names.end(), [&](const QString& name) {
        return name.compare(file.fileName(), Qt::CaseInsensitive) == 0;
    });
    return match != names.end() ? parent.filePath(*match) : file.filePath();
}

std::int32_t MapScale(int control, int picture)
{
    if (picture <= 0)
        return MapScaleOne;
    return std::int32_t(std::int64_t(std::max(control, 0)) * MapScaleOne / picture);
}

int MapPlace(std::int32_t coord, std::int32_t scale)
{
    return int(std::max<std::int64_t>(std::int64_t(coord) * scale / MapScaleOne, 0));
}

int MapUnitNumber(const QString& name)
{
    bool ok = false;
    const int number = name.trimmed().toInt(&ok, 10);
    return ok && number >= 1 && number <= MapMaxUnitNumber ? number : 0;
}

} // namespace Quorvel1
