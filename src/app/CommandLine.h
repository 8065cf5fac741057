#pragma once
// The program's command line: an optional option word that begins with "-",
// then an optional site path; without a site path the last site is used.
#include <QString>
#include <QStringList>

namespace Quorvel1 {

// Letters of the option word. Each counts wherever it stands in the word.
namespace OptionLetter {
constexpr char Automatic = 'A';   // no user: errors to the error log, launch file, end after the run
constexpr char ErrorLog = 'J';    // open the error log also without 'A'
constexpr char Remote = 'R';      // connect through the modem
constexpr char Local = 'L';       // connect through the serial port; wins over 'R'
constexpr char Download = 'G';    // download the log
constexpr char Alarms = 'F';      // collect the units' alarms into the error log
constexpr char Trips = 'P';       // with 'F': also collect the trips
constexpr char ClearAlarms = 'C'; // with 'F': clear all alarms afterwards
constexpr char SetTime = 'T';     // set the logger's clock from the PC
constexpr char StayOpen = 'O';    // stay online and keep the program open
} // namespace OptionLetter

// Long options, anywhere on the command line.
namespace LongOption {
inline const QString Help = QStringLiteral("--help");
inline const QString Version = QStringLiteral("--version");
// --launch-file FILE (or --launch-file=FILE): the run's own launch file.
inline const QString LaunchFile = QStringLiteral("--launch-file");
} // namespace LongOption

struct TCommandLine {
    QString Options;    // the option word with its "-", or empty
    QString SitePath;   // the site to open; may be empty
    QString LaunchFile; // --launch-file; empty: QW1Launch.txt in the program folder
    bool Help = false;
    bool Version = false;
    // What is wrong with the command line (an unknown option or letter, a
    // long option without its value); empty when nothing is.
    QString Error;
};

// `arguments` are those after the program's name. The long options are
// taken out first; of the rest, an option word comes first or not at all,
// and arguments after the site path are ignored.
TCommandLine ParseCommandLine(const QStringList& arguments, const QString& lastSite);

// Case-sensitive, anywhere in the word.
bool HasOptionLetter(const QString& options, char letter);

// A run that needs no user and ends by itself ('A' without 'O'): it needs
// no display at all.
bool IsUnattendedRun(const QString& options);

// The --help text: the option letters, the site argument and where the
// program folder, the settings and the launch file are.
QString UsageText(const QString& programName);

// Whether the window has a display to go to: DISPLAY or WAYLAND_DISPLAY is
// set, or QT_QPA_PLATFORM names a platform. Without one the toolkit would
// abort the program.
bool DisplayConfigured();

// The one line for stderr when a window is asked for and there is no
// display.
QString NoDisplayText(const QString& programName);

} // namespace Quorvel1
