// Sensor converters at the ends of their ranges, and the rounded product
// quotient they are built on.
#include "site/SensorTypes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Quorvel1;

namespace {

std::int16_t Convert(int type, int raw)
{
    return SensorType(type)->Converter(static_cast<std::uint16_t>(raw));
}

} // namespace

TEST(ProductQuotient, RoundsToNearest)
{
    EXPECT_EQ(RoundedProductQuotient(363, 1000, 727), 499);
    EXPECT_EQ(RoundedProductQuotient(512, 495, 1023), 248); // 247.7
    EXPECT_EQ(RoundedProductQuotient(7, 1, 2), 4);          // 3.5 away from zero
}

TEST(ProductQuotient, RoundsNegativeProductsAwayFromZeroAtHalf)
{
    EXPECT_EQ(RoundedProductQuotient(-7, 1, 2), -4);   // -3.5
    EXPECT_EQ(RoundedProductQuotient(-5, 1, 3), -2);   // -1.67
    EXPECT_EQ(RoundedProductQuotient(-4, 1, 3), -1);   // -1.33
    EXPECT_EQ(RoundedProductQuotient(-384, 9, 5), -691); // -691.2
    EXPECT_EQ(RoundedProductQuotient(100, 3, -7), -43);  // -42.86
}

TEST(ProductQuotient, ExtremeOperandsKeepTheLow16Bits)
{
    EXPECT_EQ(RoundedProductQuotient(-32768, -32768, 1), 0);  // 2^30
    EXPECT_EQ(RoundedProductQuotient(-32768, -32768, -1), 0); // -2^30
    EXPECT_EQ(RoundedProductQuotient(-32768, 32767, 7), -32768);
    EXPECT_EQ(RoundedProductQuotient(32767, 32767, 32767), 32767);
}

TEST(ProductQuotient, ZeroDivisorGivesNoValue)
{
    EXPECT_EQ(RoundedProductQuotient(5, 5, 0), NoValueMarker);
}

TEST(SensorTypes, TableHasSixteenRowsWithUnitsAndDecimals)
{
    const char units[] = " VCF%M%C BBC FF%";
    const int decimals[] = {0, 2, 1, 1, 0, 2, 0, 1, 0, 1, 1, 1, 0, 1, 1, 1};
    for (int i = 0; i < SensorTypeCount; ++i) {
        ASSERT_NE(SensorType(i), nullptr) << i;
        EXPECT_EQ(SensorType(i)->Units, units[i]) << i;
        EXPECT_EQ(SensorType(i)->Decimals, decimals[i]) << i;
    }
    EXPECT_STREQ(SensorType(0)->Name, "NONE");
    EXPECT_STREQ(SensorType(8)->Name, "SENS08");
    EXPECT_STREQ(SensorType(15)->Name, "SENS15");
    EXPECT_EQ(SensorType(16), nullptr);
    EXPECT_EQ(SensorType(-1), nullptr);
}

TEST(SensorTypes, NoneTypePassesPositiveRawValues)
{
    EXPECT_EQ(Convert(0, 0x7FFF), 32767);
    EXPECT_EQ(Convert(0, 0x8000), NoValueMarker);
}

TEST(SensorTypes, VoltageRange)
{
    EXPECT_EQ(Convert(1, 1023), 495);
    EXPECT_EQ(Convert(1, 512), 248);
    EXPECT_EQ(Convert(1, 1024), NoValueMarker);
}

TEST(SensorTypes, ThermistorEnds)
{
    EXPECT_EQ(Convert(2, 1023 - 40), -384);
    EXPECT_EQ(Convert(2, 1023 - 41), -383);
    EXPECT_EQ(Convert(2, 1023 - 44), -369);
    EXPECT_EQ(Convert(2, 1023 - 39), NoValueMarker);
    EXPECT_EQ(Convert(2, 1023 - 972), 1015);
    EXPECT_EQ(Convert(2, 1023 - 973), NoValueMarker);
    EXPECT_EQ(Convert(2, 2000), NoValueMarker);
}

TEST(SensorTypes, FahrenheitFromThermistor)
{
    EXPECT_EQ(Convert(3, 983), -371);
    EXPECT_EQ(Convert(3, 51), 2147);
    EXPECT_EQ(Convert(3, 984), NoValueMarker);
}

TEST(SensorTypes, HumidityClampsAtBothEnds)
{
    EXPECT_EQ(Convert(4, 29), NoValueMarker);
    EXPECT_EQ(Convert(4, 30), 0);
    EXPECT_EQ(Convert(4, 125), 0);
    EXPECT_EQ(Convert(4, 357), 50);
    EXPECT_EQ(Convert(4, 588), 100);
    EXPECT_EQ(Convert(4, 900), 100);
    EXPECT_EQ(Convert(4, 901), NoValueMarker);
}

TEST(SensorTypes, Sens05Range)
{
    EXPECT_EQ(Convert(5, 49), NoValueMarker);
    EXPECT_EQ(Convert(5, 50), 18);
    EXPECT_EQ(Convert(5, 700), 3768);
    EXPECT_EQ(Convert(5, 740), 30148);
    EXPECT_EQ(Convert(5, 747), 9999);
    EXPECT_EQ(Convert(5, 950), 9999);
    EXPECT_EQ(Convert(5, 951), NoValueMarker);
}

TEST(SensorTypes, Sens05ShowsOverRangeWhereTheQuotientWouldWrap)
{
    // 741 x 3300 / 68 is 35960, beyond 16 bits; 746 divides by 1.
    EXPECT_EQ(Convert(5, 741), 9999);
    EXPECT_EQ(Convert(5, 746), 9999);
}

TEST(SensorTypes, Sens06Range)
{
    EXPECT_EQ(Convert(6, 205), 99);
    EXPECT_EQ(Convert(6, 206), 100);
    EXPECT_EQ(Convert(6, 406), 100);
    EXPECT_EQ(Convert(6, 407), NoValueMarker);
}

TEST(SensorTypes, Sens07Range)
{
    EXPECT_EQ(Convert(7, 123), 595);
    EXPECT_EQ(Convert(7, 124), NoValueMarker);
}

TEST(SensorTypes, TripInputPassesRawUnchanged)
{
    EXPECT_EQ(Convert(8, 1), 1);
    EXPECT_EQ(Convert(8, 0xFFFF), -1);
}

TEST(SensorTypes, PressureRangesRoundBelowZeroPoint)
{
    EXPECT_EQ(Convert(9, 171), NoValueMarker);
    EXPECT_EQ(Convert(9, 172), -2);
    EXPECT_EQ(Convert(9, 182), 0);
    EXPECT_EQ(Convert(9, 929), 134);
    EXPECT_EQ(Convert(9, 930), NoValueMarker);
    EXPECT_EQ(Convert(10, 172), -5);
    EXPECT_EQ(Convert(10, 929), 360);
}

TEST(SensorTypes, Sens11AndItsFahrenheit)
{
    EXPECT_EQ(Convert(11, 0), -400);
    EXPECT_EQ(Convert(11, 226), 694);
    EXPECT_EQ(Convert(11, 227), NoValueMarker);
    EXPECT_EQ(Convert(13, 0), -400); // -40 C is -40 F
    EXPECT_EQ(Convert(13, 227), NoValueMarker);
}

TEST(SensorTypes, Sens12CountsDown)
{
    EXPECT_EQ(Convert(12, 1023), 0);
    EXPECT_EQ(Convert(12, 0), 100);
    EXPECT_EQ(Convert(12, 512), 50);
}

TEST(SensorTypes, Sens14Range)
{
    EXPECT_EQ(Convert(14, 29), NoValueMarker);
    EXPECT_EQ(Convert(14, 30), 1566);
    EXPECT_EQ(Convert(14, 800), -15);
    EXPECT_EQ(Convert(14, 801), NoValueMarker);
}

TEST(SensorTypes, Sens15Range)
{
    EXPECT_EQ(Convert(15, 131), NoValueMarker);
    EXPECT_EQ(Convert(15, 182), 0);
    EXPECT_EQ(Convert(15, 545), 499);
    EXPECT_EQ(Convert(15, 909), 1000);
    EXPECT_EQ(Convert(15, 959), 1000);
    EXPECT_EQ(Convert(15, 960), NoValueMarker);
}

TEST(SensorTypes, NonNegativeQuantitiesNeverWrapNegative)
{
    // Voltage, humidity, SENS05, SENS06, SENS07 and SENS15 read from zero up;
    // a negative result would be a 16-bit wrap. The sweep over every raw value
    // also lets the sanitizer build check all converters' arithmetic.
    for (int type : {1, 4, 5, 6, 7, 15}) {
        for (int raw = 0; raw <= 0xFFFF; ++raw) {
            const std::int16_t value = Convert(type, raw);
            if (value != NoValueMarker) {
                ASSERT_GE(value, 0) << "type " << type << " raw " << raw;
            }
        }
    }
    for (int type : {0, 2, 3, 8, 9, 10, 11, 12, 13, 14})
        for (int raw = 0; raw <= 0xFFFF; ++raw)
            (void)Convert(type, raw);
}
