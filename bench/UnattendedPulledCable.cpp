// An unattended run (-ALGFPT: connect, download, alarms, trips, clock,
// disconnect) whose cable is pulled in the middle of the download, against
// the simulator paced at 4800 baud: how long the run takes to end, next to
// how long one whole reset sequence (ten attempts) takes on the dead line.
// The site's time-out list may be given as the argument (the default list
// without one), to see an interface unit with other timing.
#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "support/SimLinkFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

constexpr int Baud = 4800;
// The line goes dead some way into the logger's ring.
const char* const StallAfter = "3000";

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One reset sequence on the simulator's line, which is dead by now.
double TimeOneResetSequence(QuorvelTest::SimLinkFixture& simulator)
{
    simulator.OpenLink();
    const auto start = std::chrono::steady_clock::now();
    try {
        simulator.link.Reset();
    } catch (const Pelk::EPelkResetFail&) {
    }
    return SecondsSince(start);
}

} // namespace

int main(int argc, char** argv)
{
    // The run's program folder and settings are the benchmark's own.
    QTemporaryDir home;
    qputenv("QUORVEL_HOME", (home.path() + "/home").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    QCoreApplication app(argc, argv);
    const QString timeouts = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QuorvelTest::SimLinkFixture simulator;
    simulator.timeouts = timeouts;
    simulator.link.SetBaudRate(Baud);
    simulator.StartSim({"--baud", QString::number(Baud), "--stall-after", StallAfter},
                       "logger prefill 2500\nlogger clock-stopped\n");
    const QString site = home.path() + "/store.ste";
    {
        Quorvel1::TSiteExt made;
        made.NewSite();
        made.ComTimeouts = timeouts;
        if (!made.Save(site)) {
            std::fprintf(stderr, "cannot write the site file\n");
            return 1;
        }
    }

    Quorvel1::THeadlessView view;
    Quorvel1::TQuorvelW controller(view);
    controller.Properties().LocalPort = simulator.sim->PortPath();
    controller.Properties().ErrorLog = home.path() + "/errors.txt";

    const auto start = std::chrono::steady_clock::now();
    controller.RunLaunch("-ALGFPT", site);
    const double seconds = SecondsSince(start);
    const double sequence = TimeOneResetSequence(simulator);

    QFile errorFile(home.path() + "/errors.txt");
    errorFile.open(QIODevice::ReadOnly);
    const QByteArray errors = errorFile.readAll();

    std::printf("unattended -ALGFPT run, cable pulled after the simulator sent %s bytes, %d baud, "
                "time-outs \"%s\"\n",
                StallAfter, Baud, timeouts.isEmpty() ? "(defaults)" : qPrintable(timeouts));
    std::printf("run ended after %.1f s; launch file line 1: %s\n", seconds,
                controller.LaunchSucceeded() ? "0" : "1");
    std::printf("one reset sequence on the dead line: %.1f s; the run less one sequence: %.1f s\n", sequence,
                seconds - sequence);
    std::printf("error log of the run:\n%s", errors.constData());
    return 0;
}
