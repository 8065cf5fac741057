// Saving a site never destroys the previous file: failures leave it as it
// was and report false.
#include "ByteStreams.h"
#include "SiteFileFixture.h"
#include "support/FileSizeLimit.h"
#include "support/Unprivileged.h"


using namespace Quorvel1;

namespace {

class SiteFileSave : public SiteTest::SiteFileFixture {
protected:
    // A saved site "old" in the test folder, and its bytes.
    void SaveOldSite()
    {
        TSiteExt old;
        old.NewSite();
        old.SetDescription("Old site");
        old.AddUnit(std::make_unique<TUnit>(1, 2, 1, 0, 0, "OLD", 0x0101));
        ASSERT_TRUE(old.Save(Path("site.ste")));
        oldSite = ReadFile(Path("site.ste"));
        oldIni = ReadFile(Path("site.ini"));
        ASSERT_FALSE(oldSite.isEmpty());
    }

    static void BuildNewSite(TSiteExt& site)
    {
        site.NewSite();
        site.SetDescription("New site, much longer than the old one");
        for (int n = 1; n <= 30; ++n)
            site.AddUnit(std::make_unique<TUnit>(static_cast<std::uint8_t>(n), 4, 2, 0, 0,
                                                 "NEW", 0x0202));
    }

    QByteArray oldSite;
    QByteArray oldIni;
};

} // namespace

TEST_F(SiteFileSave, FullDiskLeavesThePreviousFilesAndTheSiteIntact)
{
    SaveOldSite();
    TSiteExt site;
    BuildNewSite(site);
    bool saved = true;
    {
        const QuorvelTest::FileSizeLimit limit(static_cast<rlim_t>(oldSite.size()));
        saved = site.Save(Path("site.ste"));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(Path("site.ste")), oldSite);
    EXPECT_EQ(ReadFile(Path("site.ini")), oldIni);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(site.DescriptionText(), "New site, much longer than the old one");
    EXPECT_NE(site.UnitByNumber(30), nullptr);
}

// The files themselves stay writable: only a save that goes by temporary
// files and renames keeps them whole.
TEST_F(SiteFileSave, ReadOnlyFolderLeavesThePreviousFileIntact)
{
    SaveOldSite();
    TSiteExt site;
    BuildNewSite(site);
    int saved = -1;
    {
        const QuorvelTest::ReadOnlyFolder readOnly(Folder());
        saved = QuorvelTest::RunUnprivileged([&] { return site.Save(Path("site.ste")) ? 1 : 0; });
    }
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(ReadFile(Path("site.ste")), oldSite);
    EXPECT_EQ(ReadFile(Path("site.ini")), oldIni);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(SiteFileSave, MissingFolderFailsAndWritesNothing)
{
    TSiteExt site;
    BuildNewSite(site);
    EXPECT_FALSE(site.Save(Path("missing/site.ste")));
    EXPECT_FALSE(QFile::exists(Path("missing")));
    EXPECT_EQ(site.DescriptionText(), "New site, much longer than the old one");
}

TEST_F(SiteFileSave, SaveReplacesTheOldFileAndReadsItBack)
{
    SaveOldSite();
    TSiteExt site;
    BuildNewSite(site);
    site.UnitByNumber(5)->RomId = 0x0505;
    ASSERT_TRUE(site.Save(Path("site.ste")));
    EXPECT_FALSE(site.LoadFailed());
    EXPECT_EQ(ReadFile(Path("site.ste")).size(), 95 + 2 + 30 * 24 + 3 * 2);
    EXPECT_EQ(site.Units.Count(), 30 * 5);
    EXPECT_EQ(site.UnitByNumber(5)->RomId, 0x0505); // back through the ini file
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}
