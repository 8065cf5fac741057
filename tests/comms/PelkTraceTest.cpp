// The trace file's layout: the opening line, time stamps, and byte lines that
// continue until the direction changes or a text line comes between.
#include "comms/PelkTrace.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Pelk;

namespace {

QString ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return QString::fromUtf8(file.readAll());
}

class TraceTest : public ::testing::Test {
protected:
    TPelkTrace trace{[this] { return now; }};
    QuorvelTest::TempFolder folder;
    QString path = folder.file("QW1Pelk.txt");
    uint32_t now = 5000;
};

const QString Opened = "\nLog opened ******************************";

} // namespace

TEST(TraceStampTest, ShowsMinutesSecondsAndMilliseconds)
{
    EXPECT_EQ(TPelkTrace::Stamp(0), "0000:00.000");
    EXPECT_EQ(TPelkTrace::Stamp(65432), "0001:05.432");
    EXPECT_EQ(TPelkTrace::Stamp(59999), "0000:59.999");
    EXPECT_EQ(TPelkTrace::Stamp(9999u * 60000 + 59999), "9999:59.999");
}

TEST(TraceStampTest, MinutesWrapAtTenThousand)
{
    EXPECT_EQ(TPelkTrace::Stamp(10000u * 60000 + 1005), "0000:01.005");
    EXPECT_EQ(TPelkTrace::Stamp(12345u * 60000), "2345:00.000");
}

TEST_F(TraceTest, OpeningWritesAnEmptyLineAndTheOpenedLine)
{
    trace.Open(path);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened);
}

TEST_F(TraceTest, TextLinesAreStampedWithTheTimeSinceOpening)
{
    trace.Open(path);
    now += 65432;
    trace.Line("Connecting");
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0001:05.432 Connecting");
}

TEST_F(TraceTest, ConsecutiveSentBytesContinueOneLine)
{
    const uint8_t first[] = {0x01, 0x04};
    const uint8_t second[] = {0xFB};
    trace.Open(path);
    trace.Bytes(TraceSent, first, 2);
    now += 12;
    trace.Bytes(TraceSent, second, 1);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0000:00.000 T 01 04 FB");
}

TEST_F(TraceTest, ChangeOfDirectionStartsANewLabelLine)
{
    const uint8_t sent[] = {0xAA};
    const uint8_t received[] = {0x06, 0x0F};
    trace.Open(path);
    trace.Bytes(TraceSent, sent, 1);
    now += 3;
    trace.Bytes(TraceReceived, received, 2);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0000:00.000 T AA\n0000:00.003 R 06 0F");
}

TEST_F(TraceTest, ReceivedBytesAfterATextLineStartANewLineEvenInTheSameDirection)
{
    const uint8_t byte[] = {0x06};
    trace.Open(path);
    trace.Bytes(TraceReceived, byte, 1);
    trace.Line("Rx Ack");
    trace.Bytes(TraceReceived, byte, 1);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0000:00.000 R 06\n0000:00.000 Rx Ack\n0000:00.000 R 06");
}

TEST_F(TraceTest, OpeningAppendsToAnExistingFile)
{
    trace.Open(path);
    trace.Line("first run");
    trace.Close();
    trace.Open(path);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0000:00.000 first run" + Opened);
}

TEST_F(TraceTest, SecondOpenClosesTheEarlierFile)
{
    const QString other = folder.file("other.txt");
    trace.Open(path);
    trace.Open(other);
    trace.Line("after");
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened);
    EXPECT_EQ(ReadAll(other), Opened + "\n0000:00.000 after");
}

TEST_F(TraceTest, WithNoFileOpenNothingIsWritten)
{
    const uint8_t byte[] = {0x06};
    trace.Line("lost");
    trace.Bytes(TraceSent, byte, 1);
    trace.RawText("lost too");

    EXPECT_FALSE(trace.IsOpen());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(TraceTest, FileThatCannotBeOpenedLeavesTracingOff)
{
    trace.Open(folder.file("no such folder/QW1Pelk.txt"));

    EXPECT_FALSE(trace.IsOpen());
    trace.Line("ignored"); // no error
}

TEST_F(TraceTest, RawTextIsWrittenAsItStandsAndEndsAByteLine)
{
    const uint8_t byte[] = {0x01};
    trace.Open(path);
    trace.Bytes(TraceSent, byte, 1);
    trace.RawText("\nWrite Timings\n");
    trace.Bytes(TraceSent, byte, 1);
    trace.Close();

    EXPECT_EQ(ReadAll(path), Opened + "\n0000:00.000 T 01\nWrite Timings\n\n0000:00.000 T 01");
}
