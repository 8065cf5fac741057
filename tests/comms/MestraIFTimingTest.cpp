// The timing test of the link.
#include "MestraIFFixture.h"

#include "comms/PelkTrace.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QStringList>

using namespace QuorvelTest;
using namespace Pelk;

TEST_F(LinkTest, TimingTestRefusesToRunWithoutALanBuffer)
{
    link.LanBufferAddress = 0;

    try {
        link.TimeLink();
        FAIL() << "the timing test ran";
    } catch (const Quorvel1::Exception& error) {
        EXPECT_EQ(error.Message(), "The interface unit has no LAN buffer: the timing test cannot run");
    }
    EXPECT_TRUE(line->Written().empty());
    EXPECT_FALSE(link.TimingMode);
}

TEST_F(LinkTest, TimingTestWritesTheLanBufferBackWithItsControlByteCleared)
{
    link.LanBufferAddress = 0x3300;
    const Bytes buffer = {0xFF, 0x05, 0x40, 0x01, 0x34, 0x12, 0x77, 0x88};
    const Bytes cleared = {0x00, 0x05, 0x40, 0x01, 0x34, 0x12, 0x77, 0x88};
    line->Expect(ReadRequest(0x3300, 8)).Reply(ReadReply(buffer));
    for (int size = 1; size <= 8; ++size) {
        for (int i = 0; i < 3; ++i)
            line->Expect(WriteRequest(0x3300, Bytes(cleared.begin(), cleared.begin() + size))).Reply(Ack());
    }
    for (int size = 1; size <= 50; ++size)
        line->Expect(ReadRequest(0x3300, uint8_t(size))).Reply(ReadReply(Zeros(std::size_t(size))));
    line->Expect({});
    QStringList statuses;
    link.OnStatus = [&] { statuses << link.GetStatus(); };
    TempFolder folder;
    OpenTrace(folder.file("QW1Pelk.txt"));

    link.TimeLink();
    CloseTrace();

    ExpectScriptDone();
    EXPECT_FALSE(link.TimingMode);
    // The manual clock stands still during transfers: every time is 0.
    EXPECT_EQ(statuses, (QStringList{"Timing Link...", "Timing - end write: 0",
                                     "Timing - write: 0, read: 0 (0)"}));
    QFile trace(folder.file("QW1Pelk.txt"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    // Only the first read of the buffer runs outside timing mode, which
    // takes times instead of writing these lines.
    EXPECT_EQ(text.count("Tx Chk"), 1);
    EXPECT_EQ(text.count("Rx Ack"), 1);
    EXPECT_TRUE(text.contains("\nWrite Timings\nBytes\tChk\tAck\tOp\n1\t0\t0\t0\n"));
    EXPECT_TRUE(text.contains("\n8\t0\t0\t0\n\nRead Timings\nBytes\tChk\tAck\tOp\n1\t0\t0\t0\n"));
    EXPECT_TRUE(text.endsWith("\n50\t0\t0\t0\n"));
}
