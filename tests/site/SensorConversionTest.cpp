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

// Rounded to the nearest, halves away from zero, and only the low 16 bits of
// a quotient too large for them.
TEST(ProductQuotient, RoundsToTheNearestAndKeepsTheLow16Bits)
{
    const struct {
        int A;
        int B;
        int Divisor;
        int Quotient;
    } rows[] = {
        {363, 1000, 727, 499},
        {512, 495, 1023, 248}, // 247.7
        {7, 1, 2, 4},          // 3.5
        {-7, 1, 2, -4},        // -3.5
        {-5, 1, 3, -2},        // -1.67
        {-4, 1, 3, -1},        // -1.33
        {-384, 9, 5, -691},    // -691.2
        {100, 3, -7, -43},     // -42.86
        {-32768, -32768, 1, 0},  // 2^30
        {-32768, -32768, -1, 0}, // -2^30
        {-32768, 32767, 7, -32768},
        {32767, 32767, 32767, 32767},
        {5, 5, 0, NoValueMarker}, // no divisor, no value
    };
    for (const auto& row : rows)
        EXPECT_EQ(RoundedProductQuotient(row.A, row.B, row.Divisor), row.Quotient)
            << row.A << " x " << row.B << " / " << row.Divisor;
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

// Each type's readings within its range, at its ends and beyond them.
TEST(SensorTypes, ReadingsAtAndBeyondEachTypesRange)
{
    const struct {
        int Type;
        int Raw;
        int Reading;
    } rows[] = {
        // NONE passes positive raw values
        {0, 0x7FFF, 32767},
        {0, 0x8000, NoValueMarker},
        // Voltage
        {1, 1023, 495},
        {1, 512, 248},
        {1, 1024, NoValueMarker},
        // Thermistor ends
        {2, 1023 - 40, -384},
        {2, 1023 - 41, -383},
        {2, 1023 - 44, -369},
        {2, 1023 - 39, NoValueMarker},
        {2, 1023 - 972, 1015},
        {2, 1023 - 973, NoValueMarker},
        {2, 2000, NoValueMarker},
        // Fahrenheit from thermistor
        {3, 983, -371},
        {3, 51, 2147},
        {3, 984, NoValueMarker},
        // Humidity clamps at both ends
        {4, 29, NoValueMarker},
        {4, 30, 0},
        {4, 125, 0},
        {4, 357, 50},
        {4, 588, 100},
        {4, 900, 100},
        {4, 901, NoValueMarker},
        // SENS05
        {5, 49, NoValueMarker},
        {5, 50, 18},
        {5, 700, 3768},
        {5, 740, 30148},
        {5, 747, 9999},
        {5, 950, 9999},
        {5, 951, NoValueMarker},
        // SENS05 shows over-range where the quotient would wrap: 741 x 3300 / 68 is 35960, beyond 16 bits; 746 divides by 1.
        {5, 741, 9999},
        {5, 746, 9999},
        // SENS06
        {6, 205, 99},
        {6, 206, 100},
        {6, 406, 100},
        {6, 407, NoValueMarker},
        // SENS07
        {7, 123, 595},
        {7, 124, NoValueMarker},
        // Trip input passes raw unchanged
        {8, 1, 1},
        {8, 0xFFFF, -1},
        // Pressure ranges round below zero point
        {9, 171, NoValueMarker},
        {9, 172, -2},
        {9, 182, 0},
        {9, 929, 134},
        {9, 930, NoValueMarker},
        {10, 172, -5},
        {10, 929, 360},
        // SENS11, and SENS13 its Fahrenheit
        {11, 0, -400},
        {11, 226, 694},
        {11, 227, NoValueMarker},
        {13, 0, -400}, // -40 C is -40 F
        {13, 227, NoValueMarker},
        // SENS12 counts down
        {12, 1023, 0},
        {12, 0, 100},
        {12, 512, 50},
        // SENS14
        {14, 29, NoValueMarker},
        {14, 30, 1566},
        {14, 800, -15},
        {14, 801, NoValueMarker},
        // SENS15
        {15, 131, NoValueMarker},
        {15, 182, 0},
        {15, 545, 499},
        {15, 909, 1000},
        {15, 959, 1000},
        {15, 960, NoValueMarker},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Convert(row.Type, row.Raw), row.Reading) << "type " << row.Type << " raw " << row.Raw;
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
