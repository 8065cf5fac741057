#include "logger/gui/LogChart.h"

#include "logger/LogReader.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace Quorvel1 {

namespace {

constexpr double NarrowestRange = 60'000;  // ms: a minute
constexpr double WheelStep = 1.25;          // zoom of one wheel notch
constexpr double WheelNotch = 120;          // angle units of one notch
constexpr double ValueMargin = 0.05;        // above and below the values, of their span
constexpr qreal MarkSize = 7;
constexpr int TimeTicks = 5;
constexpr double ColumnPoints = 4; // the points a pixel column keeps, at most
const QColor MarkColour(Qt::red);

} // namespace

TLogChart::TLogChart(const TLogTable& table, QWidget* parent)
    : QChartView(parent), table_(table), reducer_(table)
{
    setObjectName(QStringLiteral("chartLog"));
    setAccessibleName(tr("Trend chart"));
    setFocusPolicy(Qt::StrongFocus);
    setRubberBand(QChartView::HorizontalRubberBand);
    QChart* c = chart();
    c->legend()->setAlignment(Qt::AlignBottom);
    timeAxis_ = new QDateTimeAxis(c);
    timeAxis_->setFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    timeAxis_->setTickCount(TimeTicks);
    valueAxis_ = new QValueAxis(c);
    c->addAxis(timeAxis_, Qt::AlignBottom);
    c->addAxis(valueAxis_, Qt::AlignLeft);
    marks_ = new QScatterSeries(c);
    marks_->setName(tr("Outside limits"));
    marks_->setColor(MarkColour);
    marks_->setBorderColor(MarkColour);
    marks_->setMarkerSize(MarkSize);
    c->addSeries(marks_);
    marks_->attachAxis(timeAxis_);
    marks_->attachAxis(valueAxis_);
    connect(timeAxis_, &QDateTimeAxis::rangeChanged, this, &TLogChart::AxisRangeChanged);
    // A new width needs the lines reduced again; queued, since the chart is
    // in the middle of its layout.
    connect(c, &QChart::plotAreaChanged, this, [this] {
        if (Pixels() != drawnPixels_)
            Redraw();
    }, Qt::QueuedConnection);
    ResetRange();
}

TLogChart::~TLogChart()
{
    // The axis goes with the chart, after this object's members.
    disconnect(timeAxis_, nullptr, this, nullptr);
    disconnect(chart(), nullptr, this, nullptr);
}

void TLogChart::SetDevices(const std::vector<std::size_t>& columns)
{
    for (auto it = lines_.begin(); it != lines_.end();) {
        if (std::find(columns.begin(), columns.end(), it->first) != columns.end()) {
            ++it;
            continue;
        }
        for (QLineSeries* line : it->second.Runs)
            RemoveLine(line);
        RemoveLine(it->second.Low);
        RemoveLine(it->second.High);
        it = lines_.erase(it);
    }
    columns_.clear();
    for (const std::size_t column : columns) {
        if (column < table_.Columns.size())
            columns_.push_back(column);
    }
    Redraw();
}

void TLogChart::SetLimits(std::size_t column, const TLogLimits& limits)
{
    limits_[column] = limits;
    Redraw();
}

void TLogChart::SetRange(double from, double to)
{
    const double first = reducer_.FirstTime();
    const double last = std::max(reducer_.LastTime(), first + NarrowestRange);
    double width = std::clamp(to - from, NarrowestRange, last - first);
    from = std::clamp(from, first, last - width);
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(qint64(from)),
                        QDateTime::fromMSecsSinceEpoch(qint64(from + width)));
}

void TLogChart::ZoomBy(double factor, double centre)
{
    if (std::isnan(centre))
        centre = (from_ + to_) / 2;
    SetRange(centre - (centre - from_) / factor, centre + (to_ - centre) / factor);
}

void TLogChart::PanBy(double fraction)
{
    const double step = (to_ - from_) * fraction;
    SetRange(from_ + step, to_ + step);
}

void TLogChart::ResetRange()
{
    SetRange(reducer_.FirstTime(), reducer_.LastTime());
}

// The axis's range changes by SetRange and also by the chart itself (rubber
// band, scrolling): either way the lines follow.
void TLogChart::AxisRangeChanged()
{
    from_ = double(timeAxis_->min().toMSecsSinceEpoch());
    to_ = double(timeAxis_->max().toMSecsSinceEpoch());
    Redraw();
    emit RangeChanged();
}

QStringList TLogChart::DeviceNames() const
{
    // In the chart's order: each device's first run, which the legend shows.
    QStringList names;
    for (QAbstractSeries* series : chart()->series()) {
        const bool first = std::any_of(lines_.begin(), lines_.end(), [series](const auto& device) {
            return !device.second.Runs.empty() && device.second.Runs.front() == series;
        });
        if (first)
            names << series->name();
    }
    return names;
}

std::size_t TLogChart::PointCount() const
{
    std::size_t count = 0;
    for (const auto& [column, lines] : lines_) {
        for (const QLineSeries* line : lines.Runs)
            count += std::size_t(line->count());
    }
    return count;
}

qsizetype TLogChart::MarkCount() const
{
    return marks_->count();
}

int TLogChart::Pixels() const
{
    const int plot = int(chart()->plotArea().width());
    return std::max(plot > 0 ? plot : width(), 1);
}

QLineSeries* TLogChart::AddLine(const QString& name, const QColor& colour, Qt::PenStyle style)
{
    auto* line = new QLineSeries(chart());
    line->setName(name);
    chart()->addSeries(line);
    line->attachAxis(timeAxis_);
    line->attachAxis(valueAxis_);
    if (colour.isValid()) {
        QPen pen = line->pen();
        pen.setColor(colour);
        pen.setStyle(style);
        line->setPen(pen);
        // One legend entry a device: its first run's.
        for (QLegendMarker* marker : chart()->legend()->markers(line))
            marker->setVisible(false);
    }
    return line;
}

void TLogChart::RemoveLine(QLineSeries* line)
{
    if (!line)
        return;
    chart()->removeSeries(line);
    delete line;
}

std::vector<TLogTrend> TLogChart::ReduceDevices() const
{
    // Many devices get wider pixel columns, so that all of them together keep
    // to the budget: each column keeps up to four of its entries.
    const std::size_t entries = reducer_.EntriesBetween(from_, to_);
    const double perDevice = std::min(double(entries), ColumnPoints * Pixels());
    int columns = Pixels();
    if (perDevice * double(columns_.size()) > double(PointBudget))
        columns = std::max(1, int(double(PointBudget) / (ColumnPoints * double(columns_.size()))));
    std::vector<TLogTrend> trends;
    for (const std::size_t column : columns_)
        trends.push_back(reducer_.Reduce(column, from_, to_, columns));
    return trends;
}

void TLogChart::DrawDevice(std::size_t column, const TLogTrend& trend, TDeviceLines& lines, QList<QPointF>& marks,
                           double& low, double& high)
{
    if (lines.Runs.empty())
        lines.Runs.push_back(AddLine(table_.Heading(column), QColor(), Qt::SolidLine));
    const QColor colour = lines.Runs.front()->color();
    while (lines.Runs.size() < std::max<std::size_t>(trend.Runs.size(), 1))
        lines.Runs.push_back(AddLine(table_.Heading(column), colour, Qt::SolidLine));
    while (lines.Runs.size() > std::max<std::size_t>(trend.Runs.size(), 1)) {
        RemoveLine(lines.Runs.back());
        lines.Runs.pop_back();
    }
    for (std::size_t i = 0; i < lines.Runs.size(); ++i)
        lines.Runs[i]->replace(i < trend.Runs.size() ? trend.Runs[i] : QList<QPointF>());
    for (const QList<QPointF>& run : trend.Runs) {
        for (const QPointF& point : run) {
            if (point.x() >= from_ && point.x() <= to_) {
                low = std::min(low, point.y());
                high = std::max(high, point.y());
            }
        }
    }

    const auto found = limits_.find(column);
    const TLogLimits limits = found == limits_.end() ? TLogLimits() : found->second;
    marks.append(LogPointsOutside(trend, limits));
    const std::pair<QLineSeries**, std::optional<double>> ends[] = {{&lines.Low, limits.Low}, {&lines.High, limits.High}};
    for (const auto& [line, value] : ends) {
        if (!value) {
            RemoveLine(*line);
            *line = nullptr;
            continue;
        }
        if (!*line)
            *line = AddLine(tr("%1 limit").arg(table_.Heading(column)), colour, Qt::DashLine);
        (*line)->replace({QPointF(from_, *value), QPointF(to_, *value)});
        low = std::min(low, *value);
        high = std::max(high, *value);
    }
}

void TLogChart::Redraw()
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    QList<QPointF> marks;
    drawnPixels_ = Pixels();
    const std::vector<TLogTrend> trends = ReduceDevices();
    for (std::size_t i = 0; i < columns_.size(); ++i)
        DrawDevice(columns_[i], trends[i], lines_[columns_[i]], marks, low, high);
    marks_->replace(marks);
    for (QLegendMarker* marker : chart()->legend()->markers(marks_))
        marker->setVisible(!marks.isEmpty());
    if (low > high) {
        low = 0;
        high = 1;
    }
    const double margin = std::max((high - low) * ValueMargin, 0.5);
    valueAxis_->setRange(low - margin, high + margin);
}

double TLogChart::TimeAt(double x) const
{
    const QRectF plot = chart()->plotArea();
    if (plot.width() <= 0)
        return (from_ + to_) / 2;
    return from_ + (to_ - from_) * std::clamp((x - plot.left()) / plot.width(), 0.0, 1.0);
}

void TLogChart::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / WheelNotch;
    if (notches == 0) {
        event->ignore();
        return;
    }
    ZoomBy(std::pow(WheelStep, notches), TimeAt(event->position().x()));
    event->accept();
}

void TLogChart::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomBy(ZoomStep);
        break;
    case Qt::Key_Minus:
        ZoomBy(1 / ZoomStep);
        break;
    case Qt::Key_Left:
        PanBy(-PanStep);
        break;
    case Qt::Key_Right:
        PanBy(PanStep);
        break;
    case Qt::Key_Home:
    case Qt::Key_0:
        ResetRange();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TLogChart::mousePressEvent(QMouseEvent* event)
{
    const bool pan = event->button() == Qt::MiddleButton
        || (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ControlModifier));
    if (!pan) {
        QChartView::mousePressEvent(event);
        return;
    }
    panning_ = true;
    panFrom_ = event->position().x();
    event->accept();
}

void TLogChart::mouseMoveEvent(QMouseEvent* event)
{
    if (!panning_) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const double width = chart()->plotArea().width();
    if (width > 0)
        PanBy((panFrom_ - event->position().x()) / width);
    panFrom_ = event->position().x();
    event->accept();
}

void TLogChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (!panning_) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    panning_ = false;
    event->accept();
}


} // namespace Quorvel1
