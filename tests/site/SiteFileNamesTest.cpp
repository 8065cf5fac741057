// Which files a site reads and writes: a dotted name keeps files of its own,
// and files written on Windows in capitals are found and saved in place.
#include "SiteFileFixture.h"

#include <QDir>

using namespace Quorvel1;

namespace {

class SiteFileNames : public SiteTest::SiteFileFixture {
protected:
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }

    // A saved site with `description` whose two files are then renamed
    // `siteName` and `iniName`, as another system might have written them.
    void SaveSiteAs(const char* description, const QString& siteName, const QString& iniName)
    {
        TSiteExt site;
        site.NewSite();
        site.SetDescription(description);
        site.ComTimeouts = "20,3000";
        site.SetProcessorId(3, 4321);
        ASSERT_TRUE(site.Save(Path("made.ste")));
        QFile::remove(Path(siteName));
        QFile::remove(Path(iniName));
        ASSERT_TRUE(QFile::rename(Path("made.ste"), Path(siteName)));
        ASSERT_TRUE(QFile::rename(Path("made.ini"), Path(iniName)));
    }
};

} // namespace

TEST_F(SiteFileNames, DottedNameRoundTripLeavesTheUndottedSiteAlone)
{
    SaveSiteAs("Plant", "plant.ste", "plant.ini");
    const QByteArray neighbour = ReadFile(Path("plant.ste"));
    const QByteArray neighbourIni = ReadFile(Path("plant.ini"));

    TSiteExt site;
    site.NewSite();
    site.SetDescription("Plant v2");
    site.ComTimeouts = "30,4000";
    ASSERT_TRUE(site.Save(Path("plant.v2.ste")));
    TSiteExt loaded;
    ASSERT_TRUE(loaded.Load(Path("plant.v2.ste")));
    EXPECT_EQ(loaded.DescriptionText(), "Plant v2");
    EXPECT_EQ(loaded.ComTimeouts, "30,4000");
    ASSERT_TRUE(loaded.Save(Path("plant.v2.ste")));

    EXPECT_EQ(ReadFile(Path("plant.ste")), neighbour);
    EXPECT_EQ(ReadFile(Path("plant.ini")), neighbourIni);
    EXPECT_EQ(Files(), QStringList({"plant.ini", "plant.ste", "plant.v2.ini", "plant.v2.ste"}));
}

// A launch file or setting may name the site in either case of extension.
TEST_F(SiteFileNames, CapitalsFromWindowsAreReadAndWrittenBackInPlace)
{
    for (const char* opened : {"STORE12.STE", "STORE12.ste"}) {
        SaveSiteAs("Store 12", "STORE12.STE", "STORE12.INI");
        TSiteExt site;
        ASSERT_TRUE(site.Load(Path(opened))) << opened;
        EXPECT_EQ(site.DescriptionText(), "Store 12") << opened;
        EXPECT_EQ(site.ComTimeouts, "20,3000") << opened;
        EXPECT_EQ(site.ProcessorId(3), 4321) << opened;
        EXPECT_EQ(site.EEImagePath(3), Path("4321.ee")) << opened;
        WriteFile(Path("4321.EE"), "U3,000-000\n");
        EXPECT_EQ(site.EEImagePath(3), Path("4321.EE")) << opened;

        site.ComTimeouts = "50,6000";
        site.SetDescription("Store 12 changed");
        ASSERT_TRUE(site.Save(Path(opened))) << opened;

        EXPECT_EQ(Files(), QStringList({"4321.EE", "STORE12.INI", "STORE12.STE"})) << opened;
        TSiteExt reread;
        ASSERT_TRUE(reread.Load(Path("STORE12.STE")));
        EXPECT_EQ(reread.DescriptionText(), "Store 12 changed") << opened;
        EXPECT_EQ(reread.ComTimeouts, "50,6000") << opened;
        QFile::remove(Path("4321.EE"));
    }
}
