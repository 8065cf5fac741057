// The log viewer's chart: it shows beside the table, the ticked devices are
// its lines, zoom and pan by key change the visible range's figures, and a
// limit typed for a device marks the values beyond it.
#include "logger/gui/DlgLogView.h"
#include "logger/gui/LogChart.h"
#include "logger/gui/LogDeviceModel.h"

#include "logger/HandLog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

// ASMs of units 1..`devices`; device d logs d * 100 + row.
TLogTable ChartTable(int devices, int rows)
{
    LogTest::THandLog hand;
    for (int d = 1; d <= devices; ++d)
        hand.Keys.push_back({LogTest::AsmTypeByte, uint16_t(0x0020 + d)});
    for (int row = 1; row <= rows; ++row) {
        hand.Values.emplace_back();
        for (int d = 1; d <= devices; ++d)
            hand.Values.back().push_back(uint16_t(d * 100 + row));
    }
    hand.BufferSize = uint16_t(std::clamp(devices * rows, 2048, 32000));
    return ReadLogBytes(LogTest::LogBytes(hand), QStringLiteral("4660A03.LOG"));
}

QString Figure(TLogDeviceModel& model, int device, int column)
{
    return model.index(device, column).data().toString();
}

void Press(QWidget& widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

} // namespace

TEST(LogViewerChartTest, ShowsTheTableAndTheChartOfTheFirstDevices)
{
    TDlgLogView dialog(ChartTable(6, 3));
    ASSERT_EQ(dialog.Tabs().count(), 2);
    EXPECT_EQ(dialog.Tabs().widget(0)->findChild<QTableView*>("tableLog"), &dialog.View());
    EXPECT_EQ(dialog.View().model()->rowCount(), 3);
    EXPECT_EQ(dialog.Chart().DeviceNames().join(' ').toStdString(), "ASM1/1/0 ASM2/1/0 ASM3/1/0 ASM4/1/0");
    EXPECT_EQ(dialog.Chart().PointCount(), 4u * 3);
    EXPECT_EQ(dialog.DevicesView().model()->rowCount(), 6);
}

TEST(LogViewerChartTest, TickingDevicesChangesTheLines)
{
    TDlgLogView dialog(ChartTable(6, 3));
    QAbstractItemModel& devices = *dialog.DevicesView().model();
    const struct {
        int Device;
        bool Ticked;
        QStringList Lines;
    } steps[] = {
        {0, false, {"ASM2/1/0", "ASM3/1/0", "ASM4/1/0"}},
        {5, true, {"ASM2/1/0", "ASM3/1/0", "ASM4/1/0", "ASM6/1/0"}},
        {2, false, {"ASM2/1/0", "ASM4/1/0", "ASM6/1/0"}},
        {1, false, {"ASM4/1/0", "ASM6/1/0"}},
        {3, false, {"ASM6/1/0"}},
        {5, false, {}},
        {4, true, {"ASM5/1/0"}},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(devices.setData(devices.index(step.Device, TLogDeviceModel::DeviceColumn),
                                    step.Ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
        EXPECT_EQ(dialog.Chart().DeviceNames().join(' ').toStdString(), step.Lines.join(' ').toStdString())
            << "after device " << step.Device;
        EXPECT_EQ(dialog.Chart().PointCount(), std::size_t(step.Lines.size()) * 3);
    }
    // The space bar ticks the current device, as a keyboard user does.
    dialog.DevicesView().setCurrentIndex(devices.index(2, TLogDeviceModel::DeviceColumn));
    Press(dialog.DevicesView(), Qt::Key_Space);
    EXPECT_EQ(dialog.Chart().DeviceNames().join(' ').toStdString(), "ASM5/1/0 ASM3/1/0");
}

TEST(LogViewerChartTest, ZoomAndPanChangeTheVisibleRangesFigures)
{
    // Nine entries 15 minutes apart: device 1 logs 101..109.
    TDlgLogView dialog(ChartTable(1, 9));
    TLogDeviceModel& devices = dialog.Devices();
    const struct {
        int Key;
        const char* Minimum;
        const char* Mean;
        const char* Maximum;
    } steps[] = {
        {Qt::Key_Plus, "103", "105.0", "107"},  // the middle two thirds of the two hours: entries 3..7
        {Qt::Key_Right, "103", "105.5", "108"}, // a tenth later: entry 8 comes in
        {Qt::Key_Home, "101", "105.0", "109"},
        {Qt::Key_Minus, "101", "105.0", "109"}, // no wider than the whole log
    };
    EXPECT_EQ(Figure(devices, 0, TLogDeviceModel::MinimumColumn).toStdString(), "101");
    for (const auto& step : steps) {
        Press(dialog.Chart(), step.Key);
        EXPECT_EQ(Figure(devices, 0, TLogDeviceModel::MinimumColumn).toStdString(), step.Minimum) << "key " << step.Key;
        EXPECT_EQ(Figure(devices, 0, TLogDeviceModel::MeanColumn).toStdString(), step.Mean) << "key " << step.Key;
        EXPECT_EQ(Figure(devices, 0, TLogDeviceModel::MaximumColumn).toStdString(), step.Maximum) << "key " << step.Key;
    }
}

TEST(LogViewerChartTest, LimitsTypedForADeviceMarkTheValuesBeyondThem)
{
    TDlgLogView dialog(ChartTable(2, 9));
    QAbstractItemModel& devices = *dialog.DevicesView().model();
    const struct {
        int Device;
        int Column;
        const char* Text;
        bool Taken;
        qsizetype Marks;
    } steps[] = {
        {0, TLogDeviceModel::LowColumn, "103", true, 2},   // 101 and 102
        {0, TLogDeviceModel::HighColumn, "108.5", true, 3}, // and 109
        {1, TLogDeviceModel::HighColumn, "207", true, 5},   // 208 and 209 of the second
        {0, TLogDeviceModel::LowColumn, "low", false, 5},
        {0, TLogDeviceModel::LowColumn, "", true, 3},
    };
    EXPECT_EQ(dialog.Chart().MarkCount(), 0);
    for (const auto& step : steps) {
        const QModelIndex cell = devices.index(step.Device, step.Column);
        EXPECT_EQ(devices.setData(cell, QString::fromLatin1(step.Text)), step.Taken) << step.Text;
        EXPECT_EQ(dialog.Chart().MarkCount(), step.Marks) << step.Text;
    }
}

TEST(LogViewerChartTest, ManyDevicesKeepTogetherToThePointBudget)
{
    constexpr int Devices = 10;
    TLogTable table = ChartTable(Devices, 2500);
    ASSERT_TRUE(table.Ok()) << table.Error.toStdString();
    TDlgLogView dialog(std::move(table));
    dialog.Chart().resize(1200, 500);
    for (int d = 0; d < Devices; ++d)
        dialog.Devices().Choose(std::size_t(d), true);
    EXPECT_EQ(dialog.Chart().DeviceNames().size(), Devices);
    // Each line keeps its first and last entry beyond the range, and a
    // hundred pixel columns at least.
    EXPECT_LE(dialog.Chart().PointCount(), TLogChart::PointBudget + 2 * Devices);
    EXPECT_GE(dialog.Chart().PointCount(), std::size_t(Devices) * 2 * 100);
}
