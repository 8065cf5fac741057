#include "logger/gui/LogTrendPainter.h"

#include "logger/LogPointReducer.h"
#include "logger/LogReader.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Quorvel1 {

namespace {

constexpr double TrendMargin = 0.05; // above and below the values, of their span
constexpr int ValueSteps = 4;        // scale marks from the lowest to the highest
constexpr int TimeSteps = 4;
constexpr double LegendSwatch = 2.0; // the legend's line, in character widths
const QColor FrameColour(Qt::darkGray);
const QColor GridColour(220, 220, 220);

QString TimeText(double ms)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(ms), Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

QColor LogTrendColour(std::size_t index)
{
    static const QColor colours[] = {QColor(32, 159, 223), QColor(153, 202, 83), QColor(246, 166, 37),
                                     QColor(109, 95, 213), QColor(191, 89, 62),  QColor(0, 128, 128),
                                     QColor(200, 60, 160), QColor(90, 90, 90)};
    return colours[index % std::size(colours)];
}

namespace {

// Where times and values land in the plot.
struct TTrendFrame {
    QRectF Plot;
    double From = 0, To = 1, Low = 0, High = 1;

    double X(double ms) const { return Plot.left() + (ms - From) / (To - From) * Plot.width(); }
    double Y(double value) const { return Plot.bottom() - (value - Low) / (High - Low) * Plot.height(); }
    double ValueAt(int step) const { return Low + (High - Low) * step / ValueSteps; }
    // A scale mark's value, with as many decimals as tell its neighbours
    // apart and never in exponent form.
    QString ValueText(int step) const
    {
        const double spacing = (High - Low) / ValueSteps;
        const int decimals = std::clamp(2 - int(std::floor(std::log10(spacing))), 0, 6);
        return QString::number(ValueAt(step), 'f', decimals);
    }
};

// The lowest and highest value in range of all the trends, with a margin.
void FitValues(const std::vector<TLogTrend>& trends, TTrendFrame& frame)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const TLogTrend& trend : trends) {
        for (const QList<QPointF>& run : trend.Runs) {
            for (const QPointF& p : run) {
                if (p.x() >= frame.From && p.x() <= frame.To) {
                    low = std::min(low, p.y());
                    high = std::max(high, p.y());
                }
            }
        }
    }
    if (low > high) {
        low = 0;
        high = 1;
    }
    const double margin = std::max((high - low) * TrendMargin, 0.5);
    frame.Low = low - margin;
    frame.High = high + margin;
}

void PaintScales(QPainter& painter, const QFontMetricsF& metrics, const TTrendFrame& frame, double labelsLeft)
{
    const QRectF& plot = frame.Plot;
    const double line = metrics.height();
    for (int i = 0; i <= ValueSteps; ++i) {
        const double at = frame.Y(frame.ValueAt(i));
        painter.setPen(GridColour);
        painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(labelsLeft, at - line / 2, plot.left() - labelsLeft - metrics.averageCharWidth(), line),
                         Qt::AlignRight | Qt::AlignVCenter, frame.ValueText(i));
    }
    // As many times as fit without touching, the last one saying the zone.
    const double label = metrics.horizontalAdvance(TimeText(frame.From) + QStringLiteral(" UTC")) * 1.7;
    const int steps = std::clamp(int(plot.width() / label), 1, TimeSteps);
    const double width = plot.width() / steps;
    for (int i = 0; i <= steps; ++i) {
        const double at = plot.left() + width * i;
        const Qt::Alignment align = i == 0 ? Qt::AlignLeft : i == steps ? Qt::AlignRight : Qt::AlignHCenter;
        const double left = i == 0 ? at : i == steps ? at - width : at - width / 2;
        const QString text = TimeText(frame.From + (frame.To - frame.From) * i / steps);
        painter.drawText(QRectF(left, plot.bottom() + line / 4, width, line), align | Qt::AlignTop,
                         i == steps ? text + QStringLiteral(" UTC") : text);
    }
    painter.setPen(FrameColour);
    painter.drawRect(plot);
}

void PaintLines(QPainter& painter, double lineHeight, const TTrendFrame& frame, const std::vector<TLogTrend>& trends)
{
    painter.setClipRect(frame.Plot);
    for (std::size_t i = 0; i < trends.size(); ++i) {
        QPen pen(LogTrendColour(i));
        pen.setWidthF(std::max(1.0, lineHeight / 12));
        painter.setPen(pen);
        for (const QList<QPointF>& run : trends[i].Runs) {
            QPolygonF polyline;
            polyline.reserve(run.size());
            for (const QPointF& p : run)
                polyline << QPointF(frame.X(p.x()), frame.Y(p.y()));
            if (polyline.size() == 1)
                painter.drawPoint(polyline.front());
            else
                painter.drawPolyline(polyline);
        }
    }
    painter.setClipping(false);
}

void PaintLegend(QPainter& painter, const QFontMetricsF& metrics, QRectF legend, const QStringList& names)
{
    const double space = metrics.averageCharWidth();
    double left = legend.left();
    for (qsizetype i = 0; i < names.size(); ++i) {
        QPen pen(LogTrendColour(std::size_t(i)));
        pen.setWidthF(std::max(1.0, metrics.height() / 8));
        painter.setPen(pen);
        painter.drawLine(QPointF(left, legend.center().y()), QPointF(left + space * LegendSwatch, legend.center().y()));
        left += space * (LegendSwatch + 0.5);
        painter.setPen(Qt::black);
        const double width = metrics.horizontalAdvance(names[i]) + 1;
        painter.drawText(QRectF(left, legend.top(), width, legend.height()), Qt::AlignLeft | Qt::AlignVCenter, names[i]);
        left += width + space * 2;
    }
}

} // namespace

void PaintLogTrend(QPainter& painter, const QRectF& area, const TLogTable& table, const TLogPointReducer& reducer,
                   const std::vector<std::size_t>& columns, double from, double to)
{
    if (to <= from)
        return;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    TTrendFrame frame;
    frame.From = from;
    frame.To = to;
    std::vector<TLogTrend> trends;
    QStringList names;
    for (const std::size_t column : columns) {
        trends.push_back(reducer.Reduce(column, from, to, std::max(1, int(area.width()))));
        names << table.Heading(column);
    }
    FitValues(trends, frame);
    double labels = 0;
    for (int i = 0; i <= ValueSteps; ++i)
        labels = std::max(labels, metrics.horizontalAdvance(frame.ValueText(i)));
    const double timesTop = area.bottom() - line * 2.5;
    frame.Plot = QRectF(area.left() + labels + metrics.averageCharWidth(), area.top() + line / 2,
                        area.width() - labels - metrics.averageCharWidth() * 2, timesTop - area.top() - line / 2);
    if (frame.Plot.width() <= 0 || frame.Plot.height() <= 0)
        return;
    painter.save();
    PaintScales(painter, metrics, frame, area.left());
    PaintLines(painter, line, frame, trends);
    PaintLegend(painter, metrics, QRectF(frame.Plot.left(), area.bottom() - line, frame.Plot.width(), line), names);
    painter.restore();
}

} // namespace Quorvel1
