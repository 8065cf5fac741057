#include "site/BinaryStream.h"

#include <array>

namespace Quorvel1 {

bool TBinaryStream::Read(std::span<std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const qint64 got = device_.read(reinterpret_cast<char*>(bytes.data() + done),
                                        static_cast<qint64>(bytes.size() - done));
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool TBinaryStream::Write(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return true;
    const qint64 put = device_.write(reinterpret_cast<const char*>(bytes.data()),
                                     static_cast<qint64>(bytes.size()));
    return put == static_cast<qint64>(bytes.size());
}

bool TBinaryStream::ReadU16(std::uint16_t& value)
{
    std::array<std::uint8_t, 2> bytes{};
    if (!Read(bytes))
        return false;
    value = GetU16(bytes, 0);
    return true;
}

bool TBinaryStream::ReadI16(std::int16_t& value)
{
    std::uint16_t raw = 0;
    if (!ReadU16(raw))
        return false;
    value = static_cast<std::int16_t>(raw);
    return true;
}

bool TBinaryStream::ReadU32(std::uint32_t& value)
{
    std::array<std::uint8_t, 4> bytes{};
    if (!Read(bytes))
        return false;
    value = static_cast<std::uint32_t>(GetU16(bytes, 0)) |
            (static_cast<std::uint32_t>(GetU16(bytes, 2)) << 16);
    return true;
}

bool TBinaryStream::WriteU16(std::uint16_t value)
{
    std::array<std::uint8_t, 2> bytes{};
    PutU16(bytes, 0, value);
    return Write(bytes);
}

bool TBinaryStream::WriteI16(std::int16_t value)
{
    return WriteU16(static_cast<std::uint16_t>(value));
}

bool TBinaryStream::WriteU32(std::uint32_t value)
{
    std::array<std::uint8_t, 4> bytes{};
    PutU16(bytes, 0, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(bytes, 2, static_cast<std::uint16_t>(value >> 16));
    return Write(bytes);
}

} // namespace Quorvel1
