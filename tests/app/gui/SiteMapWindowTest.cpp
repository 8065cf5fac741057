// The site map on the Map tab against the simulator: a device label shows the
// reading the logger reports, a unit with an alarm blinks red, a double-click
// on a unit opens its Unit X view, and the map stops with its tab out of
// sight; a picture that cannot be read hides the tab and says why; the
// pop-up's Stretch fits the picture to the scroll box and back.
#include "WindowFixture.h"
#include "support/SimProcess.h"
#include "support/TempFolder.h"

#include "app/QuorvelW.h"
#include "logger/LogIF.h"
#include "settings/Properties.h"
#include "site/DeviceKey.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/gui/SiteMap.h"

#include <QAction>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class SiteMapWindowTest : public AppTest::WindowFixture {
protected:
    static constexpr int MapWaitMs = 20000;

    void SetUp() override
    {
        Start(window);
        TSiteExt& site = Controller().Site();
        site.AddUnit(std::make_unique<TUnit>(3, 1, 1, 0, 0, QByteArray("FREEZER3"), 0x0C05));
        site.RebuildUnitTable();
    }

    TQuorvelW& Controller() { return *window.AppController(); }
    TQwSiteMap& Map() { return *window.SiteMap(); }
    QTabWidget& Pages() { return *Find<QTabWidget>(window, "PageControl"); }

    void Connect() { ConnectLocally(window, sim); }

    // The site's ini file with a map of `image` and these labels, read as
    // the window reads a site it opens.
    void OpenMap(const QString& image, const QByteArray& labels)
    {
        const QString ini = folder.file(QStringLiteral("Site.ini"));
        ASSERT_TRUE(folder.WriteBytes(QStringLiteral("Site.ini"),
                                      "[SiteMap]\nImage=" + image.toLatin1() + "\n" + labels));
        Controller().Site().Ini.Open(ini);
        window.RefreshFromSite();
    }

    static bool WaitFor(const std::function<bool()>& done) { return WaitUntil(done, MapWaitMs); }

    QuorvelTest::TempFolder folder;
    SimProcess sim{QStringList{}, QStringLiteral("unit 3 alarms 0x0009 name FREEZER3\n")};
    AppTest::TTestWindow window{QStringList()};
};

} // namespace

TEST_F(SiteMapWindowTest, LabelsFollowTheSimulatorWhileTheMapShows)
{
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("plan.bmp")), "BMP"));
    Connect();
    TSiteExt& site = Controller().Site();
    const int asmIndex = site.FindByKey(TDeviceKey(DevAsm, 0x0221));
    ASSERT_GE(asmIndex, 0);
    TDev& room = *site.Devices[std::size_t(asmIndex)];
    room.SetName(QStringLiteral("COLD ROOM"));
    OpenMap(QStringLiteral("C:\\Plant\\PLAN.BMP"), // a Windows path: found beside the site
            "MO001=A,\"COLD ROOM\",100,100\nMO002=U,3,10,10\n");
    ASSERT_TRUE(Map().MapPresent());
    ASSERT_EQ(Map().LabelCount(), 2);
    EXPECT_TRUE(Pages().isTabVisible(Pages().indexOf(window.MapScrollBox())));
    EXPECT_FALSE(Map().Active()); // the Site tab shows

    Pages().setCurrentWidget(window.MapScrollBox());
    EXPECT_TRUE(Map().Active());
    TMapObject& label = *Map().Label(0);
    TMapObject& unit = *Map().Label(1);
    ASSERT_TRUE(WaitFor([&] { return label.ValueText() != "COLD ROOM" && label.ValueText() != " "; }));
    std::int16_t value = 0;
    int exponent = 0;
    ASSERT_TRUE(WaitFor([&] {
        const bool valid = room.Reading(Controller().Logger().Readings(), value, exponent, 1);
        return label.ValueText() == (valid ? ReadingText(value, exponent, room.UnitsChar()) : NoReadingText);
    })) << label.ValueText().toStdString();

    ASSERT_TRUE(WaitFor([&] { return unit.Alarm() && Map().Blink(); }));
    ASSERT_TRUE(WaitFor([&] { return !Map().Blink(); })); // it blinks
    EXPECT_TRUE(unit.Alarm());

    const QPointF at(5, 5);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, unit.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&unit, &click);
    EXPECT_EQ(Pages().currentWidget(), window.UnitXPage());
    EXPECT_EQ(Pages().tabText(Pages().currentIndex()), "Unit 3");
    EXPECT_FALSE(Map().Active()); // its tab is out of sight
    EXPECT_FALSE(Map().TimerRunning());
}

TEST_F(SiteMapWindowTest, AnUnreadablePictureHidesTheMapTabAndSaysWhy)
{
    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("plan.jpg"), "no picture here"));
    OpenMap(QStringLiteral("plan.jpg"), "MO001=U,3,10,10\n");
    EXPECT_FALSE(Map().MapPresent());
    EXPECT_FALSE(Pages().isTabVisible(Pages().indexOf(window.MapScrollBox())));
    EXPECT_TRUE(Find<QLabel>(window, "Status")->text().contains(QStringLiteral("plan.jpg")));
}

TEST_F(SiteMapWindowTest, StretchFitsThePictureToTheScrollBoxAndBack)
{
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("plan.png")), "PNG"));
    OpenMap(QStringLiteral("plan.png"), "MO001=U,3,120,40\n");
    ASSERT_TRUE(Map().MapPresent());
    Pages().setCurrentWidget(window.MapScrollBox());
    auto* stretch = Find<QAction>(window, "actStretch");
    stretch->trigger();
    EXPECT_TRUE(stretch->isChecked());
    EXPECT_TRUE(Map().Stretch());
    const QSize area = window.MapScrollBox()->viewport()->size();
    EXPECT_EQ(Map().size(), area);
    EXPECT_EQ(Map().ScaleX(), area.width() * 10000 / 800);
    EXPECT_EQ(Map().Label(0)->x(), 120 * Map().ScaleX() / 10000);
    stretch->trigger();
    EXPECT_FALSE(stretch->isChecked());
    EXPECT_EQ(Map().size(), QSize(800, 600));
    EXPECT_EQ(Map().Label(0)->pos(), QPoint(120, 40));
}
