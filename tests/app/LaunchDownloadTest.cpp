// The launch letters G and T end to end against the simulator's logger: the
// built program's headless -ALGT run writes the new log file's path to the
// launch file.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "logger/Log1.h"

#include <QDir>
#include <QFile>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using QuorvelTest::SimProcess;

namespace {


class LaunchDownloadTest : public AppFixture {
protected:
    void StartSim(const QStringList& arguments, const QString& scenario)
    {
        sim = std::make_unique<SimProcess>(arguments, scenario);
        StoreSetting("Settings/Comms/LocalPort", sim->PortPath());
    }

    // A site file with short link time-outs in its ini file beside it.
    QString SiteFile()
    {
        const QString site = Path("4660.ste");
        WriteFile(site, EmptySiteFile("Logger site"));
        WriteFile(Path("4660.ini"), QByteArray("[Site]\nComTimeouts=") + SimProcess::ShortTimeouts + "\n");
        return site;
    }

    QStringList LogFiles() const { return QDir(Folder()).entryList({"*.LOG"}, QDir::Files); }

    static QStringList LaunchLines()
    {
        return QString::fromUtf8(ReadFile(LaunchPath())).split('\n');
    }

    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_F(LaunchDownloadTest, HeadlessRunWithGAndTWritesTheNewLogFilesPath)
{
    StartSim({}, "logger prefill 300\n");
    const QString site = SiteFile();

    const AppTest::TProgramRun run = RunProgram({"-ALGT", site});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString() << ReadFile(ErrorLogPath()).toStdString();

    const QStringList lines = LaunchLines();
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString(); // three lines and the end
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[1], site);
    ASSERT_EQ(LogFiles().size(), 1) << LogFiles().join(' ').toStdString();
    EXPECT_EQ(QFileInfo(lines[2]).canonicalFilePath(), QFileInfo(Path(LogFiles()[0])).canonicalFilePath());

    QFile file(lines[2]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TLog1 saved;
    ASSERT_TRUE(saved.LoadFromFile(file));
    EXPECT_EQ(saved.Status.Entries, 300);
    EXPECT_TRUE(saved.CheckLog());
}

// The logger miscounts its entries during its first two holds: two corrupt
// downloads are reported and retried, the third is saved.
TEST_F(LaunchDownloadTest, CorruptLogIsReportedAndRetriedUntilADownloadChecks)
{
    StartSim({}, "logger prefill 50\nlogger clock-stopped\nlogger corrupt-holds 2\n");
    const QString site = SiteFile();
    {
        AppTest::TRecordingView view;
        Quorvel1::TQuorvelW controller(view);
        EXPECT_TRUE(controller.RunLaunch("-ALG", site));
        EXPECT_TRUE(controller.LaunchSucceeded());
    }
    const QString log = QString::fromUtf8(ReadFile(ErrorLogPath()));
    EXPECT_EQ(log.count("Log download failed: Log corruption: Quorvel Error\n"), 2) << log.toStdString();
    ASSERT_EQ(LogFiles().size(), 1);
    EXPECT_EQ(LaunchLines().value(0), "0");
}

// Three corrupt downloads fail the command; at the screen the user is then
// offered to clear logging, and OK restarts the logger with an empty log.
TEST_F(LaunchDownloadTest, ThreeCorruptDownloadsOfferToClearLogging)
{
    const QString dump = Path("logger.dump");
    StartSim({"--dump-logger", dump}, "logger prefill 50\nlogger clock-stopped\nlogger corrupt-holds 3\n");
    AppTest::TRecordingView view;
    Quorvel1::TQuorvelW controller(view);
    ASSERT_TRUE(controller.OpenSite(SiteFile()));
    ASSERT_TRUE(controller.Connect(false));
    view.Answers = {Quorvel1::MessageAnswer::Ok, Quorvel1::MessageAnswer::Ok, Quorvel1::MessageAnswer::Ok,
                    Quorvel1::MessageAnswer::Ok};

    EXPECT_FALSE(controller.DownloadLog());

    QStringList texts;
    for (const AppTest::TAskedMessage& message : view.Messages)
        texts << message.Text;
    EXPECT_EQ(texts, QStringList({"Log download failed: Log corruption", "Log download failed: Log corruption",
                                  "Log download failed: Log corruption", "Clear/reset logging?"}));
    EXPECT_TRUE(LogFiles().isEmpty());
    sim->GetCounts(); // the dump is written first
    const QByteArray state = ReadFile(dump);
    EXPECT_TRUE(state.contains("\nentries=0\n")) << state.left(200).toStdString();
    controller.Disconnect();
}
