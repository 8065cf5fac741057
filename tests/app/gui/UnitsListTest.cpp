// The units list on the main window against the simulator: a scan lists
// exactly the site's units, the standing alarm job colours a unit's row and
// names its alarms, clearing them turns the row back, and a screen reader
// reads the rows.
#include "support/SimProcess.h"
#include "WindowFixture.h"

#include "app/gui/FQw.h"
#include "app/QuorvelW.h"
#include "base/gui/NewspaperModel.h"
#include "jobs/PelkThread.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/DjUnitCommands.h"
#include "units/gui/LBUnits.h"

#include <QAccessible>
#include <QAction>
#include <QEventLoop>
#include <QTimer>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

const QString TwoUnits = QStringLiteral("unit 3 alarms 0x0009 name FREEZER3\n"
                                        "unit 5 name CHILLER5\n");

class UnitsListTest : public AppTest::WindowFixture {
protected:
    static constexpr int AlarmWaitMs = 20000;

    // The window connected to the simulator.
    void Connect() { ConnectLocally(window, sim); }

    // A site that already knows the simulator's units, as one loaded from
    // its file after an earlier scan.
    void ShowKnownUnits()
    {
        TSiteExt& site = window.AppController()->Site();
        site.AddUnit(std::make_unique<TUnit>(3, 1, 1, 0, 0, QByteArray("FREEZER3"), 0x0C05));
        site.AddUnit(std::make_unique<TUnit>(5, 1, 1, 0, 0, QByteArray("CHILLER5"), 0x0C05));
        window.RefreshFromSite();
    }

    TLBUnitsModel& Units() { return window.UnitsList()->Units(); }
    QString Text(int row, int column) { return Units().Cell(row, column); }
    QVariant Tooltip(int row) { return Units().data(Units().index(row, 3), Qt::ToolTipRole); }
    bool Red(int row) { return Units().data(Units().index(row, 0), Qt::ForegroundRole).isValid(); }

    // Serves the window's events until the list shows what `done` wants.
    bool WaitForList(const std::function<bool()>& done)
    {
        if (done())
            return true;
        QEventLoop loop;
        QObject::connect(&Units(), &QAbstractItemModel::dataChanged, &loop, [&] {
            if (done())
                loop.quit();
        });
        QTimer::singleShot(AlarmWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
        return done();
    }

    bool RunCommand(TPelkJob* job)
    {
        TQuorvelW& controller = *window.AppController();
        return controller.Runner().RunJob(job, false);
    }

    SimProcess sim{QStringList{}, TwoUnits};
    TFQw window{QStringList()};
};

} // namespace

// What a screen reader reads is the grid's cells, wherever the record
// columns put them.
TEST_F(UnitsListTest, AScanListsExactlyTheSitesUnitsForEyesAndScreenReaders)
{
    Start(window);
    ShowKnownUnits(); // units that the scan must not keep
    TSiteExt& site = window.AppController()->Site();
    site.AddUnit(std::make_unique<TUnit>(9, 1, 1, 0, 0, QByteArray("GONE9"), 0x0C05));
    window.RefreshFromSite();
    Connect();
    Find<QAction>(window, "actScanUnits")->trigger();
    window.AppController()->Disconnect();

    ASSERT_EQ(Units().rowCount(), 2);
    EXPECT_EQ(QStringList({Text(0, 0), Text(0, 1), Text(0, 2)}),
              QStringList({"3", "012-005 ", "FREEZER3"}));
    EXPECT_EQ(QStringList({Text(1, 0), Text(1, 1), Text(1, 2)}),
              QStringList({"5", "012-005 ", "CHILLER5"}));

    TLBUnits& list = *window.UnitsList();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->tableInterface(), nullptr);
    const auto read = [&](int row, int column) {
        const QModelIndex cell = list.Grid().CellOf(row, column);
        QAccessibleInterface* accessible = view->tableInterface()->cellAt(cell.row(), cell.column());
        return accessible ? accessible->text(QAccessible::Name) : QString("(none)");
    };
    EXPECT_EQ(QStringList({read(0, 0), read(0, 2), read(1, 0), read(1, 2)}),
              QStringList({"3", "FREEZER3", "5", "CHILLER5"}));
}

TEST_F(UnitsListTest, AlarmsTurnTheirRowRedAndClearingTurnsItBack)
{
    Start(window);
    ShowKnownUnits();
    Connect();
    ASSERT_EQ(Units().RowOfUnit(5), 1);
    EXPECT_TRUE(WaitForList([&] { return Red(0); }));
    EXPECT_EQ(Text(0, 3), "SENSOR FAILURE+");
    EXPECT_EQ(Tooltip(0).toString(), "SENSOR FAILURE\nHIGH TEMPERATURE");
    EXPECT_FALSE(Red(1));

    // A reset unit reports it with an alarm of its own.
    TPelkThread& runner = window.AppController()->Runner();
    ASSERT_TRUE(RunCommand(new TDjResetUnit(runner, 5)));
    EXPECT_TRUE(WaitForList([&] { return Red(1); }));
    EXPECT_EQ(Text(1, 3), "SYSTEM RESET");
    EXPECT_EQ(Tooltip(1).toString(), "SYSTEM RESET");

    ASSERT_TRUE(RunCommand(new TDjClrAlarms(runner, 5)));
    EXPECT_TRUE(WaitForList([&] { return !Red(1); }));
    EXPECT_EQ(Text(1, 3), "");
    EXPECT_FALSE(Tooltip(1).isValid());
    EXPECT_TRUE(Red(0)); // the other unit keeps its alarms
    window.AppController()->Disconnect();
}
