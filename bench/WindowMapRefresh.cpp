// Processor time of the Map tab's site map kept up to date: a picture with
// 100 labels (25 units whose alarm words change, 75 ASM labels whose readings
// change every second), shown on the offscreen platform and painted, as the
// map's one-second timer refreshes and blinks it while connected. Figures:
// the processor time of one tick with its painting, as a share of a core at
// one tick a second; the whole process over some seconds of wall time at the
// map's own timer; and whether the timer runs once the map is hidden.
//
//   bench_WindowMapRefresh [seconds]      (default 10)
#include "settings/Ini.h"
#include "site/SiteExt.h"
#include "units/gui/SiteMap.h"

#include "WindowBench.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Quorvel1;

namespace {

constexpr int MapTightTicks = 300;
constexpr int MapUnitLabels = 25;
constexpr int MapDeviceLabels = 75;

// Every reading and every other alarm word changes at each round.
void ChangeSite(TSiteExt& site, std::vector<std::uint16_t>& readings, int round)
{
    for (int unit = 1; unit <= MapUnitLabels; ++unit)
        site.SetAlarmWord(unit, (round + unit) % 2 ? 0x0009 : 0);
    for (std::size_t i = 0; i < readings.size(); ++i)
        readings[i] = std::uint16_t(100 + (round * 7 + int(i)) % 300);
}

} // namespace

int main(int argc, char** argv)
{
    WindowBench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    QTemporaryDir folder;
    QImage picture(1024, 768, QImage::Format_RGB32);
    picture.fill(Qt::lightGray);
    picture.save(folder.filePath(QStringLiteral("plan.png")));
    TSiteExt site;
    QString ini = QStringLiteral("[SiteMap]\nImage=plan.png\n");
    int n = 1;
    for (int unit = 1; unit <= MapUnitLabels; ++unit, ++n)
        ini += QStringLiteral("MO%1=U,%2,%3,%4\n").arg(n, 3, 10, QLatin1Char('0')).arg(unit)
                   .arg(20 + (unit % 10) * 90).arg(20 + (unit / 10) * 60);
    for (int i = 0; i < MapDeviceLabels; ++i, ++n) {
        const QString name = QStringLiteral("ROOM%1").arg(i);
        site.Devices.push_back(TSite::CreateDevice(DevAsm));
        site.Devices.back()->SetName(name);
        site.Devices.back()->LoggerIndex = i;
        site.Devices.back()->Exponent = -1;
        site.Devices.back()->Units = 'C';
        ini += QStringLiteral("MO%1=A,%2,%3,%4\n").arg(n, 3, 10, QLatin1Char('0')).arg(name)
                   .arg(20 + (i % 10) * 95).arg(200 + (i / 10) * 60);
    }
    QFile file(folder.filePath(QStringLiteral("site.ini")));
    file.open(QIODevice::WriteOnly);
    file.write(ini.toLatin1());
    file.close();
    TIni store;
    store.Open(file.fileName());
    std::vector<std::uint16_t> readings(MapDeviceLabels, 0);

    QWidget area;
    area.resize(1024, 768);
    TQwSiteMap map(&area);
    map.SetSite([&site] { return &site; });
    map.SetReadings([&readings] { return std::span<const std::uint16_t>(readings); });
    map.Load(&store, folder.path());
    map.Bind();
    area.show();
    QCoreApplication::processEvents();
    std::printf("site map: %d labels, picture %dx%d\n", map.LabelCount(), map.PictureSize().width(),
                map.PictureSize().height());

    const double start = WindowBench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (int round = 0; round < MapTightTicks; ++round) {
        ChangeSite(site, readings, round);
        map.Tick();
        QCoreApplication::processEvents(); // the repaint
    }
    const double tick = (WindowBench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - start) / MapTightTicks;
    std::printf("  one tick, everything changed, with painting: %8.1f us = %.3f %% of a core at one "
                "tick a second\n", tick * 1e6, tick * 100);

    int round = 0;
    QTimer change;
    change.setInterval(1000);
    QObject::connect(&change, &QTimer::timeout, [&] { ChangeSite(site, readings, ++round); });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double cpuStart = WindowBench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = WindowBench::ClockSeconds(CLOCK_MONOTONIC);
    change.start();
    map.SetActive(true);
    loop.exec();
    const double cpu = WindowBench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    const double wall = WindowBench::ClockSeconds(CLOCK_MONOTONIC) - wallStart;
    std::printf("  whole process, map active for %.1f s: %.3f %% of a core\n", wall, cpu / wall * 100);

    area.hide();
    map.Tick(); // what the timer does once the tab is hidden
    std::printf("  hidden: active %s, timer %s\n", map.Active() ? "yes" : "no",
                map.TimerRunning() ? "running" : "stopped");
    return 0;
}
