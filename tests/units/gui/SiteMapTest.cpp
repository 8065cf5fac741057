// The site map offscreen, over pictures the tests draw: the labels the ini
// file makes and what they show, stretching and back without drift, binding
// to units and devices, alarms, the timer only while active, and the
// double-click that opens a unit's view.
#include "units/gui/SiteMap.h"
#include "units/gui/JpegPicture.h"

#include "settings/Ini.h"
#include "site/SiteExt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <vector>

using namespace Quorvel1;
using QuorvelTest::TempFolder;

namespace {

void SendMouse(QWidget* widget, QEvent::Type type)
{
    const QPointF at(2, 2);
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class SiteMapTest : public ::testing::Test {
protected:
    SiteMapTest()
    {
        area.resize(400, 300);
        map.SetSite([this] { return &site; });
        map.SetReadings([this] { return std::span<const std::uint16_t>(readings); });
        map.SetShowUnit([this](int unit) { shown.push_back(unit); });
    }

    // A site ini with a picture of `size` saved as `file` and these labels.
    void LoadMap(const QString& labels, const char* format = "PNG",
                 const QString& file = QStringLiteral("plan.png"), QSize size = {800, 600})
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(folder.file(file), format));
        const QString text = QStringLiteral("[SiteMap]\nImage=") + file + QLatin1Char('\n') + labels;
        ASSERT_TRUE(folder.WriteBytes(QStringLiteral("site.ini"), text.toLatin1()));
        ini.Open(folder.file(QStringLiteral("site.ini")));
        map.Load(&ini, folder.path());
        map.Bind();
    }

    TDev& AddDevice(std::uint8_t type, const char* name, std::int32_t loggerIndex)
    {
        site.Devices.push_back(TSite::CreateDevice(type));
        TDev& device = *site.Devices.back();
        device.SetName(QString::fromLatin1(name));
        device.LoggerIndex = loggerIndex;
        return device;
    }

    TempFolder folder;
    TIni ini;
    TSiteExt site;
    std::vector<std::uint16_t> readings;
    std::vector<int> shown;
    QWidget area;
    TQwSiteMap map{&area};
};

} // namespace

TEST_F(SiteMapTest, PngAndJpegPicturesMakeTheLabelsUpToTheGap)
{
    const std::pair<const char*, const char*> pictures[] = {{"PNG", "plan.png"}, {"JPEG", "plan.jpg"}};
    for (const auto& [format, file] : pictures) {
        LoadMap(QStringLiteral("MO001=S,Freezer1,120,45\nMO002=U,3,10,20\nMO004=A,ROOM,1,1\n"),
                format, QString::fromLatin1(file));
        ASSERT_TRUE(map.MapPresent()) << format;
        EXPECT_EQ(map.PictureSize(), QSize(800, 600)) << format;
        ASSERT_EQ(map.LabelCount(), 2) << format;
        EXPECT_EQ(map.Label(0)->KindLetter(), u'S');
        EXPECT_EQ(map.Label(0)->toolTip(), "Sensor Freezer1");
        EXPECT_EQ(map.Label(0)->text(), " Freezer1 ");
        EXPECT_EQ(map.Label(0)->pos(), QPoint(120, 45));
        EXPECT_TRUE(map.Label(1)->IsUnit());
        EXPECT_EQ(map.Label(1)->size(), QSize(TMapUnit::Width, TMapUnit::Height));
        EXPECT_EQ(map.Label(1)->toolTip(), "Unit 3");
    }
}

TEST_F(SiteMapTest, AMissingOrUnreadablePictureMakesNoMap)
{
    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("site.ini"),
                                  "[SiteMap]\nImage=C:\\Plant\\gone.bmp\nMO001=S,Air,1,1\n"));
    ini.Open(folder.file(QStringLiteral("site.ini")));
    map.Load(&ini, folder.path());
    EXPECT_FALSE(map.MapPresent());
    EXPECT_EQ(map.LabelCount(), 0);
    EXPECT_TRUE(map.LoadError().contains(QStringLiteral("gone.bmp"))) << map.LoadError().toStdString();
    map.SetActive(true);
    EXPECT_FALSE(map.Active());

    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("gone.bmp"), "not a picture at all"));
    map.Load(&ini, folder.path());
    EXPECT_FALSE(map.MapPresent());
    EXPECT_FALSE(map.LoadError().isEmpty());
    map.Load(nullptr, QString());
    EXPECT_FALSE(map.MapPresent());
}

TEST_F(SiteMapTest, StretchingScalesPositionsAndTurningItOffRestoresThem)
{
    LoadMap(QStringLiteral("MO001=S,Freezer1,120,45\n"));
    TMapObject* label = map.Label(0);
    map.SetStretch(true);
    EXPECT_EQ(map.ScaleX(), 5000);
    EXPECT_EQ(map.ScaleY(), 5000);
    EXPECT_EQ(map.size(), QSize(400, 300));
    EXPECT_EQ(label->pos(), QPoint(60, 22));
    map.SetStretch(false);
    EXPECT_EQ(map.ScaleX(), 10000);
    EXPECT_EQ(label->pos(), QPoint(120, 45));
    EXPECT_EQ(map.size(), QSize(800, 600));
}

TEST_F(SiteMapTest, LabelsDoNotCreepWhenLaidOutAgainAtAThirdScale)
{
    area.resize(200, 100);
    LoadMap(QStringLiteral("MO001=A,ROOM,120,90\n"), "PNG", QStringLiteral("plan.png"), {600, 300});
    TMapObject* label = map.Label(0);
    for (int i = 0; i < 5; ++i) {
        map.SetStretch(true);
        label->SetValueText(QStringLiteral("value %1").arg(i)); // resizes the label
        label->move(label->pos() + QPoint(1, 1));              // the layout moves it
        label->Place();
    }
    EXPECT_EQ(map.ScaleX(), 3333);
    EXPECT_EQ(label->X(), 120);
    EXPECT_EQ(label->Y(), 90);
    EXPECT_EQ(label->pos(), QPoint(39, 29));
    area.resize(0, 0);
    map.SetStretch(true); // a scale of 0 places at 0 and never divides
    EXPECT_EQ(map.ScaleX(), 0);
    EXPECT_EQ(label->pos(), QPoint(0, 0));
    map.SetStretch(false);
    EXPECT_EQ(label->pos(), QPoint(120, 90));
}

TEST_F(SiteMapTest, OutputsShowFullAndEmptyDriveAsOnAndOff)
{
    TMapOutput output(map);
    const std::pair<const char*, const char*> cases[] = {
        {"100%", "ON"}, {" 0% ", "OFF"}, {"50%", "50%"}, {"100", "100"},
    };
    for (const auto& [reading, text] : cases) {
        output.SetValueText(QString::fromLatin1(reading));
        EXPECT_EQ(output.ValueText(), text) << reading;
        EXPECT_EQ(output.text(), QStringLiteral(" %1 ").arg(QString::fromLatin1(text)));
    }
}

TEST_F(SiteMapTest, LabelsShowTheirDevicesReadingsAndUnitsTheirAlarms)
{
    TDev& room = AddDevice(DevAsm, "ROOM", 0);
    room.Exponent = -1;
    room.Units = 'C';
    AddDevice(DevAsm, "IDLE", -1);
    LoadMap(QStringLiteral("MO001=A,ROOM,1,1\nMO002=A,IDLE,1,1\nMO003=S,Nowhere,1,1\n"
                           "MO004=U,3,1,1\nMO005=U,Boiler,1,1\nMO006=U,31,1,1\n"));
    ASSERT_EQ(map.LabelCount(), 6);
    EXPECT_EQ(map.Label(0)->TargetDevice, &room);
    EXPECT_EQ(map.Label(3)->TargetUnit, 3);
    EXPECT_EQ(map.Label(4)->TargetUnit, 0); // not a number: no unit, no error
    EXPECT_EQ(map.Label(5)->TargetUnit, 0);

    map.Refresh(); // no readings yet
    EXPECT_EQ(map.Label(0)->ValueText(), " ");
    readings = {215};
    site.SetAlarmWord(3, 0x0004);
    site.SetAlarmWord(0, 0x0001); // the interface unit's alarm is no label's
    map.Refresh();
    EXPECT_EQ(map.Label(0)->ValueText(), "21.5C");
    EXPECT_EQ(map.Label(1)->ValueText(), " ");
    EXPECT_EQ(map.Label(2)->ValueText(), "---");
    EXPECT_TRUE(map.Label(3)->Alarm());
    EXPECT_FALSE(map.Label(4)->Alarm());
    EXPECT_FALSE(map.Label(5)->Alarm());
    EXPECT_EQ(map.Label(5)->ValueText(), "31");
    readings = {0x7FFF}; // an ASM's no-value marker
    map.Refresh();
    EXPECT_EQ(map.Label(0)->ValueText(), "-----");
}

TEST_F(SiteMapTest, DoubleClickOpensOnlyARealUnitsView)
{
    LoadMap(QStringLiteral("MO001=U,12,1,1\nMO002=U,31,50,1\nMO003=S,Air,100,1\n"));
    area.show();
    for (int i = 0; i < map.LabelCount(); ++i)
        SendMouse(map.Label(i), QEvent::MouseButtonDblClick);
    EXPECT_EQ(shown, std::vector<int>{12});
    SendMouse(map.Label(2), QEvent::MouseButtonPress);
    EXPECT_EQ(map.SelectedLabel(), map.Label(2));
    delete map.Label(2);
    EXPECT_EQ(map.SelectedLabel(), nullptr);
    EXPECT_EQ(map.LabelCount(), 2);
}

TEST_F(SiteMapTest, TimerRunsOnlyWhileActiveAndShown)
{
    LoadMap(QStringLiteral("MO001=U,3,1,1\n"));
    site.SetAlarmWord(3, 1);
    map.SetActive(true);
    EXPECT_TRUE(map.TimerRunning());
    map.Tick(); // not shown: the map makes itself inactive
    EXPECT_FALSE(map.Active());
    EXPECT_FALSE(map.TimerRunning());
    EXPECT_FALSE(map.Label(0)->Alarm());

    area.show();
    map.SetActive(true);
    map.Tick();
    map.Tick();
    EXPECT_TRUE(map.Label(0)->Alarm());
    const bool phase = map.Blink();
    map.Tick();
    EXPECT_NE(map.Blink(), phase); // the alarm blinks
    map.SetActive(false);
    EXPECT_FALSE(map.TimerRunning());
}

// The map's own decoder, for JPEG files the platform's readers refuse.
TEST_F(SiteMapTest, OwnJpegDecoderReadsAPictureAndRefusesOthers)
{
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("plan.jpg")), "JPEG"));
    ASSERT_TRUE(folder.WriteBytes(QStringLiteral("bad.jpg"), "\xFF\xD8\xFF not really"));
    TJpegPicture decoder;
    ASSERT_TRUE(decoder.Load(folder.file(QStringLiteral("plan.jpg"))));
    EXPECT_EQ(decoder.Image().size(), QSize(800, 600));
    const QColor middle = decoder.Image().pixelColor(400, 300);
    EXPECT_NEAR(middle.red(), 200, 8);
    EXPECT_NEAR(middle.green(), 40, 8);
    EXPECT_FALSE(decoder.Load(folder.file(QStringLiteral("bad.jpg"))));
    EXPECT_TRUE(decoder.Image().isNull());
    EXPECT_FALSE(decoder.Load(folder.file(QStringLiteral("none.jpg"))));
}
