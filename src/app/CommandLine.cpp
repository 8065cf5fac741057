#include "app/CommandLine.h"

#include "app/LaunchFile.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace Quorvel1 {

TCommandLine ParseCommandLine(const QStringList& arguments, const QString& lastSite)
{
    TCommandLine line;
    line.SitePath = lastSite;
    if (arguments.isEmpty())
        return line;
    if (arguments.first().startsWith(QLatin1Char('-'))) {
        line.Options = arguments.first();
        if (arguments.size() > 1)
            line.SitePath = arguments.at(1);
    } else {
        line.SitePath = arguments.first();
    }
    return line;
}

bool HasOptionLetter(const QString& options, char letter)
{
    return options.contains(QLatin1Char(letter), Qt::CaseSensitive);
}

bool IsUnattendedRun(const QString& options)
{
    return HasOptionLetter(options, OptionLetter::Automatic)
        && !HasOptionLetter(options, OptionLetter::StayOpen);
}

QString UsageText(const QString& programName)
{
    const QString settings = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             + QStringLiteral("/Mestra Apps/Quorvel.conf");
    const QString folder = ProgramFolder();
    return QStringLiteral(
               "Usage: %1 [-LETTERS] [SITE.ste]\n"
               "       %1 --help | --version\n"
               "\n"
               "Opens the site file SITE.ste (without it, the site opened last).\n"
               "The option word is one argument of letters after a \"-\":\n"
               "  A  automatic: no questions (errors go to the error log), write the\n"
               "     launch file and end after the run (needs no display)\n"
               "  J  open the error log also without A\n"
               "  R  connect through the modem\n"
               "  L  connect through the serial port (wins over R)\n"
               "  G  download the log\n"
               "  F  collect the units' alarms into the error log\n"
               "  P  with F: also collect the units' trips\n"
               "  C  with F: clear all alarms afterwards\n"
               "  T  set the logger's clock from the PC\n"
               "  O  stay online and keep the program open after the run\n"
               "\n"
               "Program folder: %2 (set QUORVEL_HOME to change it)\n"
               "Launch file:    %3 (with A: 0 or 1, the site, the log file)\n"
               "Settings:       %4\n"
               "Exit status with A: 0 when the run succeeded, else 1.\n")
        .arg(programName, folder, folder + LaunchFileName, QDir::toNativeSeparators(settings));
}

} // namespace Quorvel1
