// The site map's description in the site's ini file and its scale
// arithmetic: which keys make labels, how a label value is read, where the
// picture is looked for, and how picture pixels become control pixels.
#include "site/SiteMapFile.h"

#include "settings/Ini.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace Quorvel1;
using QuorvelTest::TempFolder;

namespace {

TSiteMapDescription ReadMapText(const TempFolder& folder, const QByteArray& text)
{
    EXPECT_TRUE(folder.WriteBytes(QStringLiteral("site.ini"), text));
    TIni ini;
    ini.Open(folder.file(QStringLiteral("site.ini")));
    return ReadSiteMap(ini);
}

} // namespace

TEST(SiteMapFileTest, LabelListEndsOnlyAtTheFirstEmptyValue)
{
    TempFolder folder;
    const TSiteMapDescription map = ReadMapText(folder,
        "[SiteMap]\nImage=plan.png\nMO001=S,Freezer1,120,45\nMO002=U,3,10,20\n"
        "MO004=O,Fan,1,1\n");
    EXPECT_EQ(map.Image, "plan.png");
    ASSERT_EQ(map.Entries.size(), 2u);
    EXPECT_EQ(map.Entries[0].Kind, u'S');
    EXPECT_EQ(map.Entries[0].Name, "Freezer1");
    EXPECT_EQ(map.Entries[0].X, 120);
    EXPECT_EQ(map.Entries[0].Y, 45);
    EXPECT_EQ(map.Entries[1].Name, "3");

    // A quoted value (which compares below "0") and an unknown kind go on.
    const TSiteMapDescription quoted = ReadMapText(folder,
        "[SiteMap]\nMO001=\"S\",\"Cold room\",5,6\nMO002=X,Nothing,1,1\nMO003=A,ROOM,7,8\n");
    ASSERT_EQ(quoted.Entries.size(), 2u);
    EXPECT_EQ(quoted.Entries[0].Name, "Cold room");
    EXPECT_EQ(quoted.Entries[1].Kind, u'A');
}

TEST(SiteMapFileTest, PositionsThatCannotBeReadStayZero)
{
    struct {
        const char* Value;
        bool Made;
        int X;
        int Y;
    } const cases[] = {
        {"S,Air,120,45", true, 120, 45},
        {"S,Air,abc,45", true, 0, 0},  // reading stops at the first bad field
        {"S,Air,12,x", true, 12, 0},
        {"S,Air", true, 0, 0},
        {"Unit,4,3,2", true, 3, 2},     // only the first letter counts
        {"Z,Air,1,1", false, 0, 0},
        {",Air,1,1", false, 0, 0},
    };
    for (const auto& c : cases) {
        TMapEntry entry;
        EXPECT_EQ(ParseMapEntry(QString::fromLatin1(c.Value), entry), c.Made) << c.Value;
        if (c.Made) {
            EXPECT_EQ(entry.X, c.X) << c.Value;
            EXPECT_EQ(entry.Y, c.Y) << c.Value;
        }
    }
    EXPECT_EQ(MapEntryKey(1), "MO001");
    EXPECT_EQ(MapEntryKey(42), "MO042");
}

TEST(SiteMapFileTest, PicturePathIsFoundInTheSitesFolder)
{
    TempFolder folder;
    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("Plan.PNG"), "x"));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("maps")));
    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("maps/store.bmp"), "x"));
    const QString plan = folder.file(QStringLiteral("Plan.PNG"));
    const QString store = folder.file(QStringLiteral("maps/store.bmp"));
    struct {
        const char* Image;
        QString Expected;
    } const cases[] = {
        {"Plan.PNG", plan},
        {"plan.png", plan},                       // any capitals
        {"C:\\Sites\\Plant\\PLAN.png", plan},     // a Windows folder: the bare name
        {"maps\\store.bmp", store},               // "\" is a folder separator
        {"", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveMapPicturePath(QString::fromLatin1(c.Image), folder.path()), c.Expected)
            << c.Image;
    EXPECT_EQ(ResolveMapPicturePath(store, QStringLiteral("/elsewhere")), store);
}

TEST(SiteMapFileTest, ScalesPlaceLabelsWithoutDividingByZero)
{
    struct {
        int Control;
        int Picture;
        std::int32_t Scale;
        std::int32_t Coord;
        int Place;
    } const cases[] = {
        {400, 800, 5000, 120, 60}, {300, 600, 5000, 45, 22}, {800, 800, 10000, 120, 120},
        {200, 600, 3333, 120, 39}, {0, 800, 0, 120, 0},      {500, 0, 10000, 7, 7},
        {400, 800, 5000, -30, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapScale(c.Control, c.Picture), c.Scale) << c.Control << "/" << c.Picture;
        EXPECT_EQ(MapPlace(c.Coord, c.Scale), c.Place) << c.Coord << "@" << c.Scale;
    }
}

TEST(SiteMapFileTest, UnitLabelsNameUnitsOneToThirty)
{
    const std::pair<const char*, int> cases[] = {
        {"1", 1}, {"30", 30}, {" 12", 12}, {"0", 0}, {"31", 0}, {"-1", 0}, {"Boiler", 0}, {"", 0},
    };
    for (const auto& [name, unit] : cases)
        EXPECT_EQ(MapUnitNumber(QString::fromLatin1(name)), unit) << name;
}
