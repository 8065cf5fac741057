// What the main window shows of itself: the hints of its menu items and tool
// buttons (tool tip and status text), its tabs (Map only with a picture,
// Unit X only once a unit is shown, the map's Stretch item), the options
// text of a site's modem and speed, the About box's lines, and its state
// and position kept for the next start.
#include "WindowFixture.h"

#include "app/MemoryFigures.h"
#include "app/QuorvelW.h"
#include "app/gui/AboutBox.h"
#include "site/SiteExt.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTabWidget>
#include <QToolBar>

using namespace Quorvel1;
using AppTest::EmptySiteFile;
using AppTest::TTestWindow;
using AppTest::TWhenModal;

namespace {

struct THintRow {
    const char* name;
    const char* toolTip; // null: not checked (a menu item's tip is not shown)
    const char* statusTip;
};

const THintRow Hints[] = {
    {"actNew", "Create new site file", "Create new site file"},
    {"actOpen", "Open a site", "Open a site"},
    {"actSave", "Save current site", "Save current site"},
    {"actSaveAs", "Name and save site", "Name and save site"},
    {"actConnectLocal", "Connect through serial port", "Connect through serial port"},
    {"actConnectRemote", "Connect through modem", "Connect through modem"},
    {"actDisconnect", "Terminate current connection", "Terminate current connection"},
    {"actExit", "Exit application", "Exit application"},
    {"actProperties", nullptr, ""},
    {"actClearAlarms", nullptr, ""},
    {"actScanUnits", "Scan for units", "Scan for units"},
    {"actDebug", nullptr, ""},
    {"actUnit0Settings", nullptr, ""},
    {"actDownload", nullptr, ""},
    {"actReconfigure", "Upload log configuration", "Upload log configuration"},
    {"actSetTime", "Set logger time from PC", "Set logger time from PC"},
    {"actLogOptions", nullptr, ""},
    {"actLogInfo", nullptr, ""},
    {"actRunTiming", nullptr, ""},
    {"actAbout", nullptr, ""},
    // Tool buttons: "short|long".
    {"tbOpen", "Open", ""},
    {"tbSave", "Save", ""},
    {"tbNewSite", "New site", ""},
    {"tbDial", "Dial remote site", "Dial remote site"},
    {"tbHangUp", "Hang-up (disconnect)", "Hang-up (disconnect)"},
    {"tbDownload", "Download log data", "Download log data"},
    {"tbExit", "Exit", ""},
};

class MainWindowViewTest : public AppTest::WindowFixture {
protected:
    MainWindowViewTest() { WriteFile(Path("north.ste"), EmptySiteFile("North store")); }

    static QTabWidget* Pages(const TFQw& window) { return Find<QTabWidget>(window, "PageControl"); }
    static bool TabShown(const TFQw& window, const char* page)
    {
        QTabWidget* pages = Pages(window);
        return pages->isTabVisible(pages->indexOf(Find<QWidget>(window, page)));
    }
    static QString OptionsText(const TFQw& window)
    {
        return Find<QLabel>(window, "lblOptionsText")->text();
    }
};

} // namespace

TEST_F(MainWindowViewTest, HintsGiveToolTipsAndStatusTexts)
{
    TTestWindow window{QStringList()};
    Start(window);
    auto* bar = Find<QToolBar>(window, "ToolBar");
    for (const THintRow& row : Hints) {
        auto* action = Find<QAction>(window, row.name);
        EXPECT_EQ(action->statusTip(), row.statusTip) << row.name;
        if (row.toolTip) {
            EXPECT_EQ(action->toolTip(), row.toolTip) << row.name;
        }
        if (QWidget* button = bar->widgetForAction(action)) {
            EXPECT_EQ(button->toolTip(), row.toolTip) << row.name;
        }
        // Panel 0 shows the status text, an empty one too.
        window.SetStatusText("previous", 0);
        action->showStatusText(&window);
        EXPECT_EQ(Find<QLabel>(window, "Status")->text(), row.statusTip) << row.name;
    }
}

TEST_F(MainWindowViewTest, ToolButtonsShowAPictureAndTheirText)
{
    TTestWindow window{QStringList()};
    Start(window);
    auto* bar = Find<QToolBar>(window, "ToolBar");
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    for (const char* name : {"tbOpen", "tbSave", "tbNewSite", "tbDial", "tbHangUp", "tbDownload", "tbExit"}) {
        const QIcon icon = Find<QAction>(window, name)->icon();
        EXPECT_FALSE(icon.pixmap(bar->iconSize()).isNull()) << name;
    }
}

TEST_F(MainWindowViewTest, MapTabOnlyWithAPictureUnitXOnlyOnceAUnitIsShown)
{
    TTestWindow window({Path("north.ste")});
    Start(window);
    EXPECT_FALSE(TabShown(window, "sbMap"));
    EXPECT_FALSE(TabShown(window, "tabUnitX"));
    for (const char* page : {"tabSite", "tabUnits", "tabLog"})
        EXPECT_TRUE(TabShown(window, page)) << page;

    TSiteExt& site = window.AppController()->Site();
    site.AddUnit(std::make_unique<TUnit>(3, 1, 1, 0, 0, QByteArray("UNIT3"), 0x0C05));
    site.RebuildUnitTable();
    window.AppController()->ShowUnit(3);
    EXPECT_TRUE(TabShown(window, "tabUnitX"));
    EXPECT_EQ(Pages(window)->currentWidget(), Find<QWidget>(window, "tabUnitX"));

    // Another site: the unit view has nothing to show.
    Find<QAction>(window, "actNew")->trigger();
    EXPECT_FALSE(TabShown(window, "tabUnitX"));
}

TEST_F(MainWindowViewTest, MapPopupStretchTicksAsItToggles)
{
    TTestWindow window{QStringList()};
    Start(window);
    auto* map = Find<QScrollArea>(window, "sbMap");
    ASSERT_EQ(map->actions().size(), 1);
    QAction* stretch = map->actions().front();
    EXPECT_EQ(stretch->text(), "Stretch");
    EXPECT_FALSE(stretch->isChecked());
    stretch->trigger();
    EXPECT_TRUE(stretch->isChecked());
    stretch->trigger();
    EXPECT_FALSE(stretch->isChecked());
}

TEST_F(MainWindowViewTest, OptionsTextNamesTheSitesModemAndSpeed)
{
    const struct {
        const char* ini;
        const char* text;
    } cases[] = {
        {"[Site]\nModemDev=1\nComSpeed=9600\n", "/dev/ttyQ1 9600"},
        {"[Site]\nModemDev=0\n", "/dev/ttyQ0 "},
        // A modem this machine does not have is shown by its number.
        {"[Site]\nModemDev=5\nComSpeed=9600\n", "Modem 5 9600"},
    };
    StoreSetting("Settings/Modems/Ports", "/dev/ttyQ0,/dev/ttyQ1");
    for (const auto& c : cases) {
        WriteFile(Path("north.ini"), c.ini);
        TTestWindow window({Path("north.ste")});
        Start(window);
        EXPECT_EQ(OptionsText(window), c.text) << c.ini;
        EXPECT_FALSE(Find<QLabel>(window, "lblOptions")->isHidden()) << c.ini;
        ASSERT_TRUE(window.close());
    }
}

TEST_F(MainWindowViewTest, AboutBoxListsTheVersionEntriesAndTheMemoryFigures)
{
    TTestWindow window{QStringList()};
    Start(window);
    QStringList lines;
    QString caption;
    QColor background;
    TWhenModal<TAboutBox> reader([&](TAboutBox& box) {
        caption = box.windowTitle();
        auto* memo = Find<QPlainTextEdit>(box, "memo");
        lines = memo->toPlainText().split('\n');
        background = memo->palette().color(QPalette::Base);
        box.accept();
    });
    Find<QAction>(window, "actAbout")->trigger();
    ASSERT_TRUE(reader.Acted);
    EXPECT_EQ(caption, "About");
    EXPECT_EQ(background, QColor(Qt::yellow));
    const QStringList labels = TMemoryFigures::Labels();
    ASSERT_EQ(lines.size(), 6 + labels.size()) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "Quorvel");
    EXPECT_EQ(lines[2], QUORVEL_VERSION);
    EXPECT_TRUE(lines[3].startsWith("Copyright"));
    EXPECT_TRUE(lines[4].startsWith("Support"));
    EXPECT_EQ(lines[5], "");
    for (qsizetype i = 0; i < labels.size(); ++i)
        EXPECT_TRUE(lines[6 + i].startsWith(labels[i] + "\t")) << lines[6 + i].toStdString();
    // The program's own resident size, in kilobytes.
    const qint64 resident = lines[6].section('\t', 1).section(' ', 0, 0).toLongLong();
    EXPECT_GT(resident, 1000);
}

TEST_F(MainWindowViewTest, StateAndPositionAreKeptUnderTheWindowsSection)
{
    {
        TTestWindow window{QStringList()};
        Start(window);
        window.setGeometry(30, 40, 620, 430);
        window.showMaximized();
        ASSERT_TRUE(window.close());
    }
    QSettings settings("Mestra Apps", "Quorvel");
    EXPECT_EQ(settings.value("Settings/TFQw/State").toString(), "Maximized");
    EXPECT_EQ(settings.value("Settings/TFQw/Width").toInt(), 620);
    EXPECT_EQ(settings.value("Settings/TFQw/Left").toInt(), 30);

    TTestWindow window{QStringList()};
    Start(window);
    EXPECT_TRUE(window.isMaximized());
    window.showNormal();
    EXPECT_EQ(window.geometry(), QRect(30, 40, 620, 430));
}

TEST_F(MainWindowViewTest, PositionOnAMonitorThatIsGoneComesBackOnTheScreen)
{
    StoreSetting("Settings/TFQw/State", "Normal");
    StoreSetting("Settings/TFQw/Left", "5000");
    StoreSetting("Settings/TFQw/Top", "3000");
    StoreSetting("Settings/TFQw/Width", "500");
    StoreSetting("Settings/TFQw/Height", "400");
    StoreSetting("Settings/TFQw/Monitor", "GONE-1");
    TTestWindow window{QStringList()};
    Start(window);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.geometry())) << window.x() << "," << window.y();
    EXPECT_EQ(window.size(), QSize(500, 400));
}

TEST_F(MainWindowViewTest, FirstStartOpensLargerThanTheDesignSize)
{
    TTestWindow window{QStringList()};
    Start(window);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(window.width(), qMax(TFQw::DesignWidth, available.width() * 2 / 3));
    EXPECT_GE(window.height(), qMax(TFQw::DesignHeight, available.height() * 3 / 4));
    EXPECT_TRUE(available.contains(window.geometry()));
}
