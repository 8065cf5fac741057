// Loading a site: damaged and missing files, the identifier from the file
// name, the current folder and the modified flag.
#include "ByteStreams.h"
#include "SiteFileFixture.h"

#include <QFileInfo>

using namespace Quorvel1;
using SiteTest::Bytes;
using SiteTest::Field;

namespace {

// Version 0x101, description "Damaged", interval 60, the given reserved
// word, unit 4 with two airspaces, then two sensors.
QByteArray SiteFile(int reservedWord = 0)
{
    return Bytes({0x01, 0x01}) + Field("Damaged", 41) + Field("", 41) + Bytes({0x02}) +
           Bytes({0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}) +
           Bytes({reservedWord & 0xFF, reservedWord >> 8}) + Bytes({0x03, 0x00}) +
           Bytes({0x04, 0x02, 0x01, 0x00, 0x00}) + Field("U4", 17) + Bytes({0x01, 0x02}) +
           Bytes({0x02, 0x00}) + Field("S1", 11) + Bytes({0x20, 0x00, 0x01, 0x02, 0x00, 0x00, 'C'}) +
           Field("S2", 11) + Bytes({0x21, 0x00, 0x01, 0x02, 0x00, 0x00, 'C'}) +
           Bytes({0x00, 0x00, 0x00, 0x00});
}

const QByteArray IniWithIdentifiers = "[Site]\nProcid=77\nLastLog=/logs/77A01.LOG\n"
                                      "[Unit4]\nProcID=300\nRomID=12\n";

class SiteFileLoad : public SiteTest::SiteFileFixture {};

} // namespace

TEST_F(SiteFileLoad, CompleteFileLoadsWithoutFailure)
{
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    EXPECT_TRUE(site.Load(Path("site.ste")));
    EXPECT_FALSE(site.LoadFailed());
    EXPECT_EQ(site.Devices.size(), 2u);
}

TEST_F(SiteFileLoad, TruncatedDeviceGroupKeepsWhatWasReadAndAddsTheRestEmpty)
{
    QByteArray bytes = SiteFile();
    bytes.chop(4 + 10); // the empty groups and most of the second sensor
    WriteFile(Path("site.ste"), bytes);
    WriteFile(Path("site.ini"), IniWithIdentifiers);
    TSiteExt site;
    EXPECT_FALSE(site.Load(Path("site.ste")));
    EXPECT_TRUE(site.LoadFailed());
    EXPECT_EQ(site.DescriptionText(), "Damaged");
    ASSERT_NE(site.UnitByNumber(4), nullptr);
    ASSERT_EQ(site.Devices.size(), 2u);
    const bool firstIsRead = site.Devices[0]->NameText() == "S1";
    const TDev& read = *site.Devices[firstIsRead ? 0 : 1];
    const TDev& empty = *site.Devices[firstIsRead ? 1 : 0];
    EXPECT_EQ(read.NameText(), "S1");
    EXPECT_EQ(empty.NameText(), "");
    // The ini part is loaded all the same.
    EXPECT_EQ(site.ProcId, 77);
    EXPECT_EQ(site.LastLog, "/logs/77A01.LOG");
    EXPECT_EQ(site.ProcessorId(4), 300);
    EXPECT_EQ(site.UnitByNumber(4)->RomId, 12);
}

TEST_F(SiteFileLoad, FileCutInsideTheSiteBlockFails)
{
    WriteFile(Path("site.ste"), SiteFile().left(50));
    TSiteExt site;
    EXPECT_FALSE(site.Load(Path("site.ste")));
    EXPECT_TRUE(site.LoadFailed());
    EXPECT_EQ(site.Units.Count(), 0);
}

TEST_F(SiteFileLoad, NonZeroReservedWordFailsButTheIniPartIsLoaded)
{
    WriteFile(Path("site.ste"), SiteFile(0x0001));
    WriteFile(Path("site.ini"), IniWithIdentifiers);
    TSiteExt site;
    EXPECT_FALSE(site.Load(Path("site.ste")));
    EXPECT_TRUE(site.LoadFailed());
    EXPECT_EQ(site.LogInterval, 60); // read before the reserved word
    EXPECT_EQ(site.Units.Count(), 0);
    EXPECT_EQ(site.ProcId, 77);
    EXPECT_EQ(site.ProcessorId(4), 300);
}

TEST_F(SiteFileLoad, MissingFileLeavesTheSiteInMemoryUnchanged)
{
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    site.SetDescription("Edited");
    site.SetModified(false);

    EXPECT_FALSE(site.Load(Path("missing.ste")));
    EXPECT_TRUE(site.LoadFailed());
    EXPECT_EQ(site.DescriptionText(), "Edited");
    EXPECT_NE(site.UnitByNumber(4), nullptr);
    EXPECT_EQ(site.Devices.size(), 2u);
    EXPECT_FALSE(site.IsModified());
    EXPECT_EQ(site.Ini.FileName(), Path("site.ini"));
}

TEST_F(SiteFileLoad, SuccessfulLoadClearsAnEarlierFailure)
{
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    ASSERT_FALSE(site.Load(Path("missing.ste")));
    ASSERT_TRUE(site.LoadFailed());
    EXPECT_TRUE(site.Load(Path("site.ste")));
    EXPECT_FALSE(site.LoadFailed());
}

TEST_F(SiteFileLoad, PathIsTakenWithTheSiteExtension)
{
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    EXPECT_TRUE(site.Load(Path("site")));
    EXPECT_EQ(site.DescriptionText(), "Damaged");
    EXPECT_EQ(site.Ini.FileName(), Path("site.ini"));
}

// A site file named by a number takes it as the interface unit's
// identifier, unless its ini file gives one.
TEST_F(SiteFileLoad, IdentifierComesFromTheIniFileOrANumericFileName)
{
    const struct {
        const char* Name;
        const char* Ini; // null: no ini file
        int ProcId;
    } rows[] = {
        {"1234", "[Site]\nProcid=0\n", 1234},
        {"4321", "[Site]\nProcid=77\n", 77},
        {"cold1", nullptr, 0},
        {"70000", nullptr, 0},
        {"-5", nullptr, 0},
    };
    for (const auto& row : rows) {
        const QString name = row.Name;
        WriteFile(Path(name + ".ste"), SiteFile());
        if (row.Ini)
            WriteFile(Path(name + ".ini"), row.Ini);
        TSiteExt site;
        ASSERT_TRUE(site.Load(Path(name + ".ste"))) << row.Name;
        EXPECT_EQ(site.ProcId, row.ProcId) << row.Name;
    }
}

TEST_F(SiteFileLoad, SiteFolderBecomesTheCurrentFolder)
{
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(),
              QFileInfo(Folder()).canonicalFilePath());
}

TEST_F(SiteFileLoad, LoadMarksTheSiteModifiedWhenStoringProcessorIdentifiers)
{
    // Storing the units' processor identifiers from the ini file marks the
    // site, so the user is offered to save after any load.
    WriteFile(Path("site.ste"), SiteFile());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    EXPECT_TRUE(site.IsModified());
}
