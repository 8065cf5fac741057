// The trend drawn with a plain painter (the PDF report's): each device's line
// in its colour where its values put it, and apart where the log has no value.
#include "logger/gui/LogTrendPainter.h"

#include "logger/HandLog.h"
#include "logger/LogPointReducer.h"
#include "logger/LogReader.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

constexpr int Width = 600;
constexpr int Height = 300;

// The columns (x) of the image above the times and the legend where
// `colour` is drawn, with the highest such pixel (smallest y) of each.
std::map<int, int> Drawn(const QImage& image, const QColor& colour, int plotBottom)
{
    std::map<int, int> top;
    for (int y = 0; y < plotBottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour && !top.count(x))
                top[x] = y;
        }
    }
    return top;
}

} // namespace

TEST(LogTrendPainterTest, LinesFollowTheValuesAndBreakWhereTheLogHasNone)
{
    LogTest::THandLog hand;
    hand.Keys = {{LogTest::AsmTypeByte, 0x0021}, {LogTest::AsmTypeByte, 0x0242}};
    for (uint16_t row = 0; row < 9; ++row)
        hand.Values.push_back({uint16_t(101 + row), row == 4 ? uint16_t(0x7FFF) : uint16_t(50)});
    const TLogTable table = ReadLogBytes(LogTest::LogBytes(hand), QStringLiteral("4660A03.LOG"));
    const TLogPointReducer reducer(table);

    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintLogTrend(painter, QRectF(0, 0, Width, Height), table, reducer, {0, 1}, reducer.FirstTime(), reducer.LastTime());
    const int plotBottom = Height - 3 * QFontMetrics(painter.font(), &image).height();
    painter.end();

    const std::map<int, int> rising = Drawn(image, LogTrendColour(0), plotBottom);
    const std::map<int, int> level = Drawn(image, LogTrendColour(1), plotBottom);
    ASSERT_GT(rising.size(), std::size_t(Width / 2));
    ASSERT_GT(level.size(), std::size_t(Width / 3));
    // Rising values climb from left to right, above the lower device's line.
    EXPECT_GT(rising.begin()->second, rising.rbegin()->second + 20);
    for (const auto& [x, y] : level)
        EXPECT_GT(y, rising.begin()->second) << x;
    // The entry without value leaves a gap of two intervals (a quarter of the
    // width) in the level line.
    int widestGap = 0;
    for (auto it = std::next(level.begin()); it != level.end(); ++it)
        widestGap = std::max(widestGap, it->first - std::prev(it)->first);
    EXPECT_GT(widestGap, Width / 5);
}
