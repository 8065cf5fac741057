#include "logger/LogFile.h"

#include "logger/Log1.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr char LogFileFirstLetter = 'A';
constexpr std::uint16_t LogFileNumbersPerLetter = 100;
constexpr std::size_t LoggerFormatHighByte = 0x01;

void PutStamp(std::vector<std::uint8_t>& out, std::uint32_t stamp)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(stamp >> shift));
}

template <typename Bytes>
void PutBytes(std::vector<std::uint8_t>& out, const Bytes& bytes, std::size_t count)
{
    out.insert(out.end(), bytes.begin(), bytes.begin() + std::ptrdiff_t(count));
}

// Takes bytes from the front of a file's contents; every take fails once
// the contents run short.
class TByteSource {
public:
    explicit TByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::span<const std::uint8_t>> Take(std::size_t count)
    {
        if (count > bytes_.size() - at_)
            return std::nullopt;
        const auto part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }
    std::optional<std::uint32_t> TakeStamp()
    {
        const auto part = Take(4);
        if (!part)
            return std::nullopt;
        const auto& b = *part;
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

bool ParseBlocks(TByteSource& source, TLog1& log)
{
    const auto reserved = source.Take(TLog1::ReservedHeaderSize);
    const auto header = source.Take(TLogHeader::Size);
    const auto status = source.Take(LogFileStatusBytes);
    const auto control = source.Take(TLogControl::Size);
    const auto command = source.Take(TLogCommand::Size);
    const auto pcTime = source.TakeStamp();
    const auto loggerTime = source.TakeStamp();
    const auto startTime = source.TakeStamp();
    if (!reserved || !header || !status || !control || !command || !pcTime || !loggerTime || !startTime)
        return false;
    std::copy(reserved->begin(), reserved->end(), log.ReservedHeader.begin());
    std::array<std::uint8_t, TLogStatus::Size> statusBytes{};
    std::copy(status->begin(), status->end(), statusBytes.begin());
    log.Header = *TLogHeader::Parse(*header);
    log.Status = *TLogStatus::Parse(statusBytes);
    log.Control = *TLogControl::Parse(*control);
    log.Command = *TLogCommand::Parse(*command);
    log.NewestEntryPCTime = *pcTime;
    log.NewestEntryLoggerTime = *loggerTime;
    log.LogStartTime = *startTime;
    return true;
}

// The positions must lie in the ring: the decoder and the merge of a later
// download index the buffer image with them.
bool PositionsInRing(const TLog1& log)
{
    const auto& c = log.Control;
    return c.StartPosition < c.BufferSize && c.EndPosition < c.BufferSize && c.StartBit < 8 && c.EndBit < 8;
}

} // namespace

std::vector<std::uint8_t> SerialiseLogFile(const TLog1& log)
{
    std::vector<std::uint8_t> out;
    const std::size_t configSize = std::clamp(log.ConfigSize, 0, int(LogConfigCapacity));
    const auto buffer = log.BufferImage();
    out.reserve(LogFileFixedSize + configSize + 2u * log.LoggedDevices + buffer.size());
    PutBytes(out, log.ReservedHeader, log.ReservedHeader.size());
    PutBytes(out, log.Header.Serialise(), TLogHeader::Size);
    PutBytes(out, log.Status.Serialise(), LogFileStatusBytes);
    PutBytes(out, log.Control.Serialise(), TLogControl::Size);
    PutBytes(out, log.Command.Serialise(), TLogCommand::Size);
    PutStamp(out, log.NewestEntryPCTime);
    PutStamp(out, log.NewestEntryLoggerTime);
    PutStamp(out, log.LogStartTime);
    PutBytes(out, log.ConfigImage, configSize);
    for (int device = 0; device < log.LoggedDevices; ++device) {
        const std::uint16_t value = log.LastValue(device);
        out.push_back(std::uint8_t(value & 0xFF));
        out.push_back(std::uint8_t(value >> 8));
    }
    out.insert(out.end(), buffer.begin(), buffer.end());
    return out;
}

bool ParseLogFile(std::span<const std::uint8_t> bytes, TLog1& log)
{
    TByteSource source(bytes);
    if (!ParseBlocks(source, log))
        return false;
    log.FreeDeviceList();
    const int configSize = log.Header.ConfigSize();
    if (configSize < 0 || configSize > int(LogConfigCapacity))
        return false;
    const auto config = source.Take(std::size_t(configSize));
    if (!config)
        return false;
    log.ConfigSize = configSize;
    std::copy(config->begin(), config->end(), log.ConfigImage.begin());
    if (!log.ApplyControlData() || !PositionsInRing(log))
        return false;
    const auto lastValues = source.Take(2u * log.LoggedDevices);
    const auto buffer = source.Take(std::size_t(log.BufferLength));
    if (!lastValues || !buffer)
        return false;
    const auto lastValuesImage = log.LastValuesBytes();
    std::copy(lastValues->begin(), lastValues->end(), lastValuesImage.begin());
    std::copy(buffer->begin(), buffer->end(), log.BufferImage().begin());
    return source.AtEnd() && (log.Header.FormatWord >> 8) == LoggerFormatHighByte && log.LoggedDevices != 0;
}

bool TLog1::SaveToFile(QIODevice& file) const
{
    const std::vector<std::uint8_t> bytes = SerialiseLogFile(*this);
    return file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

bool TLog1::LoadFromFile(QIODevice& file)
{
    // A valid file is never larger than the whole image; one byte more is
    // enough to see that a file runs on past its end.
    const qint64 largest = qint64(LogFileFixedSize + LogConfigCapacity + DataAreaSize);
    const QByteArray bytes = file.read(largest + 1);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return ParseLogFile(std::span<const std::uint8_t>(data, std::size_t(bytes.size())), *this);
}

QString LogFileName(std::uint16_t identity, std::uint16_t number, const QString& extension)
{
    const QChar letter(char16_t(LogFileFirstLetter + number / LogFileNumbersPerLetter));
    return QString::number(identity) + letter
        + QStringLiteral("%1.").arg(number % LogFileNumbersPerLetter, 2, 10, QChar('0')) + extension;
}

std::optional<std::uint16_t> FreeLogFileNumber(const QString& folder, std::uint16_t identity,
                                               std::uint16_t start, const QString& extension)
{
    const std::uint16_t first = start < LogFileNumberLimit ? start : 0;
    for (std::uint16_t step = 0; step < LogFileNumberLimit; ++step) {
        const auto number = std::uint16_t((first + step) % LogFileNumberLimit);
        if (!QFileInfo::exists(folder + LogFileName(identity, number, extension)))
            return number;
    }
    return std::nullopt;
}

} // namespace Quorvel1
