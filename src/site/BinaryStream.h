#pragma once
// Exact-size binary reads and writes over any QIODevice (a file, a buffer).
// The site model's records are serialised field by field into little-endian
// bytes; this class only moves whole runs of bytes and says whether the whole
// run got through.
#include <QIODevice>

#include <cstdint>
#include <span>

namespace Quorvel1 {

class TBinaryStream {
public:
    explicit TBinaryStream(QIODevice& device) : device_(device) {}

    // True only when every byte was read; a short read leaves the rest of
    // `bytes` unspecified.
    bool Read(std::span<std::uint8_t> bytes);
    bool Write(std::span<const std::uint8_t> bytes);

    bool ReadU16(std::uint16_t& value);
    bool ReadI16(std::int16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool WriteU16(std::uint16_t value);
    bool WriteI16(std::int16_t value);
    bool WriteU32(std::uint32_t value);

    QIODevice& Device() { return device_; }

private:
    QIODevice& device_;
};

// Little-endian field access inside a record buffer.
inline std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline void PutU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace Quorvel1
