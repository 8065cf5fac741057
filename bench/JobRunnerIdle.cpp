// Processor time of the job runner while connected to the simulator with
// only standing jobs that find nothing to do (three of period 50, as at
// start-up), and while it is paused. Measured twice: with jobs that do not
// say they found nothing (each step then follows the last at once, with two
// UI calls per step), and with jobs that say so (the runner rests after a
// round of idle steps).
#include "comms/MestraIF.h"
#include "jobs/PelkJob.h"
#include "jobs/PelkThread.h"
#include "support/SimProcess.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <pthread.h>
#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>

namespace {

constexpr int StandingJobs = 3;
constexpr int32_t StandingPeriod = 50;
constexpr int WarmUpMs = 500;
constexpr int MeasureMs = 3000;

std::atomic<clockid_t> workerClock{0};
std::atomic<bool> workerClockKnown{false};
std::atomic<long> steps{0};

class IdleJob : public Quorvel1::TPelkJob {
public:
    IdleJob(Quorvel1::TPelkThread& runner, bool saysIdle) : TPelkJob(runner, StandingPeriod), saysIdle_(saysIdle) {}

    void Step() override
    {
        if (!workerClockKnown) {
            clockid_t clock;
            pthread_getcpuclockid(pthread_self(), &clock);
            workerClock = clock;
            workerClockKnown = true;
        }
        ++steps;
        if (saysIdle_)
            NothingToDo();
    }

private:
    const bool saysIdle_;
};

double Seconds(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ProcessSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the UI thread's events (it serves the jobs' Update calls meanwhile).
void RunEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Measure(const char* what)
{
    const double workerBefore = Seconds(workerClock);
    const double processBefore = ProcessSeconds();
    const long stepsBefore = steps;
    const auto start = std::chrono::steady_clock::now();
    RunEvents(MeasureMs);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double worker = Seconds(workerClock) - workerBefore;
    const double process = ProcessSeconds() - processBefore;
    std::printf("  %-10s worker %7.3f %%, whole process %7.3f %% of one core, %8.0f steps/s\n", what,
                100.0 * worker / wall, 100.0 * process / wall, double(steps - stepsBefore) / wall);
}

void Run(Pelk::TMestraIF& link, bool saysIdle)
{
    std::printf("%s\n", saysIdle ? "standing jobs that say they found nothing to do:"
                                 : "standing jobs that return at once without saying so:");
    workerClockKnown = false;
    Quorvel1::TPelkThread runner(link);
    for (int i = 0; i < StandingJobs; ++i)
        new IdleJob(runner, saysIdle); // the runner's queue owns it
    runner.ResumeIfConnected();
    RunEvents(WarmUpMs);
    Measure("running:");
    runner.Pause();
    Measure("paused:");
    runner.StopAll();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QuorvelTest::SimProcess sim;
    Pelk::TMestraIF link;
    link.Open(-1, sim.PortPath());
    if (!link.Connect()) {
        std::fprintf(stderr, "connect failed\n");
        return 1;
    }
    std::printf("Job runner connected to the simulator, %d standing jobs of period %d, %d s each\n",
                StandingJobs, StandingPeriod, MeasureMs / 1000);
    Run(link, false);
    Run(link, true);
    return 0;
}
