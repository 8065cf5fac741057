// What the link writes to the trace file for a request and its reply.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"
#include "comms/PelkTrace.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QRegularExpression>

using namespace QuorvelTest;
using namespace Pelk;

namespace {

class LinkTraceTest : public LinkTest {
protected:
    LinkTraceTest() { OpenTrace(path); }
    ~LinkTraceTest() override { CloseTrace(); }

    // The trace with every time stamp replaced by "S".
    QString Trace()
    {
        CloseTrace();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll())
            .replace(QRegularExpression("\\n\\d{4}:\\d{2}\\.\\d{3} "), "\nS ");
    }

    TempFolder folder;
    QString path = folder.file("QW1Pelk.txt");
};

const QString Opened = "\nLog opened ******************************";

} // namespace

TEST_F(LinkTraceTest, ReadRequestShowsFrameChecksumAckAndData)
{
    line->Expect(Hex("01 04 FB 00 10 00 02 12 00")).Reply(Hex("06 AA 55 FF 00"));
    uint8_t buffer[2] = {};

    link.ReadMem(buffer, 0x0010, 2, false);

    EXPECT_EQ(Trace(), Opened + "\nS T 01 04 FB 00 10 00 02 12 00"
                                "\nS Tx Chk"
                                "\nS R 06"
                                "\nS Rx Ack"
                                "\nS R AA 55 FF 00"
                                "\nS Rx Chk");
}

TEST_F(LinkTraceTest, EachSilentAckWaitShowsATimeoutLine)
{
    line->Expect(Hex("01 05 FA 01 10 00 AA 55 10 01")).Silence().Reply({0x06});
    const uint8_t data[] = {0xAA, 0x55};

    link.WriteMem(data, 0x0010, 2, false);

    EXPECT_EQ(Trace(), Opened + "\nS T 01 05 FA 01 10 00 AA 55 10 01"
                                "\nS Tx Chk"
                                "\nS Mestra link: Read/Write timeout"
                                "\nS R 06"
                                "\nS Rx Ack");
}

TEST_F(LinkTraceTest, StatusTextsAreTraced)
{
    link.SetStatus("Connecting");

    EXPECT_EQ(Trace(), Opened + "\nS Connecting");
}

TEST_F(LinkTraceTest, ResetWithTraceOpenReadsPendingBytesIntoTheTrace)
{
    line->Reply(Hex("12 34")).Silence(); // still in flight from before the reset
    ScriptReset(*line);

    link.Reset();

    EXPECT_TRUE(Trace().contains("\nS Reset: clearing read buffer...\nS R 12 34"
                                 "\nS Mestra link: Read/Write timeout\nS Reset: resetting link..."));
}

TEST_F(LinkTraceTest, CloseClosesTheTraceFile)
{
    link.Close();

    EXPECT_FALSE(TraceIsOpen());
}
