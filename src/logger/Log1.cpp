#include "logger/Log1.h"

#include <algorithm>

namespace Quorvel1 {

void TLog1::Clear()
{
    LoggedDevices = 0;
    TotalDeviceCount = 0;
    Status.Entries = 0;
    ReservedHeader[0] = 0;
    FreeDeviceList();
}

std::uint8_t TLog1::ConfigByte(int offset) const
{
    if (offset < 0 || std::size_t(offset) >= ConfigImage.size())
        return 0;
    return ConfigImage[std::size_t(offset)];
}

std::uint16_t TLog1::ConfigWord(int offset) const
{
    return std::uint16_t(ConfigByte(offset) | ConfigByte(offset + 1) << 8);
}

bool TLog1::SetConfigByte(int offset, std::uint8_t value)
{
    const int writable = std::min<int>(int(Header.ConfigEnd) - int(Header.ConfigStart), int(ConfigImage.size()));
    if (offset < 0 || offset >= writable)
        return false;
    ConfigImage[std::size_t(offset)] = value;
    return true;
}

bool TLog1::SetConfigWord(int offset, std::uint16_t value)
{
    return SetConfigByte(offset, std::uint8_t(value & 0xFF)) && SetConfigByte(offset + 1, std::uint8_t(value >> 8));
}

std::span<const std::uint8_t> TLog1::ConfigBytes() const
{
    const int size = std::clamp(Header.ConfigSize(), 0, int(ConfigImage.size()));
    return std::span<const std::uint8_t>(ConfigImage.data(), std::size_t(size));
}

bool TLog1::ConfigFits() const
{
    return Header.ConfigSize() >= 1 && Header.ConfigSize() <= int(LogConfigCapacity);
}

void TLog1::FreeDeviceList()
{
    deviceList_.clear();
    deviceList_.shrink_to_fit();
    deviceListBuilt_ = false;
}

void TLog1::BuildDeviceList(bool rebuild)
{
    if (rebuild)
        FreeDeviceList();
    if (deviceListBuilt_)
        return;
    deviceList_ = LogConfigDeviceKeys(ConfigBytes(), LoggedDevices);
    deviceListBuilt_ = true;
}

int TLog1::FindDevice(const TDeviceKey& key)
{
    BuildDeviceList(false);
    const auto found = std::find(deviceList_.begin(), deviceList_.end(), key);
    return found == deviceList_.end() ? -1 : int(found - deviceList_.begin());
}

TDeviceKey TLog1::GetDevice(int index)
{
    BuildDeviceList(false);
    if (index < 0 || std::size_t(index) >= deviceList_.size())
        return {};
    return deviceList_[std::size_t(index)];
}

std::uint32_t TLog1::StartTime(bool byPC) const
{
    const std::uint32_t newest = byPC ? NewestEntryPCTime : NewestEntryLoggerTime;
    return newest - std::uint32_t(Status.Interval) * Status.Entries;
}

std::span<std::uint8_t> TLog1::BufferImage()
{
    return std::span<std::uint8_t>(DataArea.data(), std::min<std::size_t>(std::size_t(std::max(BufferLength, 0)), DataArea.size()));
}

std::span<const std::uint8_t> TLog1::BufferImage() const
{
    return const_cast<TLog1*>(this)->BufferImage();
}

std::span<std::uint8_t> TLog1::LastValuesBytes()
{
    const std::size_t offset = std::min(LastValuesOffset(), DataArea.size());
    const std::size_t length = std::min<std::size_t>(2u * LoggedDevices, DataArea.size() - offset);
    return std::span<std::uint8_t>(DataArea.data() + offset, length);
}

std::uint16_t TLog1::LastValue(int device) const
{
    const std::size_t at = LastValuesOffset() + 2 * std::size_t(device);
    if (device < 0 || device >= LoggedDevices || at + 1 >= DataArea.size())
        return 0;
    return std::uint16_t(DataArea[at] | DataArea[at + 1] << 8);
}

void TLog1::SetLastValue(int device, std::uint16_t value)
{
    const std::size_t at = LastValuesOffset() + 2 * std::size_t(device);
    if (device < 0 || device >= LoggedDevices || at + 1 >= DataArea.size())
        return;
    DataArea[at] = std::uint8_t(value & 0xFF);
    DataArea[at + 1] = std::uint8_t(value >> 8);
}

bool TLog1::DecodeEntry(std::span<std::uint16_t> sums)
{
    const std::span<const std::uint8_t> ring = BufferImage();
    for (std::size_t i = 0; i < LoggedDevices; ++i) {
        const std::optional<std::uint16_t> change = DecodeLogCode(ring, Decoder);
        if (!change)
            return false;
        if (i < sums.size())
            sums[i] = std::uint16_t(sums[i] + *change);
    }
    return true;
}

bool TLog1::CheckLog(std::span<std::uint16_t> sums)
{
    const TLogBitPosition start{Control.StartPosition, Control.StartBit};
    const TLogBitPosition end{Control.EndPosition, Control.EndBit};
    const std::size_t ringSize = BufferImage().size();
    Decoder = start;
    // Positions outside the ring are corrupt control data, whatever the count.
    if (start.Byte >= ringSize || end.Byte >= ringSize || start.Bit > 7 || end.Bit > 7)
        return false;
    // An entry takes at least a bit for each logged device. More entries
    // than the ring has bits for would go round it more than once, which no
    // logger writes: a corrupt count that would make a file of a few hundred
    // bytes decode into tens of thousands of entries.
    if (std::size_t(Status.Entries) * LoggedDevices > ringSize * 8)
        return false;
    std::fill(sums.begin(), sums.end(), std::uint16_t(0));
    bool decoded = true;
    for (unsigned entry = 0; decoded && entry < Status.Entries; ++entry)
        decoded = DecodeEntry(sums);
    for (std::size_t i = 0; i < sums.size(); ++i)
        sums[i] = std::uint16_t(LastValue(int(i)) - sums[i]);
    const bool result = decoded && Decoder == end;
    Decoder = start;
    return result;
}

bool TLog1::ApplyControlData()
{
    const auto& c = Status.Counts;
    const unsigned total = c[0] + c[1] + c[2] + c[3] + c[4];
    const std::size_t buffer = Control.BufferSize;
    if (buffer == 0 || buffer + (buffer & 1) + 2 * total > DataArea.size())
        return false;
    SensorTripCount = std::uint16_t(c[0] + c[1]);
    OutputOnOffCount = std::uint16_t(c[2] + c[3]);
    TotalDeviceCount = std::uint16_t(total);
    LoggedDevices = TotalDeviceCount;
    BufferLength = int(buffer);
    return true;
}

} // namespace Quorvel1
