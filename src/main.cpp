// The program: the main window, or, when the option word asks for an
// automatic run that ends by itself ('A' without 'O'), the same start and end
// with no window and no display at all. --help and --version answer and end;
// a command line with a mistake ends with the usage on stderr and status 2,
// and a window asked for without a display with one line and status 1.
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

// Exit statuses besides 0 and the unattended run's own 0 and 1.
constexpr int ExitNoDisplay = 1;
constexpr int ExitCommandLineError = 2;

void Print(const QString& text, std::FILE* stream = stdout)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
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
    const QString programName = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    // Everything about the command line is settled before the toolkit sees
    // it: a mistake there is a message and an exit status, never an abort
    // inside the toolkit.
    const TCommandLine line = ParseCommandLine(arguments, QString());
    if (!line.Error.isEmpty() || line.Help || line.Version) {
        QCoreApplication app(argc, argv);
        if (!line.Error.isEmpty()) {
            Print(QStringLiteral("%1: %2\n\n%3").arg(programName, line.Error, UsageText(programName)), stderr);
            return ExitCommandLineError;
        }
        if (line.Help)
            Print(UsageText(programName));
        else
            Print(QStringLiteral("quorvel %1\n").arg(QStringLiteral(QUORVEL_VERSION)));
        return 0;
    }

    if (IsUnattendedRun(line.Options)) {
        QCoreApplication app(argc, argv);
        Describe(app);
        return RunUnattended(arguments);
    }

    if (!DisplayConfigured()) {
        Print(NoDisplayText(programName), stderr);
        return ExitNoDisplay;
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
