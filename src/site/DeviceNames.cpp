#include "site/DeviceNames.h"

#include <array>

namespace Quorvel1 {

namespace {

constexpr std::array<const char*, 16> AlarmNames = {
    "SENSOR FAILURE", "SENSOR VARIANCE", "LOW TEMPERATURE", "HIGH TEMPERATURE",
    "NO SENSORS",     "TRIP FAILURE",    "FEED FAILURE",    "WATER FAILURE",
    "MAINS FAILURE",  "OUTPUT FAILURE",  "MANUAL OVERRIDE", "SYSTEM ERROR",
    "OUTPUT TIMEOUT", "BATTERY LOW",     "NETWORK FAILURE", "SYSTEM RESET",
};

constexpr std::array<const char*, 16> ChannelNames = {
    "PsHP",  "PsEvap1", "PsEvap2", "TsEvap1", "TsEvap2", "TrDGT",   "TrOPSS",   "TrComp",
    "TrHP",  "TrEvap",  "TrCond",  "TsAirIn", "TsAirOut", "TrLP",   "TsAirIn2", "TvRmt",
};

QString NameAt(const std::array<const char*, 16>& table, int bit)
{
    if (bit < 0 || bit >= static_cast<int>(table.size()))
        return {};
    return QString::fromLatin1(table[static_cast<std::size_t>(bit)]);
}

QStringList NamesOf(const std::array<const char*, 16>& table, std::uint16_t word)
{
    QStringList names;
    for (int bit = 0; word != 0; ++bit, word >>= 1) {
        if (word & 1)
            names << NameAt(table, bit);
    }
    return names;
}

} // namespace

QString AlarmName(int bit) { return NameAt(AlarmNames, bit); }
QString ChannelName(int bit) { return NameAt(ChannelNames, bit); }
QStringList AlarmNamesOf(std::uint16_t word) { return NamesOf(AlarmNames, word); }
QStringList ChannelNamesOf(std::uint16_t word) { return NamesOf(ChannelNames, word); }

} // namespace Quorvel1
