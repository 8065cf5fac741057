#pragma once
// The site map's description in the site's ini file, section "SiteMap": the
// picture's path ("Image") and one label per key "MO001", "MO002", ... as
// comma text "kind,name,x,y". Also the map's scale arithmetic: picture pixels
// to control pixels per 10000 (10000 = 1:1). Pure functions, no widgets.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace Quorvel1 {

class TIniExt;

// One label of the map as the ini file gives it. A position field that is
// missing or not a decimal number stays 0.
struct TMapEntry {
    QChar Kind;   // 'U', 'S', 'O' or 'A'
    QString Name; // a unit number in decimal, or a device's name
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

struct TSiteMapDescription {
    QString Image; // as written in the file
    std::vector<TMapEntry> Entries;
};

inline const QString SiteMapSection = QStringLiteral("SiteMap");
constexpr std::int32_t MapScaleOne = 10000;

// Reads the section. The label list runs from "MO001" up to the first key
// whose value is empty or missing; a value whose kind letter is not one of
// U, S, O, A (or that has no first field) makes no label but does not end
// the list.
TSiteMapDescription ReadSiteMap(const TIniExt& store);
// One label from its value; false when it makes no label.
bool ParseMapEntry(const QString& value, TMapEntry& entry);
// The key of the n-th label (n from 1): "MO" and n in three digits.
QString MapEntryKey(int n);

// The picture file for `image` read from a site in `siteFolder`: "\" becomes
// "/"; a relative path is taken from the site's folder; a path with a drive
// letter ("C:/...") names a Windows folder, so its bare file name is looked
// for in the site's folder. The file name is matched without regard to case
// when the exact spelling is not there. Empty for an empty `image`.
QString ResolveMapPicturePath(const QString& image, const QString& siteFolder);

// Scale per 10000 that shows `picture` pixels in `control` pixels; 1:1 when
// the picture has no size.
std::int32_t MapScale(int control, int picture);
// Control position of picture coordinate `coord` at `scale` (at least 0).
// Only this direction exists: the picture coordinates are the labels' own,
// so moving or resizing a label never writes a rounded position back (which
// would creep at scales like 3333), and a scale of 0 never divides.
int MapPlace(std::int32_t coord, std::int32_t scale);
// The target unit of a unit label's name: its number when it is a decimal
// number 1..30, else 0 (no unit: no alarm and no unit view).
int MapUnitNumber(const QString& name);

} // namespace Quorvel1
