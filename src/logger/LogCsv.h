#pragma once
// A log table as comma-separated values for spreadsheets (RFC 4180): UTF-8,
// lines ended by CR LF, one header row, then one row per entry.
//
//   "Local time","UTC time", then one heading per device: its name and its
//   units in brackets ("Store temp [C]").
//
// Times are ISO 8601 with their offset; numbers have a decimal point whatever
// the locale. A cell without a value is empty; a reading that was never set
// is "-----"; a device the entry's download did not log is empty too. A
// field is quoted when it holds the separator, a quote, CR or LF, quotes
// doubled. The semicolon separator suits spreadsheets of locales that write
// decimal commas and take the comma for a decimal sign.
#include <QByteArray>
#include <QString>

namespace Quorvel1 {

class TLogTable;

struct TCsvOptions {
    bool Semicolon = false;
};

QByteArray LogTableCsv(const TLogTable& table, const TCsvOptions& options = {});

// One field, quoted when it has to be.
QString CsvField(const QString& text, QChar separator);

} // namespace Quorvel1
