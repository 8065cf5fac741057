#pragma once
// The log report as a PDF file: the site, the period, the devices, a table of
// each day's minimum, mean and maximum per device, the devices' trends (four
// to a chart, over the report's period), and the excursions (runs of values
// more than three standard deviations from the device's mean, and breaks in
// the series). Needs a QGuiApplication (the "offscreen" platform will do).
#include <QDate>
#include <QString>

namespace Quorvel1 {

class TLogTable;

// Writes the report of the rows from `from` to `to` (null dates: open ends).
// False, with `error` saying why, when the file cannot be written.
bool WriteLogReportPdf(const TLogTable& table, const QString& path, QDate from, QDate to, QString& error);

} // namespace Quorvel1
