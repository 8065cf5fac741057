// The memory viewer against the simulator: reads of a unit's RAM and EE as
// the simulator holds them, SetVal changing its memory, units that do not
// answer or answer wrongly still addressed, refused numbers, and the
// standing jobs held while the window shows.
#include "WindowFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "units/gui/DlgDbg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

const QString ViewerSite = QStringLiteral("ram 0x5000 words 0xBEEF\n"
                                          "unit 5 app 0x0C05 name FRIDGE5\n"
                                          "unit 5 ram 0x18 words 0x1234 0x5678\n"
                                          "unit 5 ee 0x20 words 0x00F0\n"
                                          "unit 9 wrong-code\n");

class MemoryViewerTest : public AppTest::WindowFixture {
protected:
    void SetUp() override { Start(window); }

    void Connect() { ConnectLocally(window, sim); }
    TdlgDbg& Open()
    {
        Find<QAction>(window, "actDebug")->trigger();
        return *window.MemoryViewer();
    }
    static QString FirstLine(const TdlgDbg& viewer)
    {
        return viewer.Log()->toPlainText().section('\n', 0, 0);
    }
    static void Goto(TdlgDbg& viewer, const QString& address, bool word, bool ram)
    {
        viewer.SizeBox()->setChecked(word);
        viewer.MemBox()->setChecked(ram);
        viewer.AddressField()->setText(address);
        viewer.Goto();
    }

    SimProcess sim{QStringList{}, ViewerSite};
    AppTest::TTestWindow window{QStringList()};
};

TEST_F(MemoryViewerTest, ReadsAUnitsRamAndEeAsTheUnitHoldsThem)
{
    Connect();
    TdlgDbg& viewer = Open();
    EXPECT_EQ(viewer.AddressField()->text(), "x18");
    EXPECT_FALSE(viewer.SetValButton()->isEnabled());
    viewer.SelectUnit(5);
    EXPECT_EQ(viewer.windowTitle(), "Debug- Unit 5, Application 012-005");
    EXPECT_EQ(viewer.Status()->text(), "Selected");

    Goto(viewer, "X1B", true, true); // a RAM word at the even address below
    EXPECT_EQ(FirstLine(viewer), "U05 RW 001A 00026:\t5678 \t 22136");
    Goto(viewer, "x20", true, false);
    EXPECT_EQ(FirstLine(viewer), "U05 EW 0020 00032:\t00F0 \t   240");
    viewer.SizeBox()->setChecked(false);
    viewer.Next();
    EXPECT_EQ(FirstLine(viewer), "U05 EB 0021 00033:\t0000 \t     0");
    EXPECT_EQ(viewer.Log()->toPlainText().count('\n'), 2);
    viewer.Refresh();
    EXPECT_EQ(viewer.Log()->toPlainText().count('\n'), 2); // replaced, not added
    EXPECT_EQ(viewer.ValueField()->text(), "0");

    viewer.SelectUnit(0);
    Goto(viewer, "x5000", true, true);
    EXPECT_EQ(FirstLine(viewer), "U00 RW 5000 20480:\tBEEF \t 48879");
}

TEST_F(MemoryViewerTest, SetValWritesWhereTheLastReadWasAndRefusesValuesOutOfRange)
{
    Connect();
    TdlgDbg& viewer = Open();
    viewer.SelectUnit(5);
    EXPECT_FALSE(viewer.SetValButton()->isEnabled()); // nothing read on unit 5 yet
    Goto(viewer, "x20", false, false);
    ASSERT_TRUE(viewer.SetValButton()->isEnabled());

    viewer.SizeBox()->setChecked(true); // SetVal keeps the size of the read
    viewer.ValueField()->setText("x7E");
    viewer.SetVal();
    EXPECT_EQ(FirstLine(viewer), "U05 EB 0020 00032:\t007E \t   126");

    AppTest::TMessageBoxAnswerer refused(QMessageBox::Ok);
    viewer.ValueField()->setText("300");
    viewer.SetVal();
    EXPECT_EQ(refused.Text, "Value out of range: 300");
    EXPECT_EQ(FirstLine(viewer), "U05 EB 0020 00032:\t007E \t   126");

    viewer.close();
    Pelk::TMestraIF& link = window.AppController()->Link();
    window.AppController()->Runner().Pause();
    link.SelectUnit(5, false);
    EXPECT_EQ(link.ReadWord(0x20, Pelk::TMestraIF::Ee), 0x007E); // the high byte untouched
}

TEST_F(MemoryViewerTest, BadNumbersAreRefusedWithTheirText)
{
    Connect();
    TdlgDbg& viewer = Open();
    struct {
        const char* address;
        const char* message;
    } const cases[] = {{"xZZ", "Invalid value: ZZ"}, {"70000", "Address out of range: 70000"}};
    for (const auto& c : cases) {
        AppTest::TMessageBoxAnswerer box(QMessageBox::Ok);
        Goto(viewer, c.address, true, true);
        EXPECT_EQ(box.Text, c.message);
        EXPECT_TRUE(viewer.Log()->toPlainText().isEmpty());
    }
}

TEST_F(MemoryViewerTest, AUnitThatDoesNotAnswerRightIsStillTheOneAddressed)
{
    Connect();
    TdlgDbg& viewer = Open();
    Pelk::TMestraIF& link = window.AppController()->Link();
    for (int unit : {7, 9}) { // absent; answers with the wrong code
        viewer.SelectUnit(5);
        viewer.SelectUnit(unit);
        EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Debug- Unit %1, Application unknown").arg(unit));
        EXPECT_EQ(viewer.Status()->text(), "Select unit failed");
        EXPECT_EQ(link.Unit, unit);
        EXPECT_EQ(viewer.UnitBox()->currentText(), QString::number(unit));
    }
    EXPECT_EQ(viewer.UnitBox()->count(), 31);
    EXPECT_FALSE(viewer.UnitBox()->isEditable());
}

TEST_F(MemoryViewerTest, TheStandingJobsAreHeldWhileItShows)
{
    Connect();
    TPelkThread& runner = window.AppController()->Runner();
    TdlgDbg& viewer = Open();
    EXPECT_EQ(runner.PauseHolds(), 1);
    EXPECT_TRUE(runner.IsSuspended());
    viewer.SelectUnit(0);
    const auto before = sim.GetCounts()["frames_answered"];
    Goto(viewer, "x5000", true, true);
    EXPECT_EQ(sim.GetCounts()["frames_answered"], before + 1); // the viewer's read alone

    viewer.close();
    EXPECT_EQ(runner.PauseHolds(), 0);
    QDeadlineTimer deadline(10000);
    while (sim.GetCounts()["frames_answered"] <= before + 1 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GT(sim.GetCounts()["frames_answered"], before + 1);
}

TEST_F(MemoryViewerTest, ThePopupMirrorsTheCheckBoxes)
{
    TdlgDbg viewer(window.AppController()->Runner(), [](const QString&) {});
    viewer.SizeBox()->setChecked(false);
    emit viewer.Popup()->aboutToShow();
    QAction* byte = nullptr;
    QAction* eeprom = nullptr;
    for (QAction* action : viewer.Popup()->actions()) {
        if (action->text() == "Byte")
            byte = action;
        if (action->text() == "EEPROM")
            eeprom = action;
    }
    ASSERT_TRUE(byte && eeprom);
    EXPECT_TRUE(byte->isChecked());
    EXPECT_FALSE(eeprom->isChecked());
    eeprom->trigger();
    EXPECT_FALSE(viewer.MemBox()->isChecked());
}

} // namespace
