#include "logger/LogCsv.h"

#include "logger/LogReader.h"
#include "site/FixedPoint.h"

namespace Quorvel1 {

namespace {

const QString CsvLineEnd = QStringLiteral("\r\n");

} // namespace

QString CsvField(const QString& text, QChar separator)
{
    const bool quote = text.contains(separator) || text.contains(QChar('"')) || text.contains(QChar('\r'))
        || text.contains(QChar('\n'));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QChar('"') + quoted + QChar('"');
}

QByteArray LogTableCsv(const TLogTable& table, const TCsvOptions& options)
{
    const QChar separator = options.Semicolon ? QChar(';') : QChar(',');
    QString text;
    text.reserve(int(64 + table.Rows.size() * (48 + 8 * table.Columns.size())));
    text += QStringLiteral("Local time") + separator + QStringLiteral("UTC time");
    for (std::size_t column = 0; column < table.Columns.size(); ++column)
        text += separator + CsvField(table.Heading(column), separator);
    text += CsvLineEnd;
    for (std::size_t row = 0; row < table.Rows.size(); ++row) {
        const TLogRow& r = table.Rows[row];
        text += LogLocalTimeText(r.Local, r.Utc) + separator + LogUtcTimeText(r.Utc);
        for (std::size_t column = 0; column < table.Columns.size(); ++column) {
            text += separator;
            const TLogCell cell = table.Cell(row, column);
            if (cell.State == TLogCellState::Value)
                text += FormatFixed(cell.Value, cell.Exponent, 0);
            else if (cell.State == TLogCellState::NotSet)
                text += cell.Text;
        }
        text += CsvLineEnd;
    }
    return text.toUtf8();
}

} // namespace Quorvel1
