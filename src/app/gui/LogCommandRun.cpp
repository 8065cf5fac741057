#include "app/gui/LogCommandRun.h"

#include "app/gui/LogReport.h"
#include "logger/LogReader.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>

namespace Quorvel1 {

namespace {

void PutError(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// --from and --to as dates; a null date for an option not given.
bool ParseReportDate(const QString& text, QDate& date)
{
    if (text.isEmpty())
        return true;
    date = QDate::fromString(text, Qt::ISODate);
    return date.isValid();
}

int RunPdfReport(const TLogCommandLine& line, QDate from, QDate to)
{
    const TLogTable table = ReadLogFile(line.LogFile, line.Site);
    if (!table.Ok())
        PutError(table.Error + QChar('\n'));
    if (table.Columns.empty())
        return LogCommandFailed;
    QString error;
    if (!WriteLogReportPdf(table, LogCommandOutput(line, QStringLiteral(".pdf")), from, to, error)) {
        PutError(error + QChar('\n'));
        return LogCommandFailed;
    }
    return table.Ok() ? LogCommandDone : LogCommandFailed;
}

} // namespace

int RunLogCommandLine(int& argc, char** argv, const QStringList& arguments, const QString& programName)
{
    TLogCommandLine line = ParseLogCommand(arguments);
    QDate from;
    QDate to;
    if (line.Error.isEmpty() && !(ParseReportDate(line.From, from) && ParseReportDate(line.To, to)))
        line.Error = QStringLiteral("%1 and %2 take dates as YYYY-MM-DD").arg(LogCommand::From, LogCommand::To);
    if (!line.Error.isEmpty()) {
        PutError(QStringLiteral("%1: %2\n\n%3").arg(programName, line.Error, LogCommandUsage(programName)));
        return LogCommandBadArguments;
    }
    if (line.Command == LogCommand::ExportCsv) {
        QCoreApplication app(argc, argv);
        return RunCsvExport(line);
    }
    // The report is drawn, never shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunPdfReport(line, from, to);
}

} // namespace Quorvel1
