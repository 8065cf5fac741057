// The simulator program end to end: started through the test fixture, talked
// to through the program's own serial port class.
#include "serial/SerialPort.h"
#include "support/SimProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

using Pelk::SerialTimeouts;
using Pelk::TSerialPort;
using QuorvelTest::SimProcess;
using Bytes = std::vector<uint8_t>;

namespace {

// Generous, so a busy machine does not lose an answer; a read returns as
// soon as the bytes asked for are in.
constexpr SerialTimeouts AnswerTimeouts{.ReadInterval = 200, .ReadPerByte = 10, .ReadConstant = 5000};

// Sends `request` and reads up to `expected` bytes of answer.
Bytes exchange(TSerialPort& port, const Bytes& request, std::size_t expected)
{
    EXPECT_EQ(port.Write(request.data(), request.size()), request.size());
    Bytes answer(expected);
    answer.resize(port.Read(answer.data(), answer.size()));
    return answer;
}

const Bytes ResetHandshake = [] {
    Bytes bytes(35, 0x00); // 32 zeros, then 1, 2, 3
    bytes[32] = 0x01;
    bytes[33] = 0x02;
    bytes[34] = 0x03;
    return bytes;
}();

class SimProcessLink : public ::testing::Test {
protected:
    void open(SimProcess& sim)
    {
        port = TSerialPort::Open(sim.PortPath(), 4800);
        port->SetTimeouts(AnswerTimeouts);
    }
    std::unique_ptr<TSerialPort> port;
};

} // namespace

// Reads answered from the site the simulator was started with, paced or not.
TEST_F(SimProcessLink, ReadsAreAnsweredFromTheScenariosSite)
{
    const Bytes readTable{0x01, 0x04, 0xFB, 0x00, 0xF8, 0x2F, 0x08, 0x2F, 0x01};
    const Bytes readIdentity{0x01, 0x04, 0xFB, 0x02, 0x00, 0x00, 0x02, 0x04, 0x00};
    const struct {
        const char* Case;
        QStringList Arguments;
        QString Scenario;
        Bytes Request;
        Bytes Answer;
    } rows[] = {
        // Slots 0x3000, 0x3040, 0x3100 and count 3; the sum covers the data only.
        {"the default site's descriptor table", {}, {}, readTable,
         {0x06, 0x00, 0x30, 0x40, 0x30, 0x00, 0x31, 0x03, 0x00, 0xD4, 0x00}},
        {"an identity from the scenario", {}, "identity 0x0102\n", readIdentity, {0x06, 0x02, 0x01, 0x03, 0x00}},
        // 4660 = 0x1234, the default site's identity.
        {"paced at 9600 baud", {"--baud", "9600"}, {}, readIdentity, {0x06, 0x34, 0x12, 0x46, 0x00}},
    };
    for (const auto& row : rows) {
        SimProcess sim(row.Arguments, row.Scenario);
        open(sim);
        EXPECT_EQ(exchange(*port, row.Request, row.Answer.size()), row.Answer) << row.Case;
    }
}

TEST_F(SimProcessLink, TheResetHandshakeIsAnsweredWithANakAndCounted)
{
    SimProcess sim;
    open(sim);
    EXPECT_EQ(exchange(*port, ResetHandshake, 2), Bytes{0x15});
    port->Close();
    EXPECT_EQ(sim.Stop(), 0);
    const SimProcess::Counts counts = sim.GetCounts();
    EXPECT_EQ(counts.at("bytes_in"), 35u);
    EXPECT_EQ(counts.at("bytes_out"), 1u);
    EXPECT_EQ(counts.at("resets_seen"), 1u);
    EXPECT_EQ(counts.at("naks_sent"), 1u);
}

TEST_F(SimProcessLink, AWriteIsStoredAndReadBack)
{
    SimProcess sim;
    open(sim);
    const Bytes write{0x01, 0x05, 0xFA, 0x01, 0x10, 0x00, 0xAA, 0x55, 0x10, 0x01};
    EXPECT_EQ(exchange(*port, write, 2), Bytes{0x06});
    const Bytes read{0x01, 0x04, 0xFB, 0x00, 0x10, 0x00, 0x02, 0x12, 0x00};
    EXPECT_EQ(exchange(*port, read, 5), (Bytes{0x06, 0xAA, 0x55, 0xFF, 0x00}));
}

TEST_F(SimProcessLink, CountsCanBeReadWhileTheSimulatorRuns)
{
    SimProcess sim;
    open(sim);
    exchange(*port, ResetHandshake, 1);
    EXPECT_EQ(sim.GetCounts().at("resets_seen"), 1u);
    exchange(*port, ResetHandshake, 1);
    EXPECT_EQ(sim.GetCounts().at("resets_seen"), 2u);
}

TEST_F(SimProcessLink, AStalledLineAnswersNothingAfterItsLastByte)
{
    SimProcess sim({"--stall-after", "1"});
    open(sim);
    EXPECT_EQ(exchange(*port, ResetHandshake, 1), Bytes{0x15});
    SerialTimeouts silence = AnswerTimeouts;
    silence.ReadConstant = 300;
    port->SetTimeouts(silence);
    EXPECT_EQ(exchange(*port, ResetHandshake, 1), Bytes{});
}

TEST_F(SimProcessLink, ThePortCanBeClosedAndOpenedAgain)
{
    SimProcess sim;
    open(sim);
    port->Close();
    open(sim);
    EXPECT_EQ(exchange(*port, ResetHandshake, 1), Bytes{0x15});
}

TEST(SimProcessProgram, TheLinkOptionMakesASymlinkThatGoesAwayAtExit)
{
    QuorvelTest::TempFolder folder;
    const QString link = folder.file("port");
    SimProcess sim({"--link", link});
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.PortPath());
    sim.Stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(SimProcessProgram, AnUnknownScenarioDirectiveStopsTheSimulatorWithTheLineNumber)
{
    QuorvelTest::TempFolder folder;
    const QString scenario = folder.file("bad.txt");
    ASSERT_TRUE(folder.WriteBytes("bad.txt", "identity 1\nfrobnicate 3\n"));
    QProcess process;
    process.start(QUORVEL_SIM_PATH, {"--scenario", scenario});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("line 2")) << "no line number";
}
