// The site's ini file: the "Site" keys, the unit sections, and the sections
// of others (the site map) that must survive a save.
#include "ByteStreams.h"
#include "SiteFileFixture.h"

using namespace Quorvel1;
using SiteTest::Bytes;
using SiteTest::Field;

namespace {

// Version 0x101, unit 3 (application 012-005, "RC3"), no devices.
QByteArray SiteWithUnit3()
{
    return Bytes({0x01, 0x01}) + Field("", 41) + Field("", 41) + Bytes({0x00}) +
           QByteArray(8, '\0') + Bytes({0x00, 0x00}) + Bytes({0x01, 0x00}) +
           Bytes({0x03, 0x00, 0x00, 0x00, 0x00}) + Field("RC3", 17) + Bytes({0x05, 0x0C}) +
           QByteArray(6, '\0');
}

// Another tool's ini: Windows line ends, its own spelling of names, and the
// site map's section.
const QByteArray WindowsIni = "[site]\r\n"
                              "procid=77\r\n"
                              "LASTLOG=C:\\logs\\77A01.LOG\r\n"
                              "comspeed=9600\r\n"
                              "ComTimeouts=10,2000,500,500,3000,5000\r\n"
                              "[unit3]\r\n"
                              "procid=4660\r\n"
                              "romid=12\r\n"
                              "[Map]\r\n"
                              "Picture=site.jpg\r\n"
                              "Label1=U3,10,20\r\n";

class SiteFileIni : public SiteTest::SiteFileFixture {
protected:
    QString IniValue(const QString& section, const QString& key) const
    {
        TIni ini;
        ini.Open(Path("site.ini"));
        return ini.ReadString(section, key, QStringLiteral("<none>"));
    }
    QStringList IniSections() const
    {
        TIni ini;
        ini.Open(Path("site.ini"));
        QStringList sections;
        ini.ReadSections(sections);
        return sections;
    }
};

} // namespace

TEST_F(SiteFileIni, WindowsIniWithOtherSpellingsIsRead)
{
    WriteFile(Path("site.ste"), SiteWithUnit3());
    WriteFile(Path("site.ini"), WindowsIni);
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    EXPECT_EQ(site.ProcId, 77);
    EXPECT_EQ(site.LastLog, "C:\\logs\\77A01.LOG");
    EXPECT_EQ(site.ComSpeed, 9600);
    EXPECT_EQ(site.ModemDev, -1);
    EXPECT_EQ(site.ComTimeouts, "10,2000,500,500,3000,5000");
    EXPECT_EQ(site.ProcessorId(3), 4660);
    ASSERT_NE(site.UnitByNumber(3), nullptr);
    EXPECT_EQ(site.UnitByNumber(3)->RomId, 12);
}

TEST_F(SiteFileIni, SaveKeepsTheSiteMapSectionByteForByte)
{
    WriteFile(Path("site.ste"), SiteWithUnit3());
    WriteFile(Path("site.ini"), WindowsIni);
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    site.ModemDev = 2;
    ASSERT_TRUE(site.Save(Path("site.ste")));

    const QByteArray text = ReadFile(Path("site.ini"));
    EXPECT_TRUE(text.contains("[Map]\r\nPicture=site.jpg\r\nLabel1=U3,10,20\r\n"));
    EXPECT_TRUE(text.contains("procid=77\r\n"));
    EXPECT_EQ(IniValue("Site", "ModemDev"), "2");
    EXPECT_EQ(IniValue("Unit3", "ProcID"), "4660");
    EXPECT_EQ(IniValue("Unit3", "RomID"), "12");
    EXPECT_EQ(IniValue("Unit3", "Prog"), "012-005");
    EXPECT_EQ(IniValue("Unit3", "App"), "RC3");
}

TEST_F(SiteFileIni, SaveWritesTheSiteKeysOfANewSite)
{
    TSiteExt site;
    site.NewSite();
    site.ComSpeed = 19200;
    site.ComTimeouts = "10,2000";
    site.LastLog = "/logs/A01.LOG";
    site.SetProcId(513);
    ASSERT_TRUE(site.Save(Path("site.ste")));
    EXPECT_EQ(IniValue("Site", "LastLog"), "/logs/A01.LOG");
    EXPECT_EQ(IniValue("Site", "Procid"), "513");
    EXPECT_EQ(IniValue("Site", "ComSpeed"), "19200");
    EXPECT_EQ(IniValue("Site", "ModemDev"), "-1");
    EXPECT_EQ(IniValue("Site", "ComTimeouts"), "10,2000");
    EXPECT_EQ(IniSections(), QStringList{"Site"});
    // Read back by the save.
    EXPECT_EQ(site.ComSpeed, 19200);
    EXPECT_EQ(site.ProcId, 513);
}

TEST_F(SiteFileIni, SectionsOfNumbersWithoutUnitOrIdentifierAreErased)
{
    WriteFile(Path("site.ste"), SiteWithUnit3());
    WriteFile(Path("site.ini"), "[Unit5]\nProcID=0\nRomID=3\n"
                                "[Unit6]\nProcID=99\n"
                                "[Unit3]\nProcID=0\n");
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    ASSERT_TRUE(site.Save(Path("site.ste")));
    const QStringList sections = IniSections();
    EXPECT_FALSE(sections.contains("Unit5"));
    EXPECT_EQ(IniValue("Unit6", "ProcID"), "99");
    EXPECT_EQ(IniValue("Unit6", "RomID"), "<none>"); // no unit 6
    EXPECT_EQ(IniValue("Unit3", "ProcID"), "0");      // unit 3 exists
    EXPECT_EQ(IniValue("Unit3", "App"), "RC3");
}

TEST_F(SiteFileIni, NewSiteDoesNotPassTheOldIdentifiersToTheNextFile)
{
    WriteFile(Path("site.ste"), SiteWithUnit3());
    WriteFile(Path("site.ini"), "[Site]\nProcid=77\nComSpeed=9600\n[Unit6]\nProcID=99\n");
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    site.NewSite();
    EXPECT_FALSE(site.Ini.IsOpen());
    EXPECT_EQ(site.ProcId, 0);
    EXPECT_EQ(site.ComSpeed, -1);
    EXPECT_EQ(site.ProcessorId(6), 0);
    EXPECT_FALSE(site.IsModified());

    ASSERT_TRUE(site.Save(Path("other.ste")));
    TIni ini;
    ini.Open(Path("other.ini"));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{"Site"});
}

TEST_F(SiteFileIni, LastLogIsWrittenAtOnceWhileTheIniFileIsOpen)
{
    WriteFile(Path("site.ste"), SiteWithUnit3());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("site.ste")));
    site.SetLastLog("/logs/77A02.LOG");
    EXPECT_EQ(IniValue("Site", "LastLog"), "/logs/77A02.LOG");
}

TEST_F(SiteFileIni, LastLogOfANewSiteStaysInMemory)
{
    TSiteExt site;
    site.NewSite();
    site.SetLastLog("/logs/A01.LOG");
    EXPECT_EQ(site.LastLog, "/logs/A01.LOG");
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty());
}

TEST_F(SiteFileIni, IniPartAloneNeedsAnOpenIniFile)
{
    TSiteExt site;
    site.NewSite();
    EXPECT_FALSE(site.LoadIni());
    EXPECT_FALSE(site.SaveIni());
}
