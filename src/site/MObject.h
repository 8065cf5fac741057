#pragma once
// Persistent objects and list items of the site model. A persistent object
// owns a fixed-size block of fields that it writes to a binary stream and
// reads back; the site file is nothing but the concatenation of such blocks
// and list records, so each block's byte layout is part of the file format.
#include <QTextStream>

#include <cstddef>
#include <cstdint>
#include <span>

namespace Quorvel1 {

class TBinaryStream;

class TMObject {
public:
    TMObject() = default;
    TMObject(const TMObject&) = delete;
    TMObject& operator=(const TMObject&) = delete;
    virtual ~TMObject() = default;

    // Byte size of the persistent block; 0 for an object with none.
    virtual std::size_t PersistentSize() const { return 0; }
    // Fill `block` (PersistentSize bytes) with the little-endian image of the
    // persistent fields, and the reverse.
    virtual void SerialiseBlock(std::span<std::uint8_t> block) const {}
    virtual void ParseBlock(std::span<const std::uint8_t> block) {}

    virtual bool Read(TBinaryStream& stream) { return ReadBlock(stream); }
    virtual bool Write(TBinaryStream& stream) { return WriteBlock(stream); }

    // The block alone, as one unit: an object without a block reads and
    // writes nothing and succeeds. A short read leaves the fields unchanged.
    bool ReadBlock(TBinaryStream& stream);
    bool WriteBlock(TBinaryStream& stream) const;
};

class TMListItem : public TMObject {
public:
    TMListItem* Prev = nullptr;
    TMListItem* Next = nullptr;

    virtual void Print(QTextStream& out) const;
};

} // namespace Quorvel1
