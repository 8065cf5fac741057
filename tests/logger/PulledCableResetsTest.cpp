// A cable pulled in the middle of an unattended run's download: one reset
// sequence fails, and every step after it (the download's own release, the
// job runner's reset after the link error, the run's next commands) fails at
// once with the link error instead of repeating the minute of attempts.
#include "logger/LoggerSimFixture.h"

#include "comms/PelkExceptions.h"
#include "logger/LogDownload.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using Pelk::TMestraIF;

namespace {

class PulledCableResetsTest : public QuorvelTest::LoggerSimFixture {
protected:
    void CountAttempts()
    {
        link.OnStatus = [this] {
            if (link.GetStatus() == "Reset: clearing read buffer...")
                ++attempts;
        };
    }

    QTemporaryDir files;
    int attempts = 0;
};

} // namespace

TEST_F(PulledCableResetsTest, DownloadOnAPulledCableAndTheStepsAfterItRunOneResetSequence)
{
    // The line goes dead some 3000 bytes into the buffer; the block's retries
    // are left as they are, so the failing block itself starts the reset.
    Start("logger prefill 2500\nlogger clock-stopped\n", {"--stall-after", "3000"});
    link.ResetTimeout = 100;
    CountAttempts();
    QString fileName;

    EXPECT_ANY_THROW(log->Download(fileName, files.path() + "/"));
    EXPECT_EQ(log->DownloadFailure, LogDlLinkError);
    // The job runner resets the link after a link error.
    EXPECT_THROW(link.Reset(), Pelk::EPelkResetFail);
    // The run's next commands read and write the interface unit.
    uint8_t alarms[4] = {};
    EXPECT_THROW(link.ReadMem(alarms, TMestraIF::AlarmTableSlot, sizeof alarms, TMestraIF::Ram),
                 Pelk::EPelkResetFail);
    EXPECT_ANY_THROW(log->SetTime());

    EXPECT_EQ(attempts, TMestraIF::ResetAttempts);
}
