// An unattended run whose download never saved a log leaves no last log
// behind: the next run, which does not download, names no log file in its
// launch file rather than one that was never written.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "site/SiteExt.h"

#include <QDir>

using QuorvelTest::SimProcess;

namespace {

class LaunchLastLogTest : public AppTest::AppFixture {};

} // namespace

TEST_F(LaunchLastLogTest, ThreeUnsavedDownloadsLeaveNoLastLogForTheNextRun)
{
    // The logger miscounts its entries in each of the three attempts' holds.
    SimProcess sim({}, "logger prefill 50\nlogger clock-stopped\nlogger corrupt-holds 3\n");
    StoreSetting("Settings/Comms/LocalPort", sim.PortPath());
    const QString site = Path("4660.ste");
    WriteFile(site, AppTest::EmptySiteFile("Logger site"));
    WriteFile(Path("4660.ini"), QByteArray("[Site]\nComTimeouts=") + SimProcess::ShortTimeouts + "\n");

    for (const char* options : {"-ALG", "-AL"}) {
        AppTest::TRecordingView view;
        Quorvel1::TQuorvelW controller(view);
        controller.RunLaunch(options, site);
        EXPECT_EQ(controller.Site().LastLog, QString()) << options;
        const QStringList lines = QString::fromUtf8(ReadFile(LaunchPath())).split('\n');
        ASSERT_EQ(lines.size(), 4) << options;
        EXPECT_EQ(lines[2], QString()) << options;
    }
    EXPECT_EQ(QDir(Folder()).entryList({"*.LOG"}, QDir::Files), QStringList());
    EXPECT_EQ(QString::fromUtf8(ReadFile(ErrorLogPath())).count("Log download failed: Log corruption"), 3);
}
