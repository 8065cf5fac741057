#include "modem/ModemConfigFile.h"

#include "base/Exception.h"

#include <QList>

#include <algorithm>

namespace Quorvel1 {

using namespace ModemConfigFormat;

namespace {

enum HeaderWord { TotalSize, NeededSize, UsedSize, StringFormat, StringSize, StringOffset };

uint32_t readWord(const QByteArray& bytes, uint32_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes[qsizetype(at) + i]);
    return value;
}

void appendWord(QByteArray& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

uint32_t headerWord(const QByteArray& devConfig, HeaderWord word)
{
    if (devConfig.size() < qsizetype(HeaderSize))
        throw Exception(SetFailedText);
    return readWord(devConfig, uint32_t(word) * 4);
}

} // namespace

QByteArray FormatModemConfigBlock(const TModemConfig& config)
{
    QByteArray block;
    block += "Init=" + config.Init.toLatin1() + "\n";
    block += "Dial=" + config.Dial.toLatin1() + "\n";
    block += "Speed=" + QByteArray::number(config.Speed) + "\n";
    return block;
}

TModemConfig ParseModemConfigBlock(const QByteArray& block)
{
    TModemConfig config;
    for (const QByteArray& rawLine : block.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (key == "Init")
            config.Init = QString::fromLatin1(value);
        else if (key == "Dial")
            config.Dial = QString::fromLatin1(value);
        else if (key == "Speed")
            config.Speed = value.toUInt();
    }
    return config;
}

QByteArray BuildDevConfig(const QByteArray& block)
{
    if (uint64_t(block.size()) > DevConfigSize - HeaderSize)
        throw Exception(TooLargeText);
    const uint32_t needed = HeaderSize + uint32_t(block.size());
    QByteArray devConfig;
    for (uint32_t word : {DevConfigSize, needed, needed, StringFormatAscii, uint32_t(block.size()), HeaderSize})
        appendWord(devConfig, word);
    devConfig += block;
    devConfig.resize(DevConfigSize, '\0');
    return devConfig;
}

QByteArray DevConfigBlock(const QByteArray& devConfig)
{
    const uint64_t offset = headerWord(devConfig, StringOffset);
    const uint64_t size = headerWord(devConfig, StringSize);
    // The block must lie inside the part of the structure that is in use.
    const uint64_t needed = std::min<uint64_t>(headerWord(devConfig, NeededSize), uint64_t(devConfig.size()));
    if (offset < HeaderSize || offset + size > needed)
        throw Exception(SetFailedText);
    return devConfig.mid(qsizetype(offset), qsizetype(size));
}

uint32_t DevConfigNeededSize(const QByteArray& devConfig)
{
    return headerWord(devConfig, NeededSize);
}

QByteArray FormatModemConfigFile(uint32_t device, const QByteArray& devConfig)
{
    const uint32_t needed = DevConfigNeededSize(devConfig);
    if (needed < HeaderSize || needed > uint32_t(devConfig.size()))
        throw Exception(TooLargeText);
    QByteArray file;
    appendWord(file, device);
    file += devConfig.left(qsizetype(needed));
    return file;
}

QByteArray ParseModemConfigFile(const QByteArray& file, uint32_t device)
{
    if (file.size() < qsizetype(DeviceFieldSize))
        throw Exception(ReadFailedText);
    if (readWord(file, 0) != device)
        throw Exception(WrongModemText);
    if (file.size() < qsizetype(DeviceFieldSize + HeaderSize))
        throw Exception(ReadFailedText);
    const QByteArray structure = file.mid(DeviceFieldSize);
    const uint32_t needed = DevConfigNeededSize(structure);
    // A recorded size above our buffer would overrun it; below the header it
    // is not a structure at all.
    if (needed > DevConfigSize)
        throw Exception(TooLargeText);
    if (needed < HeaderSize || uint32_t(structure.size()) < needed)
        throw Exception(ReadFailedText);
    QByteArray devConfig = structure.left(qsizetype(needed));
    devConfig.resize(DevConfigSize, '\0');
    return devConfig;
}

} // namespace Quorvel1
