#pragma once
// The log viewer's trend chart: the chosen devices' values over time, one
// line a device (drawn in runs, apart at breaks in the log), with marks where
// a value left the device's limits and the limits as dashed lines.
//
// Only what the chart's width can show is drawn: each change of the visible
// range reduces the lines again to a few points a pixel column (wider columns
// when many devices are drawn), so a year of entries redraws about as fast as
// a day's.
//
// Zoom: the wheel (about the pointer), a rubber band dragged with the left
// button, "+" and "-". Pan: a drag with the middle button (or with Ctrl and
// the left), the arrow keys. Home (or "0") shows the whole log again.
#include "logger/LogPointReducer.h"

#include <QChartView>

#include <limits>
#include <map>
#include <vector>

class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace Quorvel1 {

class TLogTable;

class TLogChart : public QChartView {
    Q_OBJECT
public:
    static constexpr double ZoomStep = 1.5; // a key press's zoom
    static constexpr double PanStep = 0.1;  // an arrow key's pan, of the visible range
    // The points of all lines together, at most: the chart's own work grows
    // with them (about 1.5 us a point), and this many redraw in about 30 ms.
    static constexpr std::size_t PointBudget = 18000;

    // The table must outlive the chart.
    explicit TLogChart(const TLogTable& table, QWidget* parent = nullptr);
    ~TLogChart() override;

    const TLogPointReducer& Reducer() const { return reducer_; }

    // The devices (table columns) drawn, in this order.
    void SetDevices(const std::vector<std::size_t>& columns);
    const std::vector<std::size_t>& Devices() const { return columns_; }
    void SetLimits(std::size_t column, const TLogLimits& limits);

    // The visible range, in milliseconds since 1970 (the PC's clock).
    double From() const { return from_; }
    double To() const { return to_; }
    // Shows `from` to `to`, kept within the log's time span.
    void SetRange(double from, double to);
    // Narrows (factor > 1) or widens the range about `centre` (the middle when
    // NaN).
    void ZoomBy(double factor, double centre = std::numeric_limits<double>::quiet_NaN());
    // Moves the range by `fraction` of its width, later for a positive one.
    void PanBy(double fraction);
    void ResetRange();

    // The names of the device lines drawn, and their points and marks.
    QStringList DeviceNames() const;
    std::size_t PointCount() const;
    qsizetype MarkCount() const;

    // Reduces the lines again for the range and the chart's width.
    void Redraw();

signals:
    void RangeChanged();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TDeviceLines {
        std::vector<QLineSeries*> Runs; // the first carries the name and the legend
        QLineSeries* Low = nullptr;
        QLineSeries* High = nullptr;
    };

    int Pixels() const;
    double TimeAt(double x) const;
    QLineSeries* AddLine(const QString& name, const QColor& colour, Qt::PenStyle style);
    void RemoveLine(QLineSeries* line);
    std::vector<TLogTrend> ReduceDevices() const;
    void DrawDevice(std::size_t column, const TLogTrend& trend, TDeviceLines& lines, QList<QPointF>& marks,
                    double& low, double& high);
    void AxisRangeChanged();

    const TLogTable& table_;
    TLogPointReducer reducer_;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
    QScatterSeries* marks_ = nullptr;
    std::vector<std::size_t> columns_;
    std::map<std::size_t, TDeviceLines> lines_;
    std::map<std::size_t, TLogLimits> limits_;
    double from_ = 0;
    double to_ = 0;
    int drawnPixels_ = 0; // the width the lines were last reduced for
    bool panning_ = false;
    double panFrom_ = 0; // the pointer's x where the drag was last seen
};

} // namespace Quorvel1
