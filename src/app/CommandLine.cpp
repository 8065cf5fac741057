#include "app/CommandLine.h"

#include "app/LaunchFile.h"
#include "app/RunLock.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace Quorvel1 {

namespace {

constexpr char KnownLetters[] = {
    OptionLetter::Automatic, OptionLetter::ErrorLog, OptionLetter::Remote, OptionLetter::Local,
    OptionLetter::Download,  OptionLetter::Alarms,   OptionLetter::Trips,  OptionLetter::ClearAlarms,
    OptionLetter::SetTime,   OptionLetter::StayOpen,
};

bool IsKnownLetter(QChar letter)
{
    for (char known : KnownLetters) {
        if (letter == QLatin1Char(known))
            return true;
    }
    return false;
}

// Takes the long options out of `arguments`; the rest stay in order.
QStringList TakeLongOptions(const QStringList& arguments, TCommandLine& line)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            rest << argument;
        } else if (argument == LongOption::Help) {
            line.Help = true;
        } else if (argument == LongOption::Version) {
            line.Version = true;
        } else if (argument.startsWith(LongOption::LaunchFile + QLatin1Char('='))) {
            line.LaunchFile = argument.mid(LongOption::LaunchFile.size() + 1);
            if (line.LaunchFile.isEmpty() && line.Error.isEmpty())
                line.Error = QStringLiteral("%1 needs a file name").arg(LongOption::LaunchFile);
        } else if (argument == LongOption::LaunchFile) {
            if (i + 1 < arguments.size() && !arguments.at(i + 1).isEmpty())
                line.LaunchFile = arguments.at(++i);
            else if (line.Error.isEmpty())
                line.Error = QStringLiteral("%1 needs a file name").arg(LongOption::LaunchFile);
        } else if (line.Error.isEmpty()) {
            line.Error = QStringLiteral("unknown option %1").arg(argument);
        }
    }
    return rest;
}

QString UnknownLetterError(const QString& options)
{
    for (qsizetype i = 1; i < options.size(); ++i) {
        if (!IsKnownLetter(options.at(i)))
            return QStringLiteral("unknown option letter '%1' in %2").arg(options.at(i)).arg(options);
    }
    return QString();
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& arguments, const QString& lastSite)
{
    TCommandLine line;
    line.SitePath = lastSite;
    const QStringList rest = TakeLongOptions(arguments, line);
    if (rest.isEmpty())
        return line;
    if (rest.first().startsWith(QLatin1Char('-'))) {
        line.Options = rest.first();
        if (line.Error.isEmpty())
            line.Error = UnknownLetterError(line.Options);
        if (rest.size() > 1)
            line.SitePath = rest.at(1);
    } else {
        line.SitePath = rest.first();
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
               "Usage: %1 [-LETTERS] [SITE.ste] [--launch-file FILE]\n"
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
               "  --launch-file FILE  write this run's launch file to FILE\n"
               "\n"
               "Program folder: %2 (set QUORVEL_HOME to change it)\n"
               "Launch file:    %3 (with A: 0 or 1, the site, the log file)\n"
               "Settings:       %4\n"
               "Runs with A (without O) in one program folder take turns: a run waits\n"
               "up to %5 s for the one before it to end.\n"
               "Exit status with A: 0 when the run succeeded, else 1; 2 for a mistake\n"
               "on the command line.\n")
        .arg(programName, folder, folder + LaunchFileName, QDir::toNativeSeparators(settings))
        .arg(RunLockWaitS);
}

bool DisplayConfigured()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QString NoDisplayText(const QString& programName)
{
    return QStringLiteral("%1: no display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
                          "to run unattended give the letter A, as in %1 -ALG SITE.ste (see %1 --help)\n")
        .arg(programName);
}

} // namespace Quorvel1
