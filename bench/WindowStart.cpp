// Cold start of the program's window: from starting a fresh process to the
// main window shown with a site open (its start-up run and the window painted
// after it), and the resident memory then. Each start is a new process (this
// program run again with --child) with its own empty settings and program
// folder; the site has 30 units, each with a room, and 60 logged devices.
//
//   bench_WindowStart [starts]      (QT_QPA_PLATFORM=offscreen, or under Xvfb)
#include "app/MemoryFigures.h"
#include "app/QuorvelW.h"
#include "app/gui/FQw.h"
#include "site/SiteExt.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int DefaultStarts = 10;
constexpr int ChildLimitMs = 30000;
constexpr int PaintLimitMs = 2000;
const char* const ChildOption = "--child";

bool WriteBenchSite(const QString& path)
{
    using namespace Quorvel1;
    TSiteExt site;
    site.SetDescription(QStringLiteral("Benchmark store"));
    site.SetTelephone(QStringLiteral("0123 456789"));
    for (int n = FirstUnitNumber; n <= LastUnitNumber; ++n) {
        site.AddUnit(std::make_unique<TUnit>(std::uint8_t(n), 1, 1, 0, 0,
                                             QByteArray("UNIT") + QByteArray::number(n), 0x0C05));
        for (unsigned channel = 1; channel <= 2; ++channel) {
            std::unique_ptr<TDev> sensor = TSite::CreateDevice(DevSensor);
            sensor->SetAll(QStringLiteral("S%1/%2").arg(n).arg(channel), unsigned(n), channel, 0, 0,
                           2, 1, 'C', ActiveYes);
            site.Devices.push_back(std::move(sensor));
        }
    }
    site.SortDevices();
    return site.Save(path);
}

// Paint events anywhere in the program.
class TPaintWatch : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return QObject::eventFilter(watched, event);
    }
};

// One start: the window over the site; prints "shown <resident KB> <units>"
// once the start-up has run and the window has painted what it put on show.
int RunChild(int argc, char** argv, const QString& sitePath)
{
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Mestra Apps"));
    app.setApplicationName(QStringLiteral("Quorvel"));
    TPaintWatch paints;
    app.installEventFilter(&paints);
    Quorvel1::TFQw window({sitePath});
    QEventLoop loop;
    QObject::connect(&window, &Quorvel1::TFQw::StartupFinished, &loop, &QEventLoop::quit);
    window.show();
    loop.exec();
    const int paintsAtStartup = paints.Paints;
    QElapsedTimer waited;
    waited.start();
    while (paints.Paints == paintsAtStartup && waited.elapsed() < PaintLimitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const Quorvel1::TSiteExt& site = window.AppController()->Site();
    int units = 0;
    for (int n = Quorvel1::FirstUnitNumber; n <= Quorvel1::LastUnitNumber; ++n)
        units += site.UnitByNumber(n) != nullptr;
    std::printf("shown %lld %d\n", static_cast<long long>(Quorvel1::TMemoryFigures::Read().ResidentKb),
                units);
    std::fflush(stdout);
    window.close();
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], ChildOption) == 0)
        return RunChild(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    const int starts = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultStarts;
    QuorvelTest::TempFolder folder;
    const QString site = folder.file(QStringLiteral("Bench.ste"));
    if (!WriteBenchSite(site)) {
        std::fprintf(stderr, "could not write the site %s\n", qPrintable(site));
        return 1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUORVEL_HOME"), folder.file(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.file(QStringLiteral("config")));

    std::vector<double> seconds;
    std::vector<double> residentMb;
    for (int i = 0; i < starts; ++i) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {ChildOption, site});
        QByteArray line;
        while (!line.endsWith('\n') && child.waitForReadyRead(ChildLimitMs))
            line += child.readLine();
        const double elapsed = double(clock.nsecsElapsed()) / 1e9;
        child.waitForFinished(ChildLimitMs);
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() != 3 || words[0] != "shown" || words[2].toInt() != Quorvel1::LastUnitNumber) {
            std::fprintf(stderr, "start %d: the window was not shown with the site (%s)\n", i + 1,
                         line.constData());
            return 1;
        }
        seconds.push_back(elapsed);
        residentMb.push_back(words[1].toDouble() / 1024.0);
    }
    std::printf("platform %s, %d cold starts to the shown window with a 30-unit site open\n",
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"))), starts);
    std::printf("  start to shown: median %.3f s, min %.3f s, max %.3f s (target < 0.5 s)\n",
                Median(seconds), *std::min_element(seconds.begin(), seconds.end()),
                *std::max_element(seconds.begin(), seconds.end()));
    std::printf("  resident memory when shown: median %.1f MB, max %.1f MB (target < 80 MB)\n",
                Median(residentMb), *std::max_element(residentMb.begin(), residentMb.end()));
    return 0;
}
