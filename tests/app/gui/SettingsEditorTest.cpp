// The EE settings editor from the main window: offline it shows the image
// read-only or, without a processor identifier, refuses to open; online
// against the simulator it follows the unit, writes an edit, copies its
// table, and Exit in the middle of the loop closes it with the standing
// jobs running again.
#include "WindowFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "settings/Properties.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/EESetsLoop.h"
#include "units/EESetsModel.h"
#include "units/gui/DlgEESets.h"
#include "units/gui/DlgUnitX.h"

#include <QAction>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class SettingsEditorTest : public AppTest::WindowFixture {
protected:
    void SetUp() override
    {
        // An untitled site keeps its image files in the current folder.
        QDir::setCurrent(Folder());
        Start(window);
    }

    void Connect() { ConnectLocally(window, sim); }
    static bool WaitFor(const std::function<bool()>& done, int ms = 20000) { return WaitUntil(done, ms); }
    TPelkThread& Runner() { return window.AppController()->Runner(); }

    SimProcess sim{QStringList{}, QStringLiteral("ee 0x100 words 0x2211\n"
                                                 "unit 5 app 0x0C05 name FRIDGE5\n"
                                                 "unit 5 ee 32 words 0x0102 0x0304\n")};
    AppTest::TTestWindow window{QStringList()};
};

TEST_F(SettingsEditorTest, WithoutAProcessorIdTheEditorDoesNotOpen)
{
    AppTest::TMessageBoxAnswerer box(QMessageBox::Ok);
    Find<QAction>(window, "actUnit0Settings")->trigger();
    EXPECT_EQ(box.Text, "Couldn't get processor id for Unit0");
    EXPECT_EQ(box.Caption, "Settings");
    EXPECT_EQ(Runner().PauseHolds(), 0);
}

TEST_F(SettingsEditorTest, OfflineTheImageIsShownReadOnly)
{
    window.AppController()->Site().SetProcessorId(0, 4660);
    window.AppController()->Site().EEImage(0)->StoreRead(3, 0x80);
    AppTest::TWhenModal<TDlgEESets> look([&](TDlgEESets& editor) {
        EXPECT_EQ(editor.windowTitle(), "EE: U0,000-000 Processor: 4660");
        EXPECT_EQ(editor.Grid()->model()->rowCount(), 512);
        const QModelIndex byte = editor.Model()->index(3, TEESetsModel::Byte);
        EXPECT_EQ(byte.data().toString(), "128");
        EXPECT_EQ(editor.Model()->index(3, TEESetsModel::Char).data().toString(), "-128");
        EXPECT_FALSE(editor.Model()->flags(byte) & Qt::ItemIsEditable);
        EXPECT_FALSE(editor.TrackButton()->isEnabled());
        EXPECT_FALSE(editor.Loop()->IsRunning());
        EXPECT_EQ(Runner().PauseHolds(), 1);
        editor.ExitButton()->click();
    });
    Find<QAction>(window, "actUnit0Settings")->trigger();
    EXPECT_TRUE(look.Acted);
    EXPECT_EQ(Runner().PauseHolds(), 0);
}

TEST_F(SettingsEditorTest, OnlineAnEditReachesTheUnitAndExitEndsTheLoop)
{
    Connect();
    QString firstCopied;
    QStringList statuses;
    AppTest::TWhenModal<TDlgEESets> edit([&](TDlgEESets& editor) {
        QObject::connect(editor.Loop(), &TEESetsLoop::Status, [&](const QString& text) { statuses << text; });
        ASSERT_TRUE(WaitFor([&] { return editor.Loop()->IsRunning(); }));
        EXPECT_EQ(Runner().PauseHolds(), 1);
        const QModelIndex cell = editor.Model()->index(0x100, TEESetsModel::Byte);
        EXPECT_TRUE(editor.Model()->setData(cell, "77", Qt::EditRole));
        ASSERT_TRUE(WaitFor([&] {
            return statuses.contains("Writing address: 256")
                   && editor.Model()->Image().GetState(0x100) == EEState::Read;
        }));
        EXPECT_EQ(cell.data().toString(), "77");
        EXPECT_EQ(editor.Model()->index(0x101, TEESetsModel::Byte).data().toString(), "34"); // 0x22
        // Track: the next read is at the address of the top visible row.
        editor.Grid()->scrollTo(editor.Model()->index(0x80, 0), QAbstractItemView::PositionAtTop);
        ASSERT_EQ(editor.Grid()->rowAt(0), 0x80);
        EXPECT_TRUE(editor.TrackButton()->isEnabled());
        statuses.clear();
        editor.TrackButton()->click();
        ASSERT_TRUE(WaitFor([&] { return statuses.size() >= 2; }));
        EXPECT_EQ(statuses.at(1), "Reading address: 128");
        editor.Copy();
        firstCopied = QGuiApplication::clipboard()->text().section('\n', 0, 0);
        editor.ExitButton()->click();
    });
    Find<QAction>(window, "actUnit0Settings")->trigger();
    EXPECT_TRUE(edit.Acted);
    EXPECT_EQ(firstCopied, "Addr\tName\tByte\tChar\tWord\tInt");
    EXPECT_EQ(Runner().PauseHolds(), 0);
    EXPECT_TRUE(WaitFor([&] { return !Runner().IsSuspended(); }));

    Runner().Pause();
    Pelk::TMestraIF& link = window.AppController()->Link();
    link.SelectUnit(0, false);
    EXPECT_EQ(link.ReadWord(0x100, Pelk::TMestraIF::Ee), 0x224D);
}

TEST_F(SettingsEditorTest, TheUnitViewsSettingsOpensItOnTheUnitShown)
{
    const QString stPath = TConfigBlock::SettingsAddressPath(0x0C05);
    QDir().mkpath(QFileInfo(stPath).path());
    WriteFile(stPath, "012-005,FRIDGE5\r\n32,SETPOINT\r\n34,END\r\n");
    TSiteExt& site = window.AppController()->Site();
    site.AddUnit(std::make_unique<TUnit>(5, 1, 1, 0, 0, QByteArray("FRIDGE5"), 0x0C05));
    site.RebuildUnitTable();
    Connect();
    window.AppController()->ShowUnit(5);

    QStringList statuses;
    QString caption;
    AppTest::TWhenModal<TDlgEESets> look([&](TDlgEESets& editor) {
        caption = editor.windowTitle();
        QObject::connect(editor.Loop(), &TEESetsLoop::Status, [&](const QString& text) { statuses << text; });
        EXPECT_TRUE(WaitFor([&] { return statuses.size() >= 3; }));
        EXPECT_EQ(editor.Model()->index(32, TEESetsModel::Name).data().toString(), "SETPOINT");
        EXPECT_TRUE(WaitFor([&] { return editor.Model()->index(34, TEESetsModel::Word).data().toString() == "772"; }));
        editor.ExitButton()->click();
    });
    for (QAction* action : window.UnitView()->Popup()->actions()) {
        if (action->text() == "Settings ...")
            action->trigger();
    }
    QFile::remove(stPath);
    ASSERT_TRUE(look.Acted);
    EXPECT_EQ(caption, "EE: U5,012-005 Processor: 1005");
    ASSERT_GE(statuses.size(), 3);
    EXPECT_EQ(statuses.mid(0, 3), QStringList({"Reading address: 32", "Reading address: 34", "Reading address: 32"}));
}

} // namespace
