#include "logger/LogBlocks.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

// Reads fields in order from a byte span that is known to be long enough.
class TFieldReader {
public:
    explicit TFieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t Byte() { return bytes_[at_++]; }
    std::uint16_t Word()
    {
        const auto value = std::uint16_t(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    template <std::size_t N>
    std::array<std::uint8_t, N> Bytes()
    {
        std::array<std::uint8_t, N> out{};
        std::copy_n(bytes_.begin() + std::ptrdiff_t(at_), N, out.begin());
        at_ += N;
        return out;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

template <std::size_t Size>
class TFieldWriter {
public:
    void Byte(std::uint8_t value) { out_[at_++] = value; }
    void Word(std::uint16_t value)
    {
        out_[at_++] = std::uint8_t(value & 0xFF);
        out_[at_++] = std::uint8_t(value >> 8);
    }
    template <std::size_t N>
    void Bytes(const std::array<std::uint8_t, N>& bytes)
    {
        std::copy(bytes.begin(), bytes.end(), out_.begin() + std::ptrdiff_t(at_));
        at_ += N;
    }
    const std::array<std::uint8_t, Size>& Out() const { return out_; }

private:
    std::array<std::uint8_t, Size> out_{};
    std::size_t at_ = 0;
};

} // namespace

std::optional<TLogHeader> TLogHeader::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    TFieldReader in(bytes);
    TLogHeader header;
    header.FormatWord = in.Word();
    header.ConfigStart = in.Word();
    header.ConfigEnd = in.Word();
    header.StatusAddress = in.Word();
    header.ControlAddress = in.Word();
    header.CommandAddress = in.Word();
    return header;
}

std::array<std::uint8_t, TLogHeader::Size> TLogHeader::Serialise() const
{
    TFieldWriter<Size> out;
    out.Word(FormatWord);
    out.Word(ConfigStart);
    out.Word(ConfigEnd);
    out.Word(StatusAddress);
    out.Word(ControlAddress);
    out.Word(CommandAddress);
    return out.Out();
}

std::optional<TLogStatus> TLogStatus::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    TFieldReader in(bytes);
    TLogStatus status;
    status.ReadingsAddress = in.Word();
    status.LastValuesAddress = in.Word();
    status.IntervalTimer = in.Word();
    status.Unused6 = in.Bytes<2>();
    status.Entries = in.Word();
    status.NewEntries = in.Word();
    status.Interval = in.Word();
    status.FullIn = in.Word();
    status.StartDay = in.Word();
    status.StartHour = in.Byte();
    status.StartMinute = in.Byte();
    status.StartSecond = in.Byte();
    status.Unused21 = in.Byte();
    status.Counts = in.Bytes<GroupCount>();
    status.Unused27 = in.Bytes<2>();
    status.DataLevel = in.Byte();
    status.Unused30 = in.Bytes<2>();
    return status;
}

std::array<std::uint8_t, TLogStatus::Size> TLogStatus::Serialise() const
{
    TFieldWriter<Size> out;
    out.Word(ReadingsAddress);
    out.Word(LastValuesAddress);
    out.Word(IntervalTimer);
    out.Bytes(Unused6);
    out.Word(Entries);
    out.Word(NewEntries);
    out.Word(Interval);
    out.Word(FullIn);
    out.Word(StartDay);
    out.Byte(StartHour);
    out.Byte(StartMinute);
    out.Byte(StartSecond);
    out.Byte(Unused21);
    out.Bytes(Counts);
    out.Bytes(Unused27);
    out.Byte(DataLevel);
    out.Bytes(Unused30);
    return out.Out();
}

std::optional<TLogControl> TLogControl::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    TFieldReader in(bytes);
    TLogControl control;
    control.BufferAddress = in.Word();
    control.BufferSize = in.Word();
    control.EndPosition = in.Word();
    control.StartPosition = in.Word();
    control.EndBit = in.Byte();
    control.StartBit = in.Byte();
    control.Unused10 = in.Bytes<2>();
    return control;
}

std::array<std::uint8_t, TLogControl::Size> TLogControl::Serialise() const
{
    TFieldWriter<Size> out;
    out.Word(BufferAddress);
    out.Word(BufferSize);
    out.Word(EndPosition);
    out.Word(StartPosition);
    out.Byte(EndBit);
    out.Byte(StartBit);
    out.Bytes(Unused10);
    return out.Out();
}

std::optional<TLogCommand> TLogCommand::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    TFieldReader in(bytes);
    TLogCommand command;
    command.Day = in.Word();
    command.Hour = in.Byte();
    command.Minute = in.Byte();
    command.Second = in.Byte();
    command.Code = in.Byte();
    return command;
}

std::array<std::uint8_t, TLogCommand::Size> TLogCommand::Serialise() const
{
    TFieldWriter<Size> out;
    out.Word(Day);
    out.Byte(Hour);
    out.Byte(Minute);
    out.Byte(Second);
    out.Byte(Code);
    return out.Out();
}

} // namespace Quorvel1
