#pragma once
// Byte sources and sinks for record tests: a buffer to read from, a buffer to
// write into, and a device that takes only a fixed number of bytes.
#include "site/BinaryStream.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <initializer_list>

namespace SiteTest {

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// A NUL-padded text field of a record.
inline QByteArray Field(const char* text, int size)
{
    QByteArray bytes(text);
    bytes.resize(size, '\0');
    return bytes;
}

// A QBuffer opened for reading over a copy of `bytes`.
class ReadBuffer {
public:
    explicit ReadBuffer(const QByteArray& bytes) : data_(bytes), buffer_(&data_), stream_(buffer_)
    {
        buffer_.open(QIODevice::ReadOnly);
    }
    Quorvel1::TBinaryStream& Stream() { return stream_; }
    qint64 Position() const { return buffer_.pos(); }

private:
    QByteArray data_;
    QBuffer buffer_;
    Quorvel1::TBinaryStream stream_;
};

class WriteBuffer {
public:
    WriteBuffer() : buffer_(&data_), stream_(buffer_) { buffer_.open(QIODevice::WriteOnly); }
    Quorvel1::TBinaryStream& Stream() { return stream_; }
    const QByteArray& Data() const { return data_; }

private:
    QByteArray data_;
    QBuffer buffer_;
    Quorvel1::TBinaryStream stream_;
};

// Accepts `capacity` bytes, then refuses every write: a full disk.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 room = capacity_ - written.size();
        if (room <= 0)
            return -1;
        const qint64 taken = qMin(room, size);
        written.append(data, taken);
        return taken;
    }

private:
    qint64 capacity_;
};

} // namespace SiteTest
