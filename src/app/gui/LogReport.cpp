#include "app/gui/LogReport.h"

#include "logger/LogReader.h"
#include "logger/LogPointReducer.h"
#include "logger/LogStats.h"
#include "logger/gui/LogTrendPainter.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace Quorvel1 {

namespace {

constexpr int ReportResolution = 300;   // dots per inch
constexpr int ReportBodyPoints = 9;
constexpr int ReportTitlePoints = 16;
constexpr std::size_t ReportDevicesAcross = 4; // devices per daily table and per trend
constexpr double ReportTrendShare = 0.45; // a trend's height, of the page's width

QString TimeText(std::uint32_t local)
{
    return LogLocalDate(local).toString(Qt::ISODate) + QChar(' ')
        + QDateTime::fromSecsSinceEpoch(qint64(local), Qt::UTC).time().toString(QStringLiteral("HH:mm"));
}

// Lines of text on pages, one after the other, a new page when one is full.
class TReportPages {
public:
    TReportPages(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter)
    {
        bottom_ = painter_.viewport().height();
        width_ = painter_.viewport().width();
    }

    void Title(const QString& text)
    {
        QFont font = painter_.font();
        font.setPointSize(ReportTitlePoints);
        font.setBold(true);
        Line({text}, font);
    }
    void Heading(const QString& text)
    {
        Gap();
        QFont font = painter_.font();
        font.setPointSize(ReportBodyPoints + 2);
        font.setBold(true);
        Line({text}, font);
    }
    // Cells at equal widths after a first one of `firstShare` of the width.
    void Row(const QStringList& cells, bool bold = false, double firstShare = 0.25)
    {
        QFont font = painter_.font();
        font.setPointSize(ReportBodyPoints);
        font.setBold(bold);
        Line(cells, font, firstShare);
    }
    void Gap() { y_ += QFontMetrics(painter_.font(), &writer_).height() / 2; }
    // An area of the page's width, `share` of it high, for a drawing in the
    // body font; on a new page when it does not fit.
    QRect Block(double share)
    {
        const int height = int(width_ * share);
        if (y_ + height > bottom_) {
            writer_.newPage();
            y_ = 0;
        }
        QFont font = painter_.font();
        font.setPointSize(ReportBodyPoints);
        font.setBold(false);
        painter_.setFont(font);
        const QRect block(0, y_, width_, height);
        y_ += height;
        return block;
    }

private:
    void Line(const QStringList& cells, const QFont& font, double firstShare = 1.0)
    {
        painter_.setFont(font);
        const QFontMetrics metrics(font, &writer_);
        if (y_ + metrics.height() > bottom_) {
            writer_.newPage();
            y_ = 0;
        }
        const int first = cells.size() > 1 ? int(width_ * firstShare) : width_;
        const int rest = cells.size() > 1 ? (width_ - first) / int(cells.size() - 1) : 0;
        int x = 0;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const int w = i == 0 ? first : rest;
            painter_.drawText(QRect(x, y_, w, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                              metrics.elidedText(cells[i], Qt::ElideRight, w - metrics.averageCharWidth()));
            x += w;
        }
        y_ += metrics.height();
    }

    QPdfWriter& writer_;
    QPainter& painter_;
    int y_ = 0;
    int bottom_ = 0;
    int width_ = 0;
};

QString SummaryText(const TLogSummary& s)
{
    if (s.Count == 0)
        return QStringLiteral("-");
    return QStringLiteral("%1 / %2 / %3")
        .arg(LogNumberText(s.Minimum, s.Exponent), LogNumberText(s.Mean, s.Exponent - 1),
             LogNumberText(s.Maximum, s.Exponent));
}

} // namespace

bool WriteLogReportPdf(const TLogTable& table, const QString& path, QDate from, QDate to, QString& error)
{
    QPdfWriter writer(path);
    writer.setResolution(ReportResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Log report %1").arg(table.SiteName));
    writer.setCreator(QStringLiteral("Quorvel"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("Couldn't write %1").arg(path);
        return false;
    }
    TReportPages pages(writer, painter);
    const std::vector<std::size_t> rows = LogRowsBetween(table, from, to);

    pages.Title(QStringLiteral("Log report: %1").arg(table.SiteName.isEmpty() ? QStringLiteral("(no site)") : table.SiteName));
    pages.Row({QStringLiteral("Log file"), QFileInfo(table.FileName).fileName()});
    if (rows.empty()) {
        pages.Row({QStringLiteral("Period"), QStringLiteral("no entries")});
    } else {
        pages.Row({QStringLiteral("Period"), QStringLiteral("%1 to %2 (logger's clock)")
                                                 .arg(TimeText(table.Rows[rows.front()].Local),
                                                      TimeText(table.Rows[rows.back()].Local))});
    }
    pages.Row({QStringLiteral("Entries"), QString::number(rows.size())});
    pages.Row({QStringLiteral("Interval"), QStringLiteral("%1 s").arg(table.Interval)});
    if (!table.Ok())
        pages.Row({QStringLiteral("Note"), table.Error});

    pages.Heading(QStringLiteral("Devices"));
    const std::vector<TLogSummary> whole = SummariseLog(table, rows);
    pages.Row({QStringLiteral("Device"), QStringLiteral("Units"), QStringLiteral("Min / mean / max")}, true, 0.4);
    for (std::size_t column = 0; column < table.Columns.size(); ++column) {
        pages.Row({table.Columns[column].Name, table.Columns[column].Units, SummaryText(whole[column])}, false, 0.4);
    }

    pages.Heading(QStringLiteral("Daily minimum / mean / maximum"));
    const std::vector<TLogDay> days = SummariseLogDays(table, rows);
    for (std::size_t first = 0; first < table.Columns.size(); first += ReportDevicesAcross) {
        const std::size_t end = std::min(table.Columns.size(), first + ReportDevicesAcross);
        QStringList heading{QStringLiteral("Day")};
        for (std::size_t column = first; column < end; ++column)
            heading << table.Heading(column);
        pages.Row(heading, true, 0.16);
        for (const TLogDay& day : days) {
            QStringList cells{day.Date.toString(Qt::ISODate)};
            for (std::size_t column = first; column < end; ++column)
                cells << SummaryText(day.Devices[column]);
            pages.Row(cells, false, 0.16);
        }
        pages.Gap();
    }

    pages.Heading(QStringLiteral("Trend"));
    if (!rows.empty()) {
        const TLogPointReducer reducer(table);
        const double first = table.Rows[rows.front()].Utc * 1000.0;
        const double last = table.Rows[rows.back()].Utc * 1000.0;
        for (std::size_t column = 0; column < table.Columns.size(); column += ReportDevicesAcross) {
            std::vector<std::size_t> group;
            for (std::size_t c = column; c < std::min(table.Columns.size(), column + ReportDevicesAcross); ++c)
                group.push_back(c);
            PaintLogTrend(painter, pages.Block(ReportTrendShare), table, reducer, group, first, last);
            pages.Gap();
        }
    }

    pages.Heading(QStringLiteral("Excursions"));
    const std::vector<TLogExcursion> excursions = LogExcursions(table, rows);
    if (excursions.empty())
        pages.Row({QStringLiteral("None")});
    for (const TLogExcursion& e : excursions) {
        if (e.Column < 0) {
            pages.Row({QStringLiteral("Break in the log"), QStringLiteral("%1 to %2").arg(TimeText(e.FromLocal), TimeText(e.ToLocal))}, false, 0.4);
        } else {
            const TLogColumn& column = table.Columns[std::size_t(e.Column)];
            pages.Row({column.Name, QStringLiteral("%1 to %2, up to %3 %4")
                                        .arg(TimeText(e.FromLocal), TimeText(e.ToLocal),
                                             LogNumberText(e.Extreme, whole[std::size_t(e.Column)].Exponent), column.Units)},
                      false, 0.4);
        }
    }
    if (!painter.end()) {
        error = QStringLiteral("Couldn't write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace Quorvel1
