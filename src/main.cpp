// The program: the main window, or, when the option word asks for an
// automatic run that ends by itself ('A' without 'O'), the same start and end
// with no window and no display at all.
#include "app/CommandLine.h"
#include "app/gui/FQw.h"
#include "app/gui/LogCommandRun.h"
#include "app/QuorvelW.h"
#include "app/UnattendedRun.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void Print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

void Describe(QCoreApplication& app)
{
    app.setOrganizationName(QStringLiteral("Mestra Apps"));
    app.setApplicationName(QStringLiteral("Quorvel"));
    app.setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
}

} // namespace

int main(int argc, char** argv)
{
    using namespace Quorvel1;
    const QStringList arguments = ArgumentsOf(argc, argv);
    // --export-csv and --report-pdf read a log file and end: no window.
    if (IsLogCommand(arguments))
        return RunLogCommandLine(argc, argv, arguments, QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    const QString first = arguments.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("--version")) {
        QCoreApplication app(argc, argv);
        if (first == QLatin1String("--version"))
            Print(QStringLiteral("quorvel %1\n").arg(QStringLiteral(QUORVEL_VERSION)));
        else
            Print(UsageText(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName()));
        return 0;
    }

    if (IsUnattendedRun(ParseCommandLine(arguments, QString()).Options)) {
        QCoreApplication app(argc, argv);
        Describe(app);
        return RunUnattended(arguments);
    }

    QApplication app(argc, argv);
    Describe(app);
    // The toolkit has taken its own options out of the command line.
    QStringList remaining = QCoreApplication::arguments();
    remaining.removeFirst();
    TFQw window(remaining);
    window.show();
    return app.exec();
}
