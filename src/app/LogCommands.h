#pragma once
// The log commands of the command line, which read a log file and write
// what it holds with no window and no display:
//
//   quorvel --export-csv LOGFILE [--output FILE] [--semicolon] [--site SITE]
//
// The output goes to FILE (replaced whole), "-" for standard output, or
// without --output beside the log with the extension ".csv". The site file
// names the devices; without --site the site file beside the log does.
#include <QString>
#include <QStringList>

#include <cstdio>

namespace Quorvel1 {

namespace LogCommand {
inline const QString ExportCsv = QStringLiteral("--export-csv");
inline const QString ReportPdf = QStringLiteral("--report-pdf");
inline const QString Output = QStringLiteral("--output");
inline const QString Semicolon = QStringLiteral("--semicolon");
inline const QString Site = QStringLiteral("--site");
inline const QString From = QStringLiteral("--from");
inline const QString To = QStringLiteral("--to");
} // namespace LogCommand

// Exit statuses of the log commands.
constexpr int LogCommandDone = 0;
constexpr int LogCommandFailed = 1;     // the log could not be read (in full) or the output written
constexpr int LogCommandBadArguments = 2;

struct TLogCommandLine {
    QString Command; // LogCommand::ExportCsv or ReportPdf
    QString LogFile;
    QString Output;  // empty: beside the log
    QString Site;
    QString From;    // yyyy-MM-dd, for the report
    QString To;
    bool Semicolon = false;
    QString Error;   // what is wrong with the arguments
};

// True when the arguments (those after the program's name) ask for a log
// command; the rest of the command line is then not the window's.
bool IsLogCommand(const QStringList& arguments);
TLogCommandLine ParseLogCommand(const QStringList& arguments);

// The output path: the given one, or the log's path with `extension`.
QString LogCommandOutput(const TLogCommandLine& line, const QString& extension);

// Runs --export-csv. Messages go to `errors`. When the log is read only in
// part, what was read is still written and the status is LogCommandFailed.
int RunCsvExport(const TLogCommandLine& line, std::FILE* errors = stderr);

QString LogCommandUsage(const QString& programName);

} // namespace Quorvel1
