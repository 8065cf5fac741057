// The Log tab and the Logging menu's dialogs against the simulator: the
// readings of the logger's devices as value text, a sensor added in the
// device editor and uploaded with Reconfigure that the logger then records,
// the standing jobs going on after the editor, the logger information with
// the simulator's counts and clock, and an interval set in the options and
// uploaded.
#include "support/SimProcess.h"
#include "support/TempFolder.h"
#include "WindowFixture.h"

#include "app/QuorvelW.h"
#include "jobs/PelkThread.h"
#include "logger/DjLogInfo.h"
#include "logger/LogIF.h"
#include "logger/LogInfo.h"
#include "logger/gui/DlgLogDev.h"
#include "logger/gui/DlgLogInf.h"
#include "logger/gui/DlgLogOpts.h"
#include "logger/gui/LBLogDevs.h"
#include "settings/Properties.h"
#include "site/Asm.h"
#include "site/SiteExt.h"

#include <QAction>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class LogDevicesWindowTest : public AppTest::WindowFixture {
protected:
    static constexpr int WaitMs = 20000;

    void Connect()
    {
        Start(window);
        ConnectLocally(window, sim);
        ASSERT_TRUE(Controller().LoggerPresent);
    }

    TQuorvelW& Controller() { return *window.AppController(); }
    TLBLogDevsModel& Devices() { return window.LogDevicesList()->Devices(); }
    int RowOf(const QString& address)
    {
        for (int row = 0; row < Devices().RowCount(); ++row)
            if (Devices().Cell(row, TLBLogDevsModel::AddressColumn) == address)
                return row;
        return -1;
    }
    QString Reading(const QString& address)
    {
        const int row = RowOf(address);
        return row < 0 ? QString("(no row)") : Devices().Cell(row, TLBLogDevsModel::ReadingColumn);
    }

    // Serves the window's events until `done`, at most WaitMs.
    static bool WaitFor(const std::function<bool()>& done) { return WaitUntil(done, WaitMs); }

    // Reconfigure, answering its question yes.
    void Reconfigure()
    {
        AppTest::TMessageBoxAnswerer yes(QMessageBox::Yes);
        Find<QAction>(window, "actReconfigure")->trigger();
        EXPECT_TRUE(yes.Acted);
    }

    std::map<std::string, std::string> LoggerDump()
    {
        sim.GetCounts(); // the dump is written with the counts
        return SimProcess::ReadKeyValues(dumpFolder.file("logger.txt"));
    }

    QuorvelTest::TempFolder dumpFolder;
    SimProcess sim{QStringList{"--dump-logger", dumpFolder.file("logger.txt")}, QString()};
    AppTest::TTestWindow window{QStringList()};
};

} // namespace

// The simulator's ASM (unit 1, airspace 1, message 1) shown with an exponent
// and units of the site's; a sensor without a converter has no reading.
TEST_F(LogDevicesWindowTest, ReadingsShowAsValueTextAndAMissingOneAsDashes)
{
    Connect();
    TSiteExt& site = Controller().Site();
    const int asmIndex = site.FindByKey(TDeviceKey(DevAsm, 0x0221));
    const int sensorIndex = site.FindByKey(TDeviceKey(DevSensor, 0x62));
    ASSERT_GE(asmIndex, 0);
    ASSERT_GE(sensorIndex, 0);
    TDev& asmDev = *site.Devices[std::size_t(asmIndex)];
    asmDev.Exponent = -2;
    asmDev.Units = 'K';
    site.Devices[std::size_t(sensorIndex)]->Subtype = SensorTypeCount; // no converter
    window.RefillLogDevices();

    ASSERT_TRUE(WaitFor([&] { return Reading("ASM1/1/1") != " "; }));
    const QString text = Reading("ASM1/1/1");
    EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d\\dK$").match(text).hasMatch()) << text.toStdString();
    std::int16_t value = 0;
    int exponent = 0;
    if (asmDev.Reading(Controller().Logger().Readings(), value, exponent, 1)) {
        EXPECT_EQ(text, ReadingText(value, -2, 'K'));
    }
    EXPECT_EQ(Reading("SENSOR12/3"), "-----");
}

TEST_F(LogDevicesWindowTest, ASensorAddedInTheEditorIsUploadedAndLogged)
{
    Connect();
    TPelkThread& runner = Controller().Runner();
    int holds = -1;
    AppTest::TWhenModal<TDlgLogDev> edit([&](TDlgLogDev& editor) {
        holds = runner.PauseHolds();
        editor.ChooseClass(1);
        editor.findChild<QLineEdit*>("edName")->setText("NEWSENS");
        editor.findChild<QSpinBox*>("seUnit")->setValue(7);
        editor.findChild<QSpinBox*>("seChan")->setValue(2);
        editor.findChild<QPushButton*>("buttOk")->click();
    });
    window.LogDevicesList()->NewAction()->trigger();
    ASSERT_TRUE(edit.Acted);
    EXPECT_EQ(holds, 1);
    // The standing jobs go on once the editor has closed.
    EXPECT_EQ(runner.PauseHolds(), 0);
    EXPECT_FALSE(runner.IsSuspended());
    ASSERT_GE(RowOf("SENSOR7/2"), 0);
    EXPECT_EQ(Devices().Cell(RowOf("SENSOR7/2"), 0), "NEWSENS");
    EXPECT_EQ(Reading("SENSOR7/2"), " "); // not in the logger's table yet

    Reconfigure();
    const auto dump = LoggerDump();
    ASSERT_TRUE(dump.count("devices"));
    EXPECT_TRUE(QString::fromStdString(dump.at("devices")).split(',').contains("20:0039"))
        << dump.at("devices");
    const int index = Controller().Site().FindByKey(TDeviceKey(DevSensor, 0x39));
    ASSERT_GE(index, 0);
    EXPECT_GE(Controller().Site().Devices[std::size_t(index)]->LoggerIndex, 0);
    // The log readings job reads it with the others.
    EXPECT_TRUE(WaitFor([&] { return Reading("SENSOR7/2") != " "; }));
}

TEST_F(LogDevicesWindowTest, InformationShowsTheSimulatorsCountsAndClock)
{
    Connect();
    QStringList lines;
    AppTest::TWhenModal<TDlgLogInf> info([&](TDlgLogInf& dialog) {
        WaitFor([&] { return !dialog.Lines().isEmpty(); });
        lines = dialog.Lines();
        dialog.accept();
    });
    Find<QAction>(window, "actLogInfo")->trigger();
    ASSERT_TRUE(info.Acted);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], "Sensors/Trips: 2/1,  Outputs/On-offs: 1/1,  ASMs: 1");
    EXPECT_TRUE(lines[1].startsWith("Interval: 900s,  New/Entries: ")) << lines[1].toStdString();
    // The simulator's clock is the PC's local time: the same day.
    const QString today = LogInfoTimeText(TLogTimeSource::SystemLocalNow()).section(' ', 0, -2);
    EXPECT_TRUE(lines[6].startsWith("Logger time: " + today)) << lines[6].toStdString();
    EXPECT_EQ(lines[8], "Resets: 0, ChkErrs: 0");
    // The job is gone with the dialog; the standing jobs go on.
    EXPECT_EQ(Controller().Runner().PauseHolds(), 0);
    EXPECT_FALSE(Controller().Runner().IsSuspended());
}

TEST_F(LogDevicesWindowTest, IntervalSetInTheOptionsIsUploaded)
{
    Connect();
    Controller().Site().SetModified(false);
    AppTest::TWhenModal<TDlgLogOpts> options([&](TDlgLogOpts& dialog) {
        dialog.findChild<QSpinBox*>("seInterval")->setValue(600);
        dialog.findChild<QPushButton*>("buttOk")->click();
    });
    Find<QAction>(window, "actLogOptions")->trigger();
    ASSERT_TRUE(options.Acted);
    EXPECT_EQ(Controller().Site().LogInterval, 600);
    EXPECT_TRUE(Controller().Site().IsModified());
    Reconfigure();
    EXPECT_EQ(LoggerDump().at("interval"), "600");
}

// The dialog closes in the update before one of the job's steps, so that
// the update after that step comes once the dialog has gone: it must find
// the job cut off from the dialog. The job's updates come after its first
// step, then before and after each further step, so the second is a "before".
TEST_F(LogDevicesWindowTest, InformationJobShowsNothingOnceTheDialogHasClosed)
{
    Connect();
    int shown = 0;
    int shownAfterClose = 0;
    bool closed = false;
    TDlgLogInf::ShowLogInfo(Controller().Runner(), Controller().Logger(), &window,
                            [&](TDlgLogInf& dialog, TDjLogInfo& job) {
                                job.SetView([&](const TLogInfo& info) {
                                    if (closed) {
                                        ++shownAfterClose;
                                        return;
                                    }
                                    dialog.ShowInfo(info);
                                    if (++shown == 2) {
                                        closed = true;
                                        dialog.accept();
                                    }
                                });
                            });
    EXPECT_TRUE(closed);
    EXPECT_EQ(Controller().Runner().PauseHolds(), 0);
    // The update after the step under way when the dialog closed.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(shownAfterClose, 0);
    EXPECT_FALSE(Controller().Runner().IsSuspended());
}
