// The automatic run without a display: start, launch routine and the same
// end as the window's, in this process.
#include "support/AppFixture.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "app/UnattendedRun.h"
#include "site/SiteExt.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;

namespace {

class UnattendedRunTest : public AppFixture {
protected:
    QByteArray Launch() { return ReadFile(LaunchPath()); }
};

} // namespace

TEST_F(UnattendedRunTest, OpenedSiteIsLoggedReportedInTheLaunchFileAndSavedAtTheEnd)
{
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store", 0x100)); // no logging options: 95 bytes
    EXPECT_EQ(RunUnattended({"-A", site}), 1);

    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
    EXPECT_TRUE(ReadFile(ErrorLogPath()).startsWith("\n*** QuorvelW "));
    EXPECT_TRUE(ReadFile(ErrorLogPath()).endsWith(" Site: " + site.toUtf8() + "\n"));
    // Written back by the end of the run in the current layout.
    const QByteArray saved = ReadFile(site);
    EXPECT_EQ(saved.size(), 103);
    EXPECT_EQ(saved.left(2), QByteArray::fromHex("0101"));
    EXPECT_EQ(saved.mid(2, 12), QByteArray("North store\0", 12));
    EXPECT_TRUE(QFileInfo::exists(Path("north.ini")));
}

TEST_F(UnattendedRunTest, SettingsAreWrittenBackAtTheEnd)
{
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store"));
    RunUnattended({"-A", site});
    QSettings settings("Mestra Apps", "Quorvel");
    EXPECT_EQ(settings.value("Settings/Paths/LastSite").toString(), site);
}

TEST_F(UnattendedRunTest, SiteThatFailsToLoadIsReportedAndLeftAsItWas)
{
    const QString site = Path("broken.ste");
    WriteFile(site, AppTest::BrokenSiteFile());
    const QByteArray before = ReadFile(site);
    EXPECT_EQ(RunUnattended({"-A", site}), 1);

    EXPECT_TRUE(ReadFile(ErrorLogPath())
                    .endsWith("Couldn't open site: " + site.toUtf8() + ": Quorvel Error\n"));
    EXPECT_EQ(ReadFile(site), before);
    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
}

TEST_F(UnattendedRunTest, PartlyLoadedSiteIsChangedYetTheEndDoesNotSaveIt)
{
    const QString site = Path("broken.ste");
    WriteFile(site, AppTest::BrokenSiteFile());
    const QByteArray before = ReadFile(site);
    THeadlessView view;
    TQuorvelW controller(view);
    EXPECT_TRUE(controller.Start({"-A", site}));
    // What a save at the end would have written over the file.
    ASSERT_TRUE(controller.Site().IsModified());
    ASSERT_TRUE(controller.Site().LoadFailed());
    EXPECT_TRUE(controller.QueryClose());
    controller.Closing();
    EXPECT_EQ(ReadFile(site), before);
}

TEST_F(UnattendedRunTest, RelativeSitePathIsSavedWhereItWasRead)
{
    ASSERT_TRUE(QDir(Folder()).mkdir("sub"));
    WriteFile(Path("sub/east.ste"), EmptySiteFile("East store", 0x100));
    QDir::setCurrent(Folder());
    RunUnattended({"-A", "sub/east.ste"});
    EXPECT_EQ(ReadFile(Path("sub/east.ste")).size(), 103);
    EXPECT_FALSE(QFileInfo::exists(Path("sub/sub/east.ste")));
    EXPECT_EQ(Launch(), "1\nsub/east.ste\n\n");
}

TEST_F(UnattendedRunTest, RunWithoutSiteOrLastSiteWritesFailure)
{
    EXPECT_EQ(RunUnattended({"-A"}), 1);
    EXPECT_EQ(Launch(), "1\n\n\n");
}
