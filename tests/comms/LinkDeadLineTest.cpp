// A line on which a whole reset sequence has failed is dead to the link
// until it is opened again (or connected anew): later resets fail at once
// with the link error, so a run that meets a pulled cable pays the minute
// of attempts once, not at every step after it.
#include "comms/MestraIFFixture.h"
#include "comms/PelkExceptions.h"

#include <functional>

using namespace QuorvelTest;
using Pelk::EPelkResetFail;
using Pelk::TMestraIF;

namespace {

class LinkDeadLineTest : public LinkTest {
protected:
    LinkDeadLineTest()
    {
        // One status of each attempt of a sequence.
        link.OnStatus = [this] {
            if (link.GetStatus() == "Reset: clearing read buffer...")
                ++attempts;
        };
    }

    int Sequences() const { return attempts / TMestraIF::ResetAttempts; }

    int attempts = 0;
};

struct TAfterFailure {
    const char* name;
    std::function<void(TMestraIF&, ManualClock&)> step;
    int sequences; // in all, the first failed one included
};

} // namespace

TEST_F(LinkDeadLineTest, AfterAFailedSequenceOnlyANewStartRunsAnother)
{
    const TAfterFailure cases[] = {
        {"reset again", [](TMestraIF& l, ManualClock&) { l.Reset(); }, 1},
        {"a read: its block fails once, then the reset at once",
         [](TMestraIF& l, ManualClock&) {
             uint8_t byte = 0;
             l.ReadMem(&byte, 0x3000, 1, TMestraIF::Ram);
         },
         1},
        {"a write", [](TMestraIF& l, ManualClock&) {
             const uint8_t byte = 0;
             l.WriteMem(&byte, 0x3000, 1, TMestraIF::Ram);
         },
         1},
        {"the line opened again",
         [](TMestraIF& l, ManualClock& c) {
             l.Open(std::make_unique<ScriptedLine>(&c));
             l.Reset();
         },
         2},
        {"a connect", [](TMestraIF& l, ManualClock&) { l.Connect(); }, 2},
    };
    for (const TAfterFailure& c : cases) {
        link.Open(std::make_unique<ScriptedLine>(&clock)); // silent: a pulled cable
        attempts = 0;
        EXPECT_THROW(link.Reset(), EPelkResetFail) << c.name;
        EXPECT_THROW(c.step(link, clock), EPelkResetFail) << c.name;
        EXPECT_EQ(attempts % TMestraIF::ResetAttempts, 0) << c.name;
        EXPECT_EQ(Sequences(), c.sequences) << c.name;
    }
}

TEST_F(LinkDeadLineTest, ASequenceBrokenOffByTheUserLeavesTheLineToTryAgain)
{
    link.OnStatus = [this] {
        if (link.GetStatus() == "Reset: clearing read buffer..." && ++attempts == 3)
            link.Abort(); // Cancel during the third attempt
    };
    EXPECT_THROW(link.Reset(), Pelk::EPelkUserAbort);
    EXPECT_THROW(link.Reset(), EPelkResetFail);
    EXPECT_EQ(attempts, 3 + TMestraIF::ResetAttempts);
}
