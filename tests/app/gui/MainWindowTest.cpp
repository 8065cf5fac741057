// The main window over the controller, on the offscreen platform: captions,
// the save question, the idle rules, hints and the status panels, and an
// automatic run that stays open.
#include "support/AppFixture.h"
#include "WindowFixture.h"

#include "app/gui/FQw.h"
#include "app/QuorvelW.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using AppTest::TMessageBoxAnswerer;
using AppTest::TTestWindow;

namespace {

class MainWindowTest : public AppTest::WindowFixture {
protected:
    MainWindowTest() { WriteFile(Path("north.ste"), EmptySiteFile("North store")); }

    static QString Panel(const TFQw& window, const char* name)
    {
        return Find<QLabel>(window, name)->text();
    }

    static void TypeKey(QWidget* widget)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(widget, &press);
    }
};

} // namespace

TEST_F(MainWindowTest, StartWithoutASiteShowsAnUntitledSiteOffline)
{
    TTestWindow window{QStringList()};
    Start(window);
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - Untitled");
    EXPECT_EQ(Panel(window, "LinkStatus"), "OFFLINE");
    EXPECT_EQ(Panel(window, "Spare"), QUORVEL_VERSION);
    EXPECT_EQ(Find<QLabel>(window, "lblDebug")->text(), " ");
    auto* pages = Find<QTabWidget>(window, "PageControl");
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "Site");
    EXPECT_FALSE(pages->isTabVisible(4)); // Unit X
}

TEST_F(MainWindowTest, NewMakesTheCaptionEndInUntitled)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - north");
    EXPECT_EQ(Find<QLineEdit>(window, "edDescription")->text(), "North store");
    Find<QAction>(window, "actNew")->trigger(); // the changed site is saved: AutoSave is on
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - Untitled");
    EXPECT_EQ(Find<QLineEdit>(window, "edDescription")->text(), "");
}

TEST_F(MainWindowTest, OpenAndSaveAsShowTheSiteNameInTheCaption)
{
    TTestWindow window{QStringList()};
    Start(window);
    window.OpenNames = {Path("north.ste")};
    Find<QAction>(window, "actOpen")->trigger();
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - north");

    Find<QLineEdit>(window, "edDescription")->setText("Copied store");
    window.SaveNames = {Path("copy.ste")};
    Find<QAction>(window, "actSaveAs")->trigger();
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - copy");
    EXPECT_EQ(ReadFile(Path("copy.ste")).mid(2, 13), QByteArray("Copied store\0", 13));
}

TEST_F(MainWindowTest, TypingInTheSiteFieldsMarksTheSiteChanged)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Site().SetModified(false);
    TypeKey(Find<QLineEdit>(window, "edTelephone"));
    EXPECT_TRUE(controller.Site().IsModified());
}

TEST_F(MainWindowTest, SiteFieldsTakeAtMostFortyCharacters)
{
    TTestWindow window{QStringList()};
    Start(window);
    EXPECT_EQ(Find<QLineEdit>(window, "edDescription")->maxLength(), 40);
    EXPECT_EQ(Find<QLineEdit>(window, "edTelephone")->maxLength(), 40);
}

TEST_F(MainWindowTest, CancelToTheSaveQuestionKeepsTheChangedSite)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().AutoSave = false;
    controller.Site().SetModified(true);

    TMessageBoxAnswerer answerer(QMessageBox::Cancel);
    Find<QAction>(window, "actNew")->trigger();
    EXPECT_EQ(answerer.Text, "Save changes to site?");
    EXPECT_EQ(window.windowTitle(), "QuorvelXP - north");
    EXPECT_EQ(Find<QLineEdit>(window, "edDescription")->text(), "North store");
    EXPECT_TRUE(controller.Site().IsModified());
}

TEST_F(MainWindowTest, CancelToTheSaveQuestionKeepsTheProgramOpen)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    window.AppController()->Properties().AutoSave = false;
    window.AppController()->Site().SetModified(true);

    TMessageBoxAnswerer answerer(QMessageBox::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(answerer.Text, "Save changes to site?");
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(window.AppController(), nullptr);
}

TEST_F(MainWindowTest, ClosingEndsTheController)
{
    TTestWindow window{QStringList()};
    Start(window);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(window.AppController(), nullptr);
    EXPECT_EQ(Controller(), nullptr);
}

TEST_F(MainWindowTest, AutoSaveHidesSave)
{
    TTestWindow window{QStringList()};
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().AutoSave = true;
    window.ApplyIdleRules();
    EXPECT_FALSE(Find<QAction>(window, "actSave")->isVisible());
    EXPECT_FALSE(Find<QAction>(window, "tbSave")->isVisible());

    controller.Properties().AutoSave = false;
    window.ApplyIdleRules();
    EXPECT_TRUE(Find<QAction>(window, "actSave")->isVisible());
    EXPECT_TRUE(Find<QAction>(window, "tbSave")->isVisible());
}

TEST_F(MainWindowTest, SaveIsEnabledOnlyForAChangedSite)
{
    TTestWindow window{QStringList()};
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().AutoSave = false;
    controller.Site().SetModified(false);
    window.ApplyIdleRules();
    EXPECT_FALSE(Find<QAction>(window, "actSave")->isEnabled());
    controller.Site().SetModified(true);
    window.ApplyIdleRules();
    EXPECT_TRUE(Find<QAction>(window, "actSave")->isEnabled());
}

TEST_F(MainWindowTest, ConnectRemoteNeedsATelephoneNumberInTheField)
{
    TTestWindow window{QStringList()};
    Start(window);
    window.ApplyIdleRules();
    EXPECT_FALSE(Find<QAction>(window, "actConnectRemote")->isEnabled());
    EXPECT_FALSE(Find<QAction>(window, "tbDial")->isEnabled());
    Find<QLineEdit>(window, "edTelephone")->setText("0123 456789");
    window.ApplyIdleRules();
    EXPECT_TRUE(Find<QAction>(window, "actConnectRemote")->isEnabled());
    EXPECT_TRUE(Find<QAction>(window, "tbDial")->isEnabled());
}

TEST_F(MainWindowTest, OfflineTheNetworkAndLoggerCommandsAreDisabled)
{
    TTestWindow window{QStringList()};
    Start(window);
    window.ApplyIdleRules();
    for (const char* name : {"actDisconnect", "tbHangUp", "actScanUnits", "actClearAlarms",
                             "actDebug", "actDownload", "tbDownload", "actReconfigure",
                             "actSetTime", "actRunTiming"})
        EXPECT_FALSE(Find<QAction>(window, name)->isEnabled()) << name;
    for (const char* name : {"actNew", "actOpen", "tbOpen", "actSaveAs", "actConnectLocal",
                             "actProperties", "actUnit0Settings", "actLogOptions"})
        EXPECT_TRUE(Find<QAction>(window, name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QAction>(window, "tbNewSite")->isVisible());
    EXPECT_FALSE(Find<QMenu>(window, "menuTools")->menuAction()->isVisible());
}

TEST_F(MainWindowTest, WhileRemoteTheSiteCommandsAreDisabled)
{
    TTestWindow window{QStringList()};
    Start(window);
    TQuorvelW& controller = *window.AppController();
    Find<QLineEdit>(window, "edTelephone")->setText("0123 456789");
    controller.Online = true;
    controller.ModemCall = true;
    window.ApplyIdleRules();
    EXPECT_EQ(Panel(window, "LinkStatus"), "REMOTE");
    for (const char* name : {"actOpen", "actNew", "actSave", "actProperties", "actConnectLocal",
                             "actConnectRemote"})
        EXPECT_FALSE(Find<QAction>(window, name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QAction>(window, "actDisconnect")->isEnabled());
    controller.ModemCall = false;
    window.ApplyIdleRules();
    EXPECT_EQ(Panel(window, "LinkStatus"), "LOCAL");
    controller.Online = false;
}

TEST_F(MainWindowTest, HintsGoToTheFirstStatusPanel)
{
    TTestWindow window{QStringList()};
    Start(window);
    Find<QAction>(window, "actOpen")->showStatusText(&window);
    EXPECT_EQ(Panel(window, "Status"), "Open a site");
    Find<QAction>(window, "tbDial")->showStatusText(&window);
    EXPECT_EQ(Panel(window, "Status"), "Dial remote site");
    EXPECT_EQ(Find<QAction>(window, "tbHangUp")->toolTip(), "Hang-up (disconnect)");
    EXPECT_EQ(Find<QAction>(window, "tbOpen")->toolTip(), "Open");
}

TEST_F(MainWindowTest, OptionsTextShowsTheSitesSerialSpeed)
{
    WriteFile(Path("north.ini"), "[Site]\nComSpeed=9600\n");
    TTestWindow window({Path("north.ste")});
    Start(window);
    EXPECT_EQ(Find<QLabel>(window, "lblOptionsText")->text(), "9600");
    EXPECT_FALSE(Find<QLabel>(window, "lblOptions")->isHidden());
}

TEST_F(MainWindowTest, OptionsLabelIsHiddenWithoutModemOrSpeed)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    EXPECT_EQ(Find<QLabel>(window, "lblOptionsText")->text(), "");
    EXPECT_TRUE(Find<QLabel>(window, "lblOptions")->isHidden());
}

TEST_F(MainWindowTest, AutomaticRunWithStayOpenKeepsItsWindow)
{
    TTestWindow window({"-AO", Path("north.ste")});
    Start(window);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    ASSERT_NE(window.AppController(), nullptr);
    EXPECT_TRUE(window.AppController()->Automatic);
    EXPECT_EQ(ReadFile(LaunchPath()), "1\n" + Path("north.ste").toUtf8() + "\n\n");
}

TEST_F(MainWindowTest, WindowPositionIsKeptForTheNextStart)
{
    {
        TTestWindow window{QStringList()};
        Start(window);
        window.resize(640, 480);
        ASSERT_TRUE(window.close());
    }
    TTestWindow window{QStringList()};
    EXPECT_EQ(window.size(), QSize(640, 480));
}
