// The standing log-readings job against the simulator's data logger.
#include "UnitJobsFixture.h"

#include "logger/LogIF.h"
#include "support/TempFolder.h"
#include "units/DjLogRdgs.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using namespace QuorvelTest;

namespace {

class LogReadingsTest : public UnitJobsTest {
protected:
    ~LogReadingsTest() override
    {
        runner.reset();
        if (sim)
            sim->Stop(); // its last dump goes into `folder`, which goes first
    }

    void WaitForReadingUpdates(int count)
    {
        QElapsedTimer waited;
        waited.start();
        while (views.readingUpdates < count) {
            ASSERT_LT(waited.elapsed(), 30000) << "the job never showed its readings";
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
    }

    // The logger's current readings as the simulator holds them.
    std::vector<uint16_t> TrueReadings()
    {
        sim->GetCounts(); // the dump is written just before the counts
        auto dump = SimProcess::ReadKeyValues(folder.file("logger.txt"));
        const QByteArray bytes = QByteArray::fromHex(QByteArray::fromStdString(dump["readings"]));
        EXPECT_FALSE(bytes.isEmpty()) << "no readings in the logger dump";
        std::vector<uint16_t> words;
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            words.push_back(uint16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
        return words;
    }

    TempFolder folder;
    std::unique_ptr<TLogIF> log;
};

} // namespace

TEST_F(LogReadingsTest, RefreshesTheLoggersReadingsAndShowsThem)
{
    Start("logger clock-stopped\n", {"--dump-logger", folder.file("logger.txt")});
    log = std::make_unique<TLogIF>(link);
    ASSERT_TRUE(log->Open());
    runner->Pause();
    auto* job = new TDjLogRdgs(*runner, *log, &views);
    EXPECT_EQ(job->Name, "Log Readings");
    EXPECT_EQ(job->Period, 50);
    // What the view is shown, taken while the worker waits on the update.
    std::vector<std::vector<uint16_t>> shown;
    QStringList errors;
    views.onReadings = [&] {
        shown.push_back(log->Readings());
        errors << job->ErrorText;
    };
    runner->ResumeIfConnected();

    WaitForReadingUpdates(3); // before and after the first step, before the second
    runner->Pause(); // may break the step under way: that is the pause's right

    const std::vector<uint16_t> readings = TrueReadings();
    ASSERT_GE(readings.size(), 6u);
    ASSERT_GE(shown.size(), 3u);
    ASSERT_EQ(shown[1].size(), 6u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(shown[1][i], readings[i]) << i;
    EXPECT_EQ(errors[1], QString());
    EXPECT_EQ(log->Readings(), shown[1]); // a broken-off read keeps them
    EXPECT_FALSE(job->HasFlag(jfDone));
}

TEST_F(LogReadingsTest, WithoutAnOpenLoggerTheJobWaitsWithoutFailing)
{
    Start("logger none\n");
    log = std::make_unique<TLogIF>(link);
    runner->Pause();
    auto* job = new TDjLogRdgs(*runner, *log, &views);
    runner->ResumeIfConnected();

    WaitForReadingUpdates(4);
    runner->Pause();

    EXPECT_FALSE(job->HasFlag(jfFailed));
    EXPECT_TRUE(job->ErrorText.isEmpty());
}
