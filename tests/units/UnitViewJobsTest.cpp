// The unit view's two jobs against the simulator: the airspace job reads a
// unit's airspaces and alarm word into the site, the EE job reads the named
// EE range into the unit's image and writes the user's changes.
#include "UnitJobsFixture.h"

#include "site/EEBlock.h"
#include "units/DjAsData.h"
#include "units/DjEE.h"
#include "units/UnitXView.h"

#include "support/TempFolder.h"

#include <QDeadlineTimer>
#include <QDir>

using namespace Quorvel1;

namespace {

class RecordingUnitView : public TUnitXView {
public:
    bool IsShowing(int unit) const override { return showing && unit == shownUnit; }
    void RefreshAlarms() override { ++alarmRefreshes; }
    void RefreshAirspace(int index) override { airspaces.insert(index); }
    void RefreshSettings(int first, int count) override
    {
        for (int a = first; a < first + count; ++a)
            settings.insert(a);
    }

    bool showing = true;
    int shownUnit = 5;
    int alarmRefreshes = 0;
    std::set<int> airspaces;
    std::set<int> settings;
};

const QString UnitSite = "unit 5 app 0x0C05 airspaces 3 rooms 2 alarms 0x0009 scale 401\n"
                         "unit 5 airspace 1 actual -182 set 45 max 70 min 12 minvent 30\n"
                         "unit 5 ee 0x20 words 0x1234 0x5678\n";

class UnitViewJobsTest : public QuorvelTest::UnitJobsTest {
protected:
    void SetUp() override
    {
        // The unit's image is saved beside the site, here the current folder.
        QDir::setCurrent(folder.path());
        WriteSettingsAddressFile(0x0C05, "012-005,FRIDGE\r\n32,SETPOINT\r\n34,DIFF\r\n");
        Start(UnitSite);
        site.AddUnit(std::make_unique<TUnit>(5, 3, 2, 0, 0, QByteArray("FRIDGE"), 0x0C05));
        site.RebuildUnitTable();
    }

    // Lets the runner work until `done` holds (UI calls are served meanwhile).
    bool WaitFor(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    void TearDown() override
    {
        runner.reset();
        site.Clear(); // saves the images into the temporary folder
        QDir::setCurrent(startFolder);
    }

    QString startFolder = QDir::currentPath();
    QuorvelTest::TempFolder folder;
    RecordingUnitView view;
};

TEST_F(UnitViewJobsTest, TheAirspaceJobReadsEveryAirspaceAndTheAlarmWordIntoTheSite)
{
    // The runner's queue owns its jobs.
    TDjAsData& job = *new TDjAsData(*runner, site, view);
    EXPECT_FALSE(job.IsActive());
    job.Start(5, 3);
    // An update runs before each step too: the alarm turn has been read once
    // the alarms were refreshed after the third airspace.
    ASSERT_TRUE(WaitFor([&] { return view.airspaces.size() == 3 && view.alarmRefreshes > 1; }));
    runner->Pause();

    const TAs* room1 = site.AirspaceOfUnit(5, 1);
    ASSERT_NE(room1, nullptr);
    EXPECT_EQ(room1->Readings[TAs::ActualIndex], -182);
    EXPECT_EQ(room1->Readings[TAs::SetIndex], 45);
    EXPECT_EQ(room1->Readings[TAs::MaxIndex], 70);
    EXPECT_EQ(room1->Readings[TAs::MinIndex], 12);
    EXPECT_EQ(room1->Readings[TAs::MinVentIndex], 30);
    EXPECT_EQ(site.AirspaceOfUnit(5, 3)->Readings[TAs::ActualIndex], 43); // the simulator's default, 40 + 3
    EXPECT_EQ(site.UnitByNumber(5)->Reading, 401);
    EXPECT_EQ(site.AlarmWord(5), 0x0009);
}

TEST_F(UnitViewJobsTest, TheAirspaceJobStopsOnceTheViewShowsAnotherUnit)
{
    TDjAsData& job = *new TDjAsData(*runner, site, view);
    view.shownUnit = 7;
    job.Start(5, 3);
    ASSERT_TRUE(WaitFor([&] { return !job.IsActive(); }));
    EXPECT_EQ(view.alarmRefreshes, 0);
    EXPECT_TRUE(view.airspaces.empty());
}

TEST_F(UnitViewJobsTest, TheEEJobReadsTheRangeAndWritesAChangedWordBack)
{
    TDjEE& job = *new TDjEE(*runner, site, view);
    job.Start(5, 32, 35);
    TEEBlock& image = *site.EEImage(5);
    ASSERT_TRUE(WaitFor([&] { return image.GetState(35) == EEState::Read && view.settings.count(35) > 0; }));
    EXPECT_EQ(image.GetByte(32), 0x34);
    EXPECT_EQ(image.GetByte(33), 0x12);
    EXPECT_EQ(image.GetByte(35), 0x56);
    EXPECT_TRUE(view.settings.count(34));

    runner->Pause();
    image.SetByte(32, 0xCD);
    image.SetByte(33, 0xAB);
    job.Jump(32);
    runner->ResumeIfConnected();
    ASSERT_TRUE(WaitFor([&] { return image.GetState(32) == EEState::Read && image.GetState(33) == EEState::Read; }));
    runner->Pause();
    EXPECT_EQ(image.GetByte(32), 0xCD);
    EXPECT_EQ(UnitEEWord(5, 32), 0xABCD);
}

TEST_F(UnitViewJobsTest, TheEEJobReadsTheTopAddressAloneAndStopsForAnAbsentUnitNumber)
{
    TDjEE& job = *new TDjEE(*runner, site, view);
    TEEBlock& image = *site.EEImage(5);
    job.Start(5, image.TopAddress(), image.TopAddress());
    ASSERT_TRUE(WaitFor([&] { return image.GetState(image.TopAddress()) == EEState::Read; }));
    EXPECT_EQ(image.GetState(image.TopAddress() - 1), EEState::NoValue);

    job.Start(31, 0, 10);
    ASSERT_TRUE(WaitFor([&] { return !job.IsActive(); }));
}

} // namespace
