// Processor time of the units list kept up to date: 30 units whose alarm
// status changes at every update, as the standing alarm job's update shows it
// once a second (an alarm table gives every unit's word in one step), in a
// list shown on the offscreen platform and painted. Figures: the processor
// time of one round of updates with its painting, as a share of a core at one
// round a second; the same when nothing changed; and the whole process's
// processor time over some seconds of wall time at one round a second.
//
//   bench_UnitsListUpdate [seconds]      (default 10)
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/gui/LBUnits.h"

#include "WindowBench.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <time.h>

#include <cstdio>
#include <cstdlib>

using namespace Quorvel1;

namespace {

constexpr int TightRounds = 300;

// Round r gives each unit one, two or no alarms, different from round r - 1.
std::uint16_t AlarmWord(int round, int unit)
{
    switch ((round + unit) % 3) {
    case 0:
        return 0x0009;
    case 1:
        return 0x0001;
    default:
        return 0;
    }
}

void UpdateRound(TSiteExt& site, TLBUnits& list, int round)
{
    for (int unit = FirstUnitNumber; unit <= LastUnitNumber; ++unit)
        site.SetAlarmWord(unit, AlarmWord(round, unit));
    for (int unit = InterfaceUnitNumber; unit <= LastUnitNumber; ++unit)
        list.UpdateStatus(unit);
    QCoreApplication::processEvents(); // the repaint
}

// Processor seconds of one round, on this (the UI) thread.
double TimeRounds(TSiteExt& site, TLBUnits& list, bool changing)
{
    const double start = WindowBench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (int round = 0; round < TightRounds; ++round)
        UpdateRound(site, list, changing ? round : 0);
    return (WindowBench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - start) / TightRounds;
}

} // namespace

int main(int argc, char** argv)
{
    WindowBench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    TSiteExt site;
    for (int unit = FirstUnitNumber; unit <= LastUnitNumber; ++unit) {
        const QByteArray name = "UNIT" + QByteArray::number(unit);
        site.AddUnit(std::make_unique<TUnit>(std::uint8_t(unit), 2, 1, 0, 0, name, 0x0C05));
    }
    TLBUnits list;
    list.SetSite([&site] { return &site; });
    list.resize(900, 700);
    list.show();
    list.RefreshAll();
    UpdateRound(site, list, 0);

    const double changing = TimeRounds(site, list, true);
    const double unchanged = TimeRounds(site, list, false);
    std::printf("units list, 30 units, one round of updates with painting:\n");
    std::printf("  every status changed: %8.1f us a round = %.3f %% of a core at one round a second\n",
                changing * 1e6, changing * 100);
    std::printf("  nothing changed:      %8.1f us a round = %.3f %% of a core at one round a second\n",
                unchanged * 1e6, unchanged * 100);

    int round = 0;
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, [&] { UpdateRound(site, list, ++round); });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double cpuStart = WindowBench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = WindowBench::ClockSeconds(CLOCK_MONOTONIC);
    tick.start();
    loop.exec();
    const double cpu = WindowBench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    const double wall = WindowBench::ClockSeconds(CLOCK_MONOTONIC) - wallStart;
    std::printf("  whole process, %d rounds in %.1f s: %.3f %% of a core\n", round, wall,
                cpu / wall * 100);
    return 0;
}
