// The download job on the job runner against the simulator: its names, the
// site's last log, and a retry that never appends to the previous file.
#include "logger/DjLogJob.h"
#include "logger/LogDownload.h"
#include "logger/LogIF.h"

#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "site/SiteExt.h"
#include "support/SimLinkFixture.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

using namespace Quorvel1;

namespace {

// New log files go to the current folder when the site has no file.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : previous_(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

class LogDownloadJobTest : public ::testing::Test, public QuorvelTest::SimLinkFixture {};

} // namespace

TEST_F(LogDownloadJobTest, NameCarriesTheRetryNumber)
{
    TLogIF log(link);
    TSiteExt site;
    TPelkThread runner(link);
    auto* first = new TDjLogDL(runner, log, site, 0);
    auto* retry = new TDjLogDL(runner, log, site, 2);
    EXPECT_EQ(first->Name, "Download Log");
    EXPECT_EQ(retry->Name, "Download Log Retry: 2");
    EXPECT_EQ(first->Period, 0);
    first->Release();
    retry->Release();
}

TEST_F(LogDownloadJobTest, JobsDownloadIntoTheSitesLastLogAndRetriesStartANewFile)
{
    QuorvelTest::TempFolder files;
    CurrentFolder current(files.path());
    Connect({}, "logger prefill 50\nlogger clock-stopped\n");
    TLogIF log(link);
    ASSERT_TRUE(log.Open());
    const uint16_t number = log.ConfigWord(2);
    TSiteExt site;
    TPelkThread runner(link);

    EXPECT_TRUE(runner.RunJob(new TDjLogDL(runner, log, site, 0), false));
    const QString firstName = QString::number(link.IdentityWord) + QChar('A' + number / 100)
        + QStringLiteral("%1.LOG").arg(number % 100, 2, 10, QChar('0'));
    EXPECT_EQ(site.LastLog, firstName);
    EXPECT_TRUE(QFile::exists(firstName));
    EXPECT_FALSE(log.StatusCallback); // removed after the job

    // Nothing new in the logger: a first attempt would merge into the same
    // file, a retry writes a new one.
    ASSERT_TRUE(log.Open());
    EXPECT_TRUE(runner.RunJob(new TDjLogDL(runner, log, site, 1), false));
    EXPECT_NE(site.LastLog, firstName);
    EXPECT_EQ(files.Entries().size(), 2);
    EXPECT_EQ(log.DownloadFailure, LogDlNone);
    runner.StopAll();
}

TEST_F(LogDownloadJobTest, FailedDownloadFailsTheJob)
{
    Connect({}, "logger prefill 5\nlogger clock-stopped\n");
    TLogIF log(link); // never opened
    TSiteExt site;
    TPelkThread runner(link);
    EXPECT_FALSE(runner.RunJob(new TDjLogDL(runner, log, site, 0), false));
    EXPECT_EQ(log.DownloadFailure, LogDlLinkError);
    EXPECT_FALSE(log.StatusCallback);
    runner.StopAll();
}
