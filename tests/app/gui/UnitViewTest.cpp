// The unit view on the Unit X page against the simulator: its title and tab,
// the airspaces with the values the unit holds, a setting that goes to the
// unit through "* Changed *" and "* Writing *", the traffic stopping with the
// page out of sight, and the unit commands needing a connection.
#include "WindowFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "base/ProgramFolder.h"
#include "base/gui/LBHdrModel.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "settings/Properties.h"
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/DjAsData.h"
#include "units/DjEE.h"
#include "units/gui/DlgUnitX.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

const QString UnitSite = QStringLiteral("unit 5 app 0x0C05 name FRIDGE5 airspaces 3 rooms 2 alarms 0x0001 scale 0\n"
                                        "unit 5 airspace 1 actual -182 set 45\n"
                                        "unit 5 ee 0x20 words 0x00F0 0x0003\n"
                                        "unit 5 ee 100 words 0x0102\n");

class UnitViewTest : public AppTest::WindowFixture {
protected:
    void SetUp() override
    {
        // An untitled site keeps its units' images in the current folder.
        QDir::setCurrent(QFileInfo(Path("site.ste")).path());
        Write(TConfigBlock::SettingsAddressPath(0x0C05), "012-005,FRIDGE5\r\n32,SETPOINT\r\n34,STAGES\r\n100,TOPWORD\r\n");
        Write(ProgramFolder() + "/Adf/fridge5.adf",
              "STWORDSET,SetPt,\"Cold room set point\",,,SETPOINT,W,1,-400,400,-1,C\r\n"
              "STBYTEPICK,Stages,,,,STAGES,B,1,0,9,0,,0,\"0=Off,One,Two,Three\"\r\n"
              "STWORDSET,Top,,,,TOPWORD,W,1,0,9999\r\n");
        Start(window);
        TSiteExt& site = window.AppController()->Site();
        site.AddUnit(std::make_unique<TUnit>(5, 3, 2, 0, 0, QByteArray("FRIDGE5"), 0x0C05));
        site.RebuildUnitTable();
        window.RefreshFromSite();
    }
    void TearDown() override
    {
        QDir(ProgramFolder() + "/Adf").removeRecursively();
        QFile::remove(TConfigBlock::SettingsAddressPath(0x0C05));
    }
    static void Write(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(text), text.size());
    }

    void Connect() { ConnectLocally(window, sim); }
    TDlgUnitX& View() { return *window.UnitView(); }
    QString Setting(int row) { return View().Settings()->item(row, 1)->text(); }
    QString Airspace(int row, int column) { return View().Airspaces()->Model().Cell(row, column); }
    bool WaitFor(const std::function<bool()>& done, int ms = 15000)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    SimProcess sim{QStringList{}, UnitSite};
    AppTest::TTestWindow window{QStringList()};
};

TEST_F(UnitViewTest, AUnitShowsItsTitleAirspacesAndSettingsLive)
{
    Connect();
    window.AppController()->ShowUnit(5);
    auto* pages = Find<QTabWidget>(window, "PageControl");
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "Unit 5");
    EXPECT_EQ(View().Title()->text(), "Unit 5  012-005   FRIDGE5");
    const TLBHdrModel& airspaces = View().Airspaces()->Model();
    EXPECT_EQ(QStringList({airspaces.Column(0).Title, airspaces.Column(1).Title, airspaces.Column(2).Title,
                           airspaces.Column(3).Title, airspaces.Column(4).Title, airspaces.Column(5).Title}),
              QStringList({"Airspace", "Set", "Actual", "Min-vent", "Max", "Min"}));
    ASSERT_EQ(airspaces.RowCount(), 3);
    EXPECT_EQ(QStringList({Airspace(0, 0), Airspace(1, 0), Airspace(2, 0)}),
              QStringList({"Room 1", "Room 2", "Creep 1"}));

    // Values from an earlier run's image file show as "* value" until read.
    ASSERT_TRUE(WaitFor([&] {
        return Airspace(0, 2) == "-18.2C" && Setting(2) == "258" && Setting(1) == "Three"
               && View().Alarms()->count() == 1;
    }));
    EXPECT_EQ(Airspace(0, 1), "4.5C");
    EXPECT_EQ(Setting(0), "24.0C");
    EXPECT_EQ(View().Alarms()->item(0)->text(), "SENSOR FAILURE");
}

TEST_F(UnitViewTest, AChangedWordGoesToTheUnitThroughChangedAndWriting)
{
    Connect();
    window.AppController()->ShowUnit(5);
    ASSERT_TRUE(WaitFor([&] { return Setting(0) == "24.0C"; }));

    QStringList seen;
    QObject::connect(View().Settings(), &QTableWidget::itemChanged, [&](QTableWidgetItem* item) {
        if (item->row() == 0 && (seen.isEmpty() || seen.last() != item->text()))
            seen << item->text();
    });
    AppTest::TWhenModal<QDialog> typeValue([](QDialog& dialog) {
        auto* field = dialog.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        field->setText("-5.5");
        dialog.accept();
    });
    View().EditSetting(0);
    EXPECT_TRUE(typeValue.Acted);
    ASSERT_TRUE(WaitFor([&] { return Setting(0) == "-5.5C"; }));
    EXPECT_EQ(seen, QStringList({"* Changed *", "* Writing *", "-5.5C"}));

    window.AppController()->Runner().Pause();
    Pelk::TMestraIF& link = window.AppController()->Link();
    link.SelectUnit(5, false);
    EXPECT_EQ(std::int16_t(link.ReadWord(0x20, Pelk::TMestraIF::Ee)), -55);
}

TEST_F(UnitViewTest, OutOfSightTheUnitsTrafficStops)
{
    Connect();
    window.AppController()->ShowUnit(5);
    ASSERT_TRUE(WaitFor([&] { return View().EEJob().IsActive() && View().AirspaceJob().IsActive(); }));
    Find<QTabWidget>(window, "PageControl")->setCurrentIndex(0);
    EXPECT_FALSE(View().EEJob().IsActive());
    EXPECT_FALSE(View().AirspaceJob().IsActive());
}

TEST_F(UnitViewTest, OfflineThePopupsUnitCommandsAreDisabledAndSettingsAreNotEdited)
{
    window.AppController()->ShowUnit(5);
    emit View().Popup()->aboutToShow();
    for (const QAction* action : View().Popup()->actions()) {
        if (action->isSeparator() || action->text() == "Settings ...")
            continue;
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
    AppTest::TWhenModal<QDialog> neverAsked([](QDialog& dialog) { dialog.reject(); });
    View().EditSetting(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(neverAsked.Acted);
    EXPECT_NE(window.AppController()->Site().EEImage(5)->GetState(0x20), EEState::Changed);
}

} // namespace
