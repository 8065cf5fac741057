// A download job that saves nothing leaves the site's last log as it was:
// the next download appends to that file and an unattended run names it,
// so it must never name a file that was not written.
#include "logger/DjLogJob.h"
#include "logger/LogDownload.h"
#include "logger/LogIF.h"

#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "site/SiteExt.h"
#include "support/SimLinkFixture.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Quorvel1;

TEST(LogDownloadLastLogTest, UnsavedDownloadKeepsThePreviousLastLog)
{
    const struct {
        const char* Case;
        const char* Scenario;
        bool SiteFolderBlocked;
        std::uint8_t Failure;
    } rows[] = {
        {"log fails its check", "logger corrupt-holds 1\n", false, LogDlCorrupt},
        {"log file cannot be written", "", true, LogDlSaveFailed},
    };
    for (const auto& row : rows) {
        QuorvelTest::TempFolder files;
        // A regular file where the site's folder should be: nothing can be
        // created in it, not even by root.
        ASSERT_TRUE(files.WriteBytes("blocked", "not a folder"));
        const QString siteFolder = row.SiteFolderBlocked ? files.file("blocked") : files.path();
        QuorvelTest::SimLinkFixture simulator;
        simulator.Connect({}, QStringLiteral("logger prefill 50\nlogger clock-stopped\n") + row.Scenario);
        Pelk::TMestraIF& link = simulator.link;
        TLogIF log(link);
        ASSERT_TRUE(log.Open());
        TSiteExt site;
        site.Ini.Open(siteFolder + "/site.ini");
        const QString previous = files.file("77A01.LOG");
        site.SetLastLog(previous);
        TPelkThread runner(link);

        EXPECT_FALSE(runner.RunJob(new TDjLogDL(runner, log, site, 0), false)) << row.Case;
        EXPECT_EQ(log.DownloadFailure, row.Failure) << row.Case;
        EXPECT_EQ(site.LastLog, previous) << row.Case;
        if (!row.SiteFolderBlocked) {
            EXPECT_EQ(site.IniLastLog.Read(), previous) << row.Case;
        }
        EXPECT_EQ(QDir(files.path()).entryList({"*.LOG"}, QDir::Files), QStringList()) << row.Case;
        runner.StopAll();
    }
}
