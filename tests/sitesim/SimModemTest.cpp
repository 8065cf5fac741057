// The simulator's Hayes modem, driven byte by byte in-process.
#include "SimModem.h"
#include "SimScenario.h"

#include <gtest/gtest.h>

#include <string>

using namespace SiteSim;
using namespace std::chrono_literals;

namespace {

using TimePoint = SimModem::TimePoint;

std::string Text(const SimModem::Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class SimModemTest : public ::testing::Test {
protected:
    SimModemTest() : modem(Settings(), [this](uint8_t byte, TimePoint) { return Data(byte); }) {}

    static SimModemSettings Settings()
    {
        SimModemSettings settings;
        settings.Delay = 200ms;
        settings.Guard = 1000ms;
        return settings;
    }

    // The interface unit of the test: keeps the data and answers each byte
    // with 'u'.
    SimModem::Bytes Data(uint8_t byte)
    {
        data.push_back(char(byte));
        return {uint8_t('u')};
    }

    // Sends `text` at `at`, all bytes at once; returns the answer.
    std::string Send(const std::string& text, TimePoint at)
    {
        std::string answer;
        for (char c : text)
            answer += Text(modem.Receive(uint8_t(c), at));
        return answer;
    }

    // Dials and lets the dial's result come.
    void Connect()
    {
        Send("ATDT42\r", start);
        ASSERT_EQ(Text(modem.Tick(start + 200ms)), "\r\nCONNECT\r\n");
    }

    const TimePoint start = TimePoint() + 1h;
    std::string data;
    SimModem modem;
};

} // namespace

TEST_F(SimModemTest, CommandIsEchoedAndAnsweredOkWithCrLfFraming)
{
    EXPECT_EQ(Send("ATZ\r", start), "ATZ\r\r\nOK\r\n");
}

TEST_F(SimModemTest, EchoOffLeavesOnlyTheResult)
{
    Send("ATE0\r", start);

    EXPECT_EQ(Send("AT&F E0 V1\r", start), "\r\nOK\r\n");
    EXPECT_EQ(Send("ATZ\r", start), "\r\nOK\r\n");
    // ATZ turned echo back on.
    EXPECT_EQ(Send("AT\r", start), "AT\r\r\nOK\r\n");
}

TEST_F(SimModemTest, UnknownCommandOrLineWithoutAtIsAnError)
{
    Send("ATE0\r", start);

    EXPECT_EQ(Send("ATY\r", start), "\r\nERROR\r\n");
    EXPECT_EQ(Send("HELLO\r", start), "\r\nERROR\r\n");
    EXPECT_EQ(Send("ATO\r", start), "\r\nERROR\r\n");
    EXPECT_EQ(Send("\r", start), "");
}

TEST_F(SimModemTest, DialConnectsAfterTheDelayAndPassesDataOn)
{
    Send("ATE0\r", start);
    EXPECT_EQ(Send("ATDT 555-1234\r", start), "");
    EXPECT_EQ(Text(modem.Tick(start + 199ms)), "");
    EXPECT_EQ(modem.NextEvent(), start + 200ms);

    EXPECT_EQ(Text(modem.Tick(start + 200ms)), "\r\nCONNECT\r\n");
    EXPECT_EQ(modem.DialledNumber(), "555-1234");
    EXPECT_EQ(Send("\x01\x04", start + 300ms), "uu");
    EXPECT_EQ(data, "\x01\x04");
}

TEST_F(SimModemTest, DialAnswersTheScenariosResultAndStaysInCommandMode)
{
    SimModemSettings settings = Settings();
    settings.Answer = "BUSY";
    SimModem busy(settings, nullptr);
    for (char c : std::string("ATD1\r"))
        busy.Receive(uint8_t(c), start);

    EXPECT_EQ(Text(busy.Tick(start + 200ms)), "\r\nBUSY\r\n");
    EXPECT_EQ(busy.CurrentMode(), SimModem::Mode::Command);
}

TEST_F(SimModemTest, ByteDuringTheDialAbandonsIt)
{
    Send("ATD1\r", start);

    EXPECT_EQ(Send("\r", start + 50ms), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(Text(modem.Tick(start + 200ms)), "");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Command);
}

TEST_F(SimModemTest, EscapeWithGuardTimesReturnsToCommandModeAndAthEndsTheCall)
{
    Connect();
    const TimePoint escape = start + 2s;
    Send("+", escape);
    Send("+", escape + 100ms);
    Send("+", escape + 200ms);
    EXPECT_EQ(Text(modem.Tick(escape + 1199ms)), "");

    EXPECT_EQ(Text(modem.Tick(escape + 1200ms)), "\r\nOK\r\n");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::OnlineCommand);
    EXPECT_EQ(Send("ATH\r", escape + 2s), "ATH\r\r\nOK\r\n");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Command);
}

TEST_F(SimModemTest, PlusesWithoutSilenceBeforeThemAreData)
{
    Connect();
    Send("x", start + 2s);
    Send("+++", start + 2s + 10ms);

    EXPECT_EQ(Text(modem.Tick(start + 10s)), "");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Data);
    EXPECT_EQ(data, "x+++");
}

TEST_F(SimModemTest, DataAfterThePlusesCancelsTheEscape)
{
    Connect();
    Send("+++", start + 2s);
    Send("y", start + 2s + 500ms);

    EXPECT_EQ(Text(modem.Tick(start + 10s)), "");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Data);
}

TEST_F(SimModemTest, AtoGoesBackOnline)
{
    Connect();
    Send("+++", start + 2s);
    modem.Tick(start + 4s);

    EXPECT_EQ(Send("ATO\r", start + 5s), "ATO\r\r\nCONNECT\r\n");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Data);
}

TEST_F(SimModemTest, FarEndHangUpSendsNoCarrier)
{
    Connect();

    EXPECT_EQ(Text(modem.HangUpFarEnd()), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(modem.CurrentMode(), SimModem::Mode::Command);
    EXPECT_EQ(Text(modem.HangUpFarEnd()), "");
}

TEST_F(SimModemTest, ScenarioDropEndsTheCallAfterItsTime)
{
    SimModemSettings settings = Settings();
    settings.DropAfter = 500ms;
    SimModem dropping(settings, nullptr);
    for (char c : std::string("ATD1\r"))
        dropping.Receive(uint8_t(c), start);
    dropping.Tick(start + 200ms);

    EXPECT_EQ(dropping.NextEvent(), start + 700ms);
    EXPECT_EQ(Text(dropping.Tick(start + 700ms)), "\r\nNO CARRIER\r\n");
}

TEST(SimModemScenario, ModemLinesSetTheAnswerAndTimes)
{
    const SimScenario scenario =
        SimScenario::Parse("modem answer NO CARRIER\nmodem delay 75\nmodem guard 120\nmodem drop 900\n");

    EXPECT_EQ(scenario.Modem.Answer, "NO CARRIER");
    EXPECT_EQ(scenario.Modem.Delay, 75ms);
    EXPECT_EQ(scenario.Modem.Guard, 120ms);
    EXPECT_EQ(scenario.Modem.DropAfter, 900ms);
}

TEST(SimModemScenario, UnknownAnswerIsAnErrorOfItsLine)
{
    EXPECT_THROW(SimScenario::Parse("modem answer RING\n"), ScenarioError);
    EXPECT_THROW(SimScenario::Parse("modem delay soon\n"), ScenarioError);
}
