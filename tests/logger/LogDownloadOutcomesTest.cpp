// The outcomes of a download after a previous one, against the simulator's
// logger: a previous log of another configuration, or one whose newest entry
// the logger has since lost, makes a new file of the whole log; new entries
// that do not fit with the old ones make a new file of the new entries only;
// new entries that do not follow on from the previous log make a new file of
// the whole log, read as the new part and then the rest.
#include "logger/LoggerSimFixture.h"

#include "logger/LogDownload.h"
#include "logger/LogFile.h"
#include "logger/LogIF.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Quorvel1;
using QuorvelTest::FileBytes;
using QuorvelTest::LoadLog;

namespace {

constexpr int OptionsOffset = 9;  // of the configuration
constexpr uint32_t Day = 86400;

int RingDistance(int from, int to, int size)
{
    return to >= from ? to - from : to - from + size;
}

class LogDownloadOutcomesTest : public QuorvelTest::LoggerSimFixture {
protected:
    // Downloads after the previous file `previous`; returns the file now
    // holding the log.
    QString DownloadAfter(const QString& previous)
    {
        EXPECT_TRUE(log->Open());
        QString fileName = previous;
        EXPECT_TRUE(log->Download(fileName, Folder()));
        EXPECT_EQ(log->DownloadFailure, LogDlNone);
        return fileName;
    }
    // Downloads after `first` into a new file, which must hold a log that
    // passes its check, leaving `first` as it was; returns the new log.
    std::unique_ptr<TLog1> DownloadIntoANewFile(const QString& first)
    {
        const QByteArray before = FileBytes(first);
        const QString second = DownloadAfter(first);
        EXPECT_NE(second, first);
        EXPECT_EQ(FileBytes(first), before);
        auto saved = LoadLog(second);
        EXPECT_NE(saved, nullptr);
        EXPECT_TRUE(saved && saved->CheckLog());
        return saved;
    }
    // The whole log of the logger as it is: the bytes from start to end.
    int WholeLogBytes()
    {
        const TDump dump = Dump();
        const int size = int(DumpBytes(dump, "buffer").size());
        return RingDistance(Number(dump, "start_position"), Number(dump, "end_position"), size) + 1;
    }
    void WaitForNewEntries(int count)
    {
        for (int polls = 0; polls < 500; ++polls) {
            if (Number(Dump(), "new_entries") >= count)
                return;
        }
        FAIL() << "the logger made no new entries";
    }
};

} // namespace

TEST_F(LogDownloadOutcomesTest, OtherConfigurationReadsTheWholeLogIntoANewFile)
{
    Start("logger prefill 200\nlogger clock-stopped\n");
    QString first;
    ASSERT_TRUE(log->Download(first, Folder()));
    // Another option in EE; the logger logs on as before.
    const uint8_t average = 0x02;
    link.WriteMem(&average, uint16_t(log->Header.ConfigStart + OptionsOffset), 1, true);

    const auto saved = DownloadIntoANewFile(first);

    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(log->BytesRead, uint32_t(WholeLogBytes()));
    EXPECT_EQ(saved->Status.Entries, 200);
    EXPECT_EQ(saved->ConfigByte(OptionsOffset), average);
    EXPECT_EQ(Files().size(), 2);
}

TEST_F(LogDownloadOutcomesTest, EntriesLostSinceThePreviousLogReadTheWholeLogIntoANewFile)
{
    Start("logger prefill 200\nlogger clock-stopped\n");
    const uint32_t firstDownload = 1790000000;
    log->Time.UtcNow = [&] { return firstDownload; };
    QString first;
    ASSERT_TRUE(log->Download(first, Folder()));
    // Ten days on by the PC's clock, the oldest of the 200 entries 900 s
    // apart (50 hours) is newer than the previous log's newest: entries in
    // between were lost.
    log->Time.UtcNow = [&] { return firstDownload + 10 * Day; };

    const auto saved = DownloadIntoANewFile(first);

    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(log->BytesRead, uint32_t(WholeLogBytes()));
    EXPECT_EQ(saved->Status.Entries, 200);
}

TEST_F(LogDownloadOutcomesTest, NewEntriesThatDoNotFitWithTheOldGoToANewFileAlone)
{
    // A small ring already full: the old entries fill all of it but less
    // than one entry's room, so some twenty new ones (70 bytes or so) no
    // longer fit beside them, and are still far from wrapping onto them.
    Start("logger interval 60\nlogger fast 20\nlogger buffer 1000\nlogger prefill 1000\n");
    QString first;
    ASSERT_TRUE(log->Download(first, Folder()));
    const auto previous = LoadLog(first);
    ASSERT_NE(previous, nullptr);
    WaitForNewEntries(20);

    const auto saved = DownloadIntoANewFile(first);

    ASSERT_NE(saved, nullptr);
    const int size = saved->Control.BufferSize;
    const int oldBytes = RingDistance(previous->Control.StartPosition, previous->Control.EndPosition, size);
    const int newBytes = RingDistance(previous->Control.EndPosition, saved->Control.EndPosition, size);
    ASSERT_GE(newBytes, size - oldBytes); // the case at hand
    EXPECT_EQ(log->BytesRead, uint32_t(newBytes + 1)); // the new part only
    EXPECT_EQ(saved->Control.StartPosition, previous->Control.EndPosition);
    EXPECT_EQ(saved->Control.StartBit, previous->Control.EndBit);
    EXPECT_EQ(saved->Status.Entries, log->NewEntriesFound);
    EXPECT_GE(saved->Status.Entries, 20);
    EXPECT_EQ(saved->Status.DataLevel, newBytes * 100 / size);
}

TEST_F(LogDownloadOutcomesTest, NewEntriesThatDoNotFollowOnReadTheRestIntoANewFile)
{
    Start("logger prefill 200\nlogger clock-stopped\n");
    QString first;
    ASSERT_TRUE(log->Download(first, Folder()));
    // The previous file's last value of the first device no longer matches
    // what the logger's entries lead to.
    QByteArray altered = FileBytes(first);
    const int lastValuesAt = FileConfigAt + log->Header.ConfigSize();
    altered[lastValuesAt] = char(altered[lastValuesAt] ^ 0x01);
    ASSERT_TRUE(QuorvelTest::WriteFileBytes(first, altered));

    const auto saved = DownloadIntoANewFile(first);

    ASSERT_NE(saved, nullptr);
    // The new part (the one byte at the end position), then the rest from
    // the start up to the previous end position.
    EXPECT_EQ(log->BytesRead, uint32_t(1 + WholeLogBytes()));
    EXPECT_EQ(saved->Status.Entries, 200);
}
