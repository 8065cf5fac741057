#include "app/LogCommands.h"

#include "base/AtomicFile.h"
#include "logger/LogCsv.h"
#include "logger/LogReader.h"

#include <QDir>
#include <QFileInfo>

namespace Quorvel1 {

namespace {

void PutText(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

bool IsLogCommand(const QStringList& arguments)
{
    return arguments.contains(LogCommand::ExportCsv) || arguments.contains(LogCommand::ReportPdf);
}

TLogCommandLine ParseLogCommand(const QStringList& arguments)
{
    TLogCommandLine line;
    auto fail = [&line](const QString& error) {
        if (line.Error.isEmpty())
            line.Error = error;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size() && !arguments.at(i + 1).isEmpty();
        QString* value = nullptr;
        if (argument == LogCommand::ExportCsv || argument == LogCommand::ReportPdf) {
            if (!line.Command.isEmpty())
                fail(QStringLiteral("%1 and %2 cannot go together").arg(line.Command, argument));
            line.Command = argument;
            value = &line.LogFile;
        } else if (argument == LogCommand::Output) {
            value = &line.Output;
        } else if (argument == LogCommand::Site) {
            value = &line.Site;
        } else if (argument == LogCommand::From) {
            value = &line.From;
        } else if (argument == LogCommand::To) {
            value = &line.To;
        } else if (argument == LogCommand::Semicolon) {
            line.Semicolon = true;
            continue;
        } else {
            fail(QStringLiteral("%1 is not an option of the log commands").arg(argument));
            continue;
        }
        if (!hasValue) {
            fail(QStringLiteral("%1 needs a value").arg(argument));
            continue;
        }
        *value = arguments.at(++i);
    }
    if (line.Semicolon && line.Command == LogCommand::ReportPdf)
        fail(QStringLiteral("%1 goes with %2 only").arg(LogCommand::Semicolon, LogCommand::ExportCsv));
    if ((!line.From.isEmpty() || !line.To.isEmpty()) && line.Command == LogCommand::ExportCsv)
        fail(QStringLiteral("%1 and %2 go with %3 only").arg(LogCommand::From, LogCommand::To, LogCommand::ReportPdf));
    return line;
}

QString LogCommandOutput(const TLogCommandLine& line, const QString& extension)
{
    if (!line.Output.isEmpty())
        return line.Output;
    const QFileInfo log(line.LogFile);
    return log.dir().filePath(log.completeBaseName() + extension);
}

int RunCsvExport(const TLogCommandLine& line, std::FILE* errors)
{
    const TLogTable table = ReadLogFile(line.LogFile, line.Site);
    if (!table.Ok())
        PutText(errors, table.Error + QChar('\n'));
    if (table.Columns.empty())
        return LogCommandFailed;
    const QByteArray csv = LogTableCsv(table, {.Semicolon = line.Semicolon});
    const QString output = LogCommandOutput(line, QStringLiteral(".csv"));
    if (output == QStringLiteral("-")) {
        if (std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout) != std::size_t(csv.size())
            || std::fflush(stdout) != 0) {
            PutText(errors, QStringLiteral("Couldn't write the CSV to standard output\n"));
            return LogCommandFailed;
        }
    } else if (!ReplaceFileAtomically(output, csv)) {
        PutText(errors, QStringLiteral("Couldn't write %1\n").arg(output));
        return LogCommandFailed;
    }
    return table.Ok() ? LogCommandDone : LogCommandFailed;
}

QString LogCommandUsage(const QString& programName)
{
    return QStringLiteral("Usage: %1 --export-csv LOGFILE [--output FILE|-] [--semicolon] [--site SITE.ste]\n"
                          "       %1 --report-pdf LOGFILE [--output FILE] [--from YYYY-MM-DD] [--to YYYY-MM-DD]"
                          " [--site SITE.ste]\n")
        .arg(programName);
}

} // namespace Quorvel1
