// Devices: their record, addresses, names, kinds, keys and readings.
#include "ByteStreams.h"

#include "site/Asm.h"
#include "site/DeviceNames.h"
#include "site/Output.h"
#include "site/Sensor.h"

#include <gtest/gtest.h>

#include <QTextStream>

#include <array>
#include <vector>

using namespace Quorvel1;
using SiteTest::Bytes;

namespace {

QString Printed(const TMListItem& item)
{
    QString text;
    QTextStream out(&text);
    item.Print(out);
    out.flush();
    return text;
}

} // namespace

TEST(Device, RecordIsEighteenBytesInFileOrder)
{
    TSensor sensor;
    sensor.SetName("TEMP1");
    sensor.Address = 0x161;
    sensor.Active = ActivePolled;
    sensor.Subtype = 3;
    sensor.Exponent = -1;
    sensor.Units = 'C';
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(sensor.Write(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({'T', 'E', 'M', 'P', '1', 0, 0, 0, 0, 0, 0, 0x61, 0x01, 0x02, 0x03,
                                 0x00, 0xFF, 'C'}));
}

TEST(Device, ReadRebuildsTheAddressFromItsBytes)
{
    TAsm device;
    SiteTest::ReadBuffer in(Bytes({'F', 'A', 'N', 0, 0, 0, 0, 0, 0, 0, 0, 0x45, 0x23, 0x00, 0x00,
                                   0x00, 0xFE, 'B'}));
    ASSERT_TRUE(device.Read(in.Stream()));
    EXPECT_EQ(device.NameText(), "FAN");
    EXPECT_EQ(device.Address, 0x2345);
    EXPECT_EQ(device.Active, ActiveNo);
    EXPECT_EQ(device.Exponent, -2);
    EXPECT_EQ(device.Units, 'B');
    EXPECT_EQ(device.LoggerIndex, -1);
}

TEST(Device, ShortRecordFailsAndLeavesTheDeviceAlone)
{
    TOutput output;
    output.Address = 0x42;
    SiteTest::ReadBuffer in(Bytes({'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x02, 0x01}));
    EXPECT_FALSE(output.Read(in.Stream()));
    EXPECT_EQ(output.Address, 0x42);
    EXPECT_EQ(output.NameText(), "");
}

TEST(Device, NameIsCutToTenCharacters)
{
    TSensor sensor;
    sensor.SetName("ABCDEFGHIJKL");
    EXPECT_EQ(sensor.NameText(), "ABCDEFGHIJ");
    EXPECT_EQ(sensor.Name[10], '\0');
}

TEST(Device, ConstructionDefaultsPerClass)
{
    TSensor sensor;
    TOutput output;
    TAsm asmValue;
    EXPECT_EQ(sensor.Subtype, 2);
    EXPECT_EQ(sensor.DevType(), DevSensor);
    EXPECT_EQ(output.Units, '%');
    EXPECT_EQ(output.DevType(), DevOnOffOutput);
    EXPECT_EQ(asmValue.UnitNo(), 1u);
    EXPECT_EQ(asmValue.Address, 1);
    for (const TDev* d : std::array<const TDev*, 3>{&sensor, &output, &asmValue}) {
        EXPECT_EQ(d->Active, ActiveYes);
        EXPECT_EQ(d->LoggerIndex, -1);
        EXPECT_EQ(d->NameText(), "");
    }
}

TEST(Device, IOAddressIsUnitTimesEightPlusChannel)
{
    TSensor sensor;
    sensor.SetIOAddress(12, 2);
    EXPECT_EQ(sensor.Address, 98);
    EXPECT_EQ(sensor.UnitNo(), 12u);
    EXPECT_EQ(sensor.ChannelNo(), 2u);
    EXPECT_EQ(sensor.AirspaceNo(), 0u);
}

TEST(Device, AsmAddressPacksUnitAirspaceAndMessage)
{
    TAsm device;
    device.SetAsmAddress(4, 2, 17);
    EXPECT_EQ(device.Address, 4 + 2 * 32 + 17 * 512);
    EXPECT_EQ(device.UnitNo(), 4u);
    EXPECT_EQ(device.AirspaceNo(), 2u);
    EXPECT_EQ(device.MessageNo(), 17u);
    EXPECT_EQ(device.ChannelNo(), 0u);
}

TEST(Device, SetAllPacksTheAddressByClass)
{
    TAsm asmValue;
    asmValue.SetAll("ROOM1", 5, 7, 3, 9, 0, -1, 'C', ActivePolled);
    EXPECT_EQ(asmValue.Address, 5 + 3 * 32 + 9 * 512);
    EXPECT_EQ(asmValue.Exponent, -1);
    EXPECT_EQ(asmValue.Units, 'C');
    EXPECT_EQ(asmValue.Active, ActivePolled);
    EXPECT_EQ(asmValue.NameText(), "ROOM1");

    TOutput output;
    output.SetAll("FANS", 5, 7, 3, 9, OutputVariable, 0, '%', ActiveNo);
    EXPECT_EQ(output.Address, 5 * 8 + 7);
    EXPECT_EQ(output.DevType(), DevVariableOutput);
    EXPECT_EQ(output.Active, ActiveNo);
}

TEST(Device, MakeNameShowsChannelFromOne)
{
    TSensor sensor;
    sensor.Address = 0x61;
    EXPECT_EQ(sensor.MakeName(), "SENSOR12/2");
    TOutput output;
    output.SetIOAddress(4, 0);
    EXPECT_EQ(output.MakeName(), "OUTPUT4/1");
    TAsm device;
    device.SetAsmAddress(4, 2, 17);
    EXPECT_EQ(device.MakeName(), "ASM4/2/17");
}

TEST(Device, DefaultNameIsCutToTenCharacters)
{
    TAsm device;
    device.SetAsmAddress(12, 3, 123);
    device.DefaultName();
    EXPECT_EQ(device.NameText(), "ASM12/3/12");
}

TEST(Device, SensorKindFollowsTheTripInputType)
{
    TSensor sensor;
    sensor.SetKind(DevTripInput);
    EXPECT_EQ(sensor.Subtype, TripInputType);
    EXPECT_TRUE(sensor.IsKind());
    EXPECT_EQ(sensor.DevType(), DevTripInput);
    sensor.SetKind(DevSensor);
    EXPECT_EQ(sensor.Subtype, 2);
    sensor.Subtype = 5;
    sensor.SetKind(DevSensor);
    EXPECT_EQ(sensor.Subtype, 5);
}

TEST(Device, OutputKindIsOnOffOrVariable)
{
    TOutput output;
    output.SetKind(DevVariableOutput);
    EXPECT_EQ(output.Subtype, OutputVariable);
    EXPECT_EQ(output.SubtypeName(), "VARIABLE");
    output.SetKind(DevOnOffOutput);
    EXPECT_EQ(output.Subtype, OutputOnOff);
    EXPECT_EQ(output.SubtypeName(), "ON/OFF");
    EXPECT_EQ(output.FirstSubtype(), 0);
    EXPECT_EQ(output.LastSubtype(), 1);
}

TEST(Device, KeyIsTypeZeroAndAddressLowHigh)
{
    TSensor trip;
    trip.SetKind(DevTripInput);
    trip.Address = 0x0161;
    EXPECT_EQ(trip.DeviceKey().Bytes, (std::array<std::uint8_t, 4>{0x21, 0x00, 0x61, 0x01}));
    TSensor sensor;
    sensor.Address = 0x0161;
    EXPECT_FALSE(sensor.DeviceKey() == trip.DeviceKey());
    EXPECT_TRUE(sensor.DeviceKey() == TDeviceKey(DevSensor, 0x0161));
}

TEST(Device, OutputConversion)
{
    TOutput onOff;
    EXPECT_EQ(onOff.Convert(2), 100);
    EXPECT_EQ(onOff.Convert(0x8000), NoValueMarker);
    TOutput variable;
    variable.SetKind(DevVariableOutput);
    EXPECT_EQ(variable.Convert(37), 37);
    EXPECT_EQ(variable.Convert(0xFFFF), NoValueMarker);
}

TEST(Device, OutputConverterForLoggedValues)
{
    TOutput onOff;
    EXPECT_EQ(onOff.Converter(0)(2), 100);
    EXPECT_EQ(onOff.Converter(0)(0xFFFF), NoValueMarker);
    EXPECT_EQ(onOff.Converter(1)(2), 2);
    EXPECT_EQ(onOff.Converter(1)(0xFFFF), NoValueMarker);
    TOutput variable;
    variable.SetKind(DevVariableOutput);
    EXPECT_EQ(variable.Converter(0)(0x8000), -32768);
    EXPECT_EQ(variable.Converter(0)(0xFFFF), NoValueMarker);
}

TEST(Device, SensorConversionUsesItsType)
{
    TSensor sensor;
    EXPECT_EQ(sensor.Convert(983), -384);
    EXPECT_EQ(sensor.ValueExponent(), -1);
    EXPECT_EQ(sensor.UnitsChar(), 'C');
    sensor.Subtype = TripInputType;
    EXPECT_EQ(sensor.Convert(0xFFFF), NoValueMarker); // negative raw
    EXPECT_EQ(sensor.Converter(0)(0xFFFF), -1);       // the bare type converter
}

TEST(Device, SensorOfUnknownTypeHasNoValue)
{
    TSensor sensor;
    sensor.Subtype = 16;
    EXPECT_EQ(sensor.Convert(100), NoValueMarker);
    EXPECT_EQ(sensor.Converter(0), nullptr);
    EXPECT_EQ(sensor.SubtypeName(), "");
    EXPECT_EQ(sensor.ValueText(100), "");
}

TEST(Device, ValueText)
{
    TSensor sensor;
    EXPECT_EQ(sensor.ValueText(983), "-38.4");
    EXPECT_EQ(sensor.ValueText(984), "");
    TOutput onOff;
    EXPECT_EQ(onOff.ValueText(1), "50");
    TAsm device;
    device.Exponent = -1;
    EXPECT_EQ(device.ValueText(0x7FFF), "");
    EXPECT_EQ(device.ValueText(0x8001), "-3276.7");
    EXPECT_EQ(device.ValueText(215), "21.5");
}

TEST(Device, ReadingNeedsAnAttachedDeviceAndAValue)
{
    const std::vector<std::uint16_t> readings = {0, 983, 984};
    TSensor sensor;
    std::int16_t value = 1;
    int exponent = 1;
    EXPECT_FALSE(sensor.Reading(readings, value, exponent, 1));
    EXPECT_EQ(value, 1);

    sensor.LoggerIndex = 1;
    ASSERT_TRUE(sensor.Reading(readings, value, exponent, 1));
    EXPECT_EQ(value, -384);
    EXPECT_EQ(exponent, -1);

    sensor.LoggerIndex = 2;
    EXPECT_FALSE(sensor.Reading(readings, value, exponent, 1));
    EXPECT_EQ(value, NoValueMarker);
}

TEST(Device, ReadingBeyondTheReadingsIsNoReading)
{
    const std::vector<std::uint16_t> readings = {983};
    TSensor sensor;
    sensor.LoggerIndex = 1;
    std::int16_t value = 1;
    int exponent = 0;
    EXPECT_FALSE(sensor.Reading(readings, value, exponent, 1));
    EXPECT_EQ(value, 1);
}

TEST(Device, AsmReadingUsesItsOwnNoValue)
{
    const std::vector<std::uint16_t> readings = {0x7FFF, 0x8001};
    TAsm device;
    device.Exponent = -1;
    std::int16_t value = 0;
    int exponent = 0;
    device.LoggerIndex = 0;
    EXPECT_FALSE(device.Reading(readings, value, exponent, 1));
    device.LoggerIndex = 1;
    EXPECT_TRUE(device.Reading(readings, value, exponent, 1));
    EXPECT_EQ(value, -32767);
    EXPECT_EQ(exponent, -1);
}

TEST(Device, IOPrintLine)
{
    TSensor sensor;
    sensor.SetName("TEMP1");
    sensor.SetIOAddress(12, 1);
    sensor.Subtype = 3;
    EXPECT_EQ(Printed(sensor), "  12/2       TEMP1       SENS03    YES");
    sensor.Active = ActiveNo;
    EXPECT_EQ(Printed(sensor), "  12/2       TEMP1       SENS03    NO ");
}

TEST(Device, AsmPrintLine)
{
    TAsm device;
    device.SetName("FAN");
    device.SetAsmAddress(4, 2, 17);
    device.Exponent = -1;
    device.Units = 'C';
    device.Active = ActivePolled;
    EXPECT_EQ(Printed(device), "  4     2       17    FAN            -1      C   YES");
}

TEST(DeviceNames, AlarmAndChannelNamesByBit)
{
    EXPECT_EQ(AlarmName(0), "SENSOR FAILURE");
    EXPECT_EQ(AlarmName(15), "SYSTEM RESET");
    EXPECT_EQ(AlarmName(16), "");
    EXPECT_EQ(ChannelName(0), "PsHP");
    EXPECT_EQ(ChannelName(15), "TvRmt");
    EXPECT_EQ(ChannelName(-1), "");
}

TEST(DeviceNames, NamesOfSetBitsLowestFirst)
{
    EXPECT_EQ(AlarmNamesOf(0x4001), (QStringList{"SENSOR FAILURE", "NETWORK FAILURE"}));
    EXPECT_EQ(AlarmNamesOf(0x8000), (QStringList{"SYSTEM RESET"}));
    EXPECT_TRUE(AlarmNamesOf(0).isEmpty());
    EXPECT_EQ(ChannelNamesOf(0x8003), (QStringList{"PsHP", "PsEvap1", "TvRmt"}));
}
