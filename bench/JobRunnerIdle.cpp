// Processor time of the program connected and idle: the three standing jobs
// of the controller (log readings, unit alarms, unit trips, period 50) poll a
// site of three units through the simulator, paced as a real line. Figures:
// the process's processor time per second of wall time, split into the
// worker thread, the UI thread and the rest, and the processor time per byte
// that crossed the line; then the same with the runner paused.
//
// Three sites: the interface unit with an alarm table (one read gives every
// alarm word), one without (each unit is asked across the LAN), and the
// first again on a line with no pacing (the jobs then run as fast as the
// program can, which shows its cost per byte on its own).
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "logger/LogIF.h"
#include "site/ConfigBlock.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "support/SimLinkFixture.h"
#include "support/TempFolder.h"
#include "units/DjLogRdgs.h"
#include "units/DjUnitAlarms.h"
#include "units/DjUnitTrips.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr uint16_t UnitApp = 0x0C05;
constexpr int32_t StandingPeriod = 50;
constexpr int WarmUpMs = 1000;
constexpr int MeasureMs = 5000;
constexpr int Rounds = 3;
const char* const WorkerName = "PelkWorker";

const QString ThreeUnits = "unit 1 alarms 0x0001\nunit 2\nunit 3 alarms 0x0400\n";
const QString NoAlarmTable = "descriptors 3 0 0x3040 0x3100\n";

// Processor nanoseconds of each thread of this process, by kind.
struct ThreadTimes {
    double worker = 0;
    double ui = 0;
    double other = 0;
    double Total() const { return worker + ui + other; }
};

std::string ReadFirstLine(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// /proc/self/task/*/schedstat gives each thread's time on a processor in
// nanoseconds (the first field); comm tells the worker by its name.
ThreadTimes ReadThreadTimes()
{
    ThreadTimes times;
    const QString self = QString::number(::getpid());
    const QDir tasks("/proc/self/task");
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::string folder = tasks.filePath(tid).toStdString();
        const double ns = std::stod("0" + ReadFirstLine(folder + "/schedstat"));
        if (tid == self)
            times.ui += ns;
        else if (ReadFirstLine(folder + "/comm") == WorkerName)
            times.worker += ns;
        else
            times.other += ns;
    }
    return times;
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

uint64_t WireBytes(QuorvelTest::SimProcess& sim)
{
    auto counts = sim.GetCounts();
    return counts["bytes_in"] + counts["bytes_out"];
}

void Measure(const char* what, QuorvelTest::SimProcess& sim)
{
    for (int round = 0; round < Rounds; ++round) {
        const ThreadTimes before = ReadThreadTimes();
        const double processBefore = ProcessSeconds();
        const uint64_t bytesBefore = WireBytes(sim);
        const auto start = std::chrono::steady_clock::now();
        RunEvents(MeasureMs);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t bytes = WireBytes(sim) - bytesBefore;
        const ThreadTimes after = ReadThreadTimes();
        const double process = ProcessSeconds() - processBefore;
        const double worker = (after.worker - before.worker) / 1e9;
        const double ui = (after.ui - before.ui) / 1e9;
        const double other = (after.other - before.other) / 1e9;
        std::printf("  %-8s process %6.3f %% (worker %6.3f %%, UI %6.3f %%, other %6.3f %%) of one core;"
                    " %6.0f bytes/s on the line",
                    what, 100.0 * process / wall, 100.0 * worker / wall, 100.0 * ui / wall, 100.0 * other / wall,
                    double(bytes) / wall);
        if (bytes > 0)
            std::printf(", %5.1f us a byte", 1e6 * (worker + ui + other) / double(bytes));
        std::printf("\n");
        std::fflush(stdout);
    }
}

// The settings-address file that gives the units' application its trip
// flags, so the trip job reads each unit across the LAN.
void WriteTripFlagsFile()
{
    const QString path = Quorvel1::TConfigBlock::SettingsAddressPath(UnitApp);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("012-005,FRIDGE5\n12,TRIPFLAGS\n40,SETPOINT1\n") < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

bool RunSite(const char* title, uint32_t baud, const QString& scenario)
{
    std::printf("%s\n", title);
    QStringList arguments;
    if (baud > 0)
        arguments << "--baud" << QString::number(baud);
    QuorvelTest::SimLinkFixture fixture;
    fixture.timeouts = {}; // the link's own, as in use
    fixture.link.SetBaudRate(int32_t(baud > 0 ? baud : 9600));
    fixture.Connect(arguments, scenario);
    Pelk::TMestraIF& link = fixture.link;
    QuorvelTest::SimProcess& sim = *fixture.sim;
    Quorvel1::TLogIF log(link);
    if (!log.Open()) {
        std::fprintf(stderr, "no logger\n");
        return false;
    }
    Quorvel1::TSiteExt site;
    for (uint8_t number = 1; number <= 3; ++number)
        site.AddUnit(std::make_unique<Quorvel1::TUnit>(number, 1, 1, 0, 0, QByteArray("UNIT"), UnitApp));
    site.RebuildUnitTable();

    Quorvel1::TPelkThread runner(link);
    runner.setObjectName(WorkerName);
    // As the controller makes them at start-up; the runner's queue owns them.
    new Quorvel1::TDjLogRdgs(runner, log, nullptr);
    new Quorvel1::TDjUnitAlarms(runner, site, nullptr, StandingPeriod);
    new Quorvel1::TDjUnitTrips(runner, site, StandingPeriod);
    runner.ResumeIfConnected();
    RunEvents(WarmUpMs);
    Measure("polling:", sim);
    runner.Pause();
    Measure("paused:", sim);
    runner.StopAll();
    link.Disconnect();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QuorvelTest::TempFolder home;
    qputenv("QUORVEL_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    WriteTripFlagsFile();
    std::printf("Connected and idle: three standing jobs of period %d, three units, %d x %d s each\n",
                StandingPeriod, Rounds, MeasureMs / 1000);
    // One site only when named ("table", "lan" or "unpaced"), for profiling.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    bool ok = true;
    if (only.isEmpty() || only == "table")
        ok = RunSite("9600 baud, alarm table:", 9600, ThreeUnits) && ok;
    if (only.isEmpty() || only == "lan")
        ok = RunSite("9600 baud, no alarm table (each unit asked):", 9600, NoAlarmTable + ThreeUnits) && ok;
    if (only.isEmpty() || only == "unpaced")
        ok = RunSite("no pacing, alarm table:", 0, ThreeUnits) && ok;
    return ok ? 0 : 1;
}
