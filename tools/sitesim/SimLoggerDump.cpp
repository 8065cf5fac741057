// The logger's true state for tests: "key=value" lines, memory as hex.
//
//   held, clock, timer, interval, entries, new_entries, start_position,
//   start_bit, end_position, end_bit, newest_entry_time (clock - timer),
//   devices (TYPE:ADDRESS,... in entry order, hex), header, status, control,
//   command, config, readings, last_values, buffer (hex bytes)
#include "SimLogger.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace SiteSim {

namespace {

std::string hex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0xF]);
    }
    return text;
}

} // namespace

std::string SimLogger::DumpText() const
{
    using Space = SimMemory::Space;
    const std::size_t D = devices_.size();
    std::ostringstream out;
    out << "held=" << int(held_) << '\n'
        << "clock=" << clock_ << '\n'
        << "timer=" << timer_ << '\n'
        << "interval=" << interval_ << '\n'
        << "entries=" << entries_ << '\n'
        << "new_entries=" << newEntries_ << '\n'
        << "start_position=" << start_.Byte << '\n'
        << "start_bit=" << int(start_.Bit) << '\n'
        << "end_position=" << end_.Byte << '\n'
        << "end_bit=" << int(end_.Bit) << '\n'
        << "newest_entry_time=" << NewestEntryTime() << '\n';
    out << "devices=";
    for (std::size_t i = 0; i < D; ++i) {
        char device[16];
        std::snprintf(device, sizeof device, "%s%02x:%04x", i ? "," : "", devices_[i].Type, devices_[i].Address);
        out << device;
    }
    out << '\n'
        << "header=" << hex(bytes(Space::Ram, header_, 12)) << '\n'
        << "status=" << hex(bytes(Space::Ram, StatusAddress(), 32)) << '\n'
        << "control=" << hex(bytes(Space::Ram, ControlAddress(), 12)) << '\n'
        << "command=" << hex(bytes(Space::Ram, CommandAddress(), 6)) << '\n'
        << "config=" << hex(bytes(Space::Ee, ConfigStart, settings_.ConfigSize)) << '\n'
        << "readings=" << hex(bytes(Space::Ram, ReadingsAddress, 2 * D)) << '\n'
        << "last_values=" << hex(bytes(Space::Ram, LastValuesAddress, 2 * D)) << '\n'
        << "buffer=" << hex(bytes(Space::Ram, BufferAddress(), settings_.BufferSize)) << '\n';
    return out.str();
}

bool SimLogger::WriteDump(const std::string& path) const
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!(file << DumpText()) || !file.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace SiteSim
