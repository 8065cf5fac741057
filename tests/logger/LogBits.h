#pragma once
// Log buffers written bit by bit in the tests, in the logger's packing: bit 0
// upwards within a byte, bytes in increasing order, wrapping at the end.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace LogTest {

class RingBits {
public:
    explicit RingBits(std::size_t size, std::size_t startBit = 0) : bytes(size, 0), at_(startBit) {}

    RingBits& Put(std::initializer_list<int> bits)
    {
        for (int bit : bits)
            PutBit(bit);
        return *this;
    }
    RingBits& PutBit(int bit)
    {
        const std::size_t index = at_ / 8 % bytes.size();
        if (bit)
            bytes[index] |= uint8_t(1u << (at_ % 8));
        else
            bytes[index] &= uint8_t(~(1u << (at_ % 8)));
        ++at_;
        return *this;
    }
    RingBits& PutZeros(int count)
    {
        for (int i = 0; i < count; ++i)
            PutBit(0);
        return *this;
    }
    std::size_t BitsWritten() const { return at_; }
    uint16_t Byte() const { return uint16_t(at_ / 8 % bytes.size()); }
    uint8_t Bit() const { return uint8_t(at_ % 8); }

    std::vector<uint8_t> bytes;

private:
    std::size_t at_;
};

} // namespace LogTest
