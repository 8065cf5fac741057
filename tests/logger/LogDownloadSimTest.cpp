// Log downloads against the site simulator's data logger over the real
// serial layer: the first file, an appending download that reads only the
// new bytes, a new file after a logger restart, the file number written
// back, and failures (the pulled cable is in LogDownloadFaultsTest.cpp).
#include "logger/LogDownload.h"
#include "logger/LogFile.h"
#include "logger/LogIF.h"

#include "comms/MestraIF.h"
#include "logger/LoggerSimFixture.h"
#include "support/SimProcess.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace Quorvel1;
using QuorvelTest::FileBytes;
using QuorvelTest::LoadLog;
using QuorvelTest::SimProcess;

namespace {

class LogDownloadSimTest : public QuorvelTest::LoggerSimFixture {
protected:

    // The logger's next file number, as a later download would start from.
    void SetLoggerFileNumber(uint16_t number)
    {
        link.WriteWord(number, uint16_t(log->Header.ConfigStart + 2), true);
        ASSERT_TRUE(log->Open());
    }
    uint16_t LoggerFileNumber()
    {
        const QByteArray config = DumpBytes(Dump(), "config");
        return uint16_t(uint8_t(config[2]) | uint8_t(config[3]) << 8);
    }
    // Waits until the logger has made entries beyond `entries`.
    void WaitForEntriesBeyond(int entries)
    {
        for (int polls = 0; polls < 200; ++polls) {
            if (Number(Dump(), "entries") > entries)
                return;
        }
        FAIL() << "the logger made no new entries";
    }

    QString Name(uint16_t number) const { return Folder() + LogFileName(link.IdentityWord, number, "LOG"); }
};

} // namespace

TEST_F(LogDownloadSimTest, FirstDownloadMakesFile00WithTheLoggersEntries)
{
    Start("logger prefill 200\nlogger clock-stopped\n");
    SetLoggerFileNumber(0);
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    EXPECT_EQ(log->DownloadFailure, LogDlNone);
    EXPECT_EQ(fileName, Folder() + "4660A00.LOG");

    const TDump dump = Dump();
    const auto saved = LoadLog(fileName);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->Status.Entries, 200);
    EXPECT_EQ(Number(dump, "entries"), 200);
    EXPECT_EQ(saved->Control.StartPosition, Number(dump, "start_position"));
    EXPECT_EQ(saved->Control.EndPosition, Number(dump, "end_position"));
    EXPECT_EQ(saved->Control.EndBit, Number(dump, "end_bit"));
    const QByteArray ring = DumpBytes(dump, "buffer");
    const auto image = saved->BufferImage();
    const QByteArray savedRing(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    EXPECT_EQ(RingPart(savedRing, saved->Control.StartPosition, saved->Control.EndPosition),
              RingPart(ring, Number(dump, "start_position"), Number(dump, "end_position")));
    const auto lastValues = saved->LastValuesBytes();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(lastValues.data()), qsizetype(lastValues.size())),
              DumpBytes(dump, "last_values"));
    EXPECT_TRUE(saved->CheckLog());
    EXPECT_EQ(dump.at("held"), "0");
    EXPECT_EQ(Number(dump, "new_entries"), 0); // the logger was told the log was read
}

TEST_F(LogDownloadSimTest, ChosenNumberSkipsExistingFilesAndIsWrittenBack)
{
    Start("logger prefill 20\nlogger clock-stopped\n");
    SetLoggerFileNumber(0);
    for (uint16_t number : {0, 1, 2}) {
        QFile file(Name(number));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    EXPECT_EQ(fileName, Name(3));
    EXPECT_EQ(LoggerFileNumber(), 3);
    EXPECT_TRUE(FileBytes(Name(0)).isEmpty()); // left alone
}

TEST_F(LogDownloadSimTest, SecondDownloadReadsOnlyTheNewBytesAndAppends)
{
    // Intervals below 300 s are never brought onto the PC's clock, which
    // fast time would be out of step with.
    Start("logger interval 60\nlogger fast 100\nlogger prefill 300\n");
    const uint16_t number = LoggerFileNumber();
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    const auto first = LoadLog(fileName);
    ASSERT_NE(first, nullptr);
    WaitForEntriesBeyond(first->Status.Entries + 3);

    ASSERT_TRUE(log->Open());
    const uint64_t sentBefore = sim->GetCounts()["bytes_out"];
    QString second = fileName;
    ASSERT_TRUE(log->Download(second, Folder()));
    const uint64_t sent = sim->GetCounts()["bytes_out"] - sentBefore;
    EXPECT_EQ(second, fileName); // merged into the previous file
    EXPECT_EQ(Files().size(), 1);

    const auto merged = LoadLog(fileName);
    ASSERT_NE(merged, nullptr);
    EXPECT_TRUE(merged->CheckLog());
    EXPECT_EQ(merged->Control.StartPosition, first->Control.StartPosition);
    EXPECT_GT(merged->Status.Entries, first->Status.Entries + 3);
    int newBytes = merged->Control.EndPosition - first->Control.EndPosition + 1;
    if (newBytes <= 0)
        newBytes += merged->Control.BufferSize;
    EXPECT_EQ(log->BytesRead, uint32_t(newBytes));
    // The whole download, blocks and commands included, is far below the
    // 16 KiB ring.
    EXPECT_LT(sent, 1500u);

    // The merged file's entries are the logger's own bytes.
    const TDump dump = Dump();
    const auto image = merged->BufferImage();
    const QByteArray savedRing(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    EXPECT_EQ(RingPart(savedRing, merged->Control.StartPosition, merged->Control.EndPosition),
              RingPart(DumpBytes(dump, "buffer"), merged->Control.StartPosition, merged->Control.EndPosition));
    // The search ran past the merged file and found the next number free.
    EXPECT_EQ(LoggerFileNumber(), number + 1);
}

TEST_F(LogDownloadSimTest, DownloadAfterRestartStartsANewFile)
{
    Start("logger prefill 200\n");
    const uint16_t number = LoggerFileNumber();
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    const QByteArray firstBytes = FileBytes(fileName);

    log->Command.Code = LogCmdRestart;
    log->SendCommand();
    ASSERT_TRUE(log->Open());
    QString second = fileName;
    ASSERT_TRUE(log->Download(second, Folder()));
    EXPECT_EQ(second, Name(number + 1));
    EXPECT_EQ(FileBytes(fileName), firstBytes);
    const auto restarted = LoadLog(second);
    ASSERT_NE(restarted, nullptr);
    EXPECT_EQ(restarted->Status.Entries, 0);
    EXPECT_EQ(LoggerFileNumber(), number + 1);
}

TEST_F(LogDownloadSimTest, UserBreakWhileReadingReleasesLoggingAndWritesNothing)
{
    Start("logger prefill 400\nlogger clock-stopped\n");
    const uint16_t number = LoggerFileNumber();
    log->StatusCallback = [&] {
        if (log->StatusText() == "Reading log buffer")
            link.Abort();
    };
    QString fileName;
    EXPECT_ANY_THROW(log->Download(fileName, Folder()));
    log->StatusCallback = nullptr;
    EXPECT_EQ(log->DownloadFailure, LogDlUserBreak);
    EXPECT_EQ(log->PreviousLog, nullptr);
    EXPECT_TRUE(Files().isEmpty());
    const TDump dump = Dump();
    EXPECT_EQ(dump.at("held"), "0");
    EXPECT_EQ(LoggerFileNumber(), number);
    EXPECT_NE(Number(dump, "new_entries"), 0); // no "download done"
}

TEST_F(LogDownloadSimTest, DownloadWithTheLoggerClosedFailsWithCode2)
{
    Start("logger prefill 10\nlogger clock-stopped\n");
    log->Close();
    QString fileName;
    EXPECT_ANY_THROW(log->Download(fileName, Folder()));
    EXPECT_EQ(log->DownloadFailure, LogDlLinkError);
}
