#include "site/Dev.h"

#include "base/Win1252.h"
#include "site/BinaryStream.h"
#include "site/FixedPoint.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr std::size_t AtAddrLo = 11;
constexpr std::size_t AtAddrHi = 12;
constexpr std::size_t AtActive = 13;
constexpr std::size_t AtSubtype = 14;
constexpr std::size_t AtReserved = 15;
constexpr std::size_t AtExponent = 16;
constexpr std::size_t AtUnits = 17;

std::int16_t Identity(std::uint16_t raw)
{
    return static_cast<std::int16_t>(raw);
}

} // namespace

void TDev::SerialiseBlock(std::span<std::uint8_t> block) const
{
    std::copy(Name.begin(), Name.end(), block.begin());
    block[AtAddrLo] = AddrLo;
    block[AtAddrHi] = AddrHi;
    block[AtActive] = Active;
    block[AtSubtype] = Subtype;
    block[AtReserved] = Reserved;
    block[AtExponent] = static_cast<std::uint8_t>(Exponent);
    block[AtUnits] = static_cast<std::uint8_t>(Units);
}

void TDev::ParseBlock(std::span<const std::uint8_t> block)
{
    std::copy_n(block.begin(), Name.size(), Name.begin());
    AddrLo = block[AtAddrLo];
    AddrHi = block[AtAddrHi];
    Active = block[AtActive];
    Subtype = block[AtSubtype];
    Reserved = block[AtReserved];
    Exponent = static_cast<std::int8_t>(block[AtExponent]);
    Units = static_cast<char>(block[AtUnits]);
}

bool TDev::Read(TBinaryStream& stream)
{
    if (!ReadBlock(stream))
        return false;
    Address = static_cast<std::uint16_t>(AddrLo | (AddrHi << 8));
    return true;
}

bool TDev::Write(TBinaryStream& stream)
{
    AddrLo = static_cast<std::uint8_t>(Address & 0xFF);
    AddrHi = static_cast<std::uint8_t>(Address >> 8);
    return WriteBlock(stream);
}

std::int16_t TDev::Convert(std::uint16_t raw) const
{
    return Identity(raw);
}

QString TDev::ValueText(std::uint16_t raw) const
{
    const std::int16_t value = Convert(raw);
    if (value == NoValue())
        return {};
    return FormatFixed(value, ValueExponent(), 0);
}

TConverter TDev::Converter(int flag) const
{
    return Identity;
}

void TDev::SetName(const QString& name)
{
    const QByteArray bytes = EncodeWin1252(name, NameLength);
    Name.fill(0);
    std::copy_n(bytes.begin(), std::min<qsizetype>(bytes.size(), NameLength), Name.begin());
}

QString TDev::NameText() const
{
    // The record keeps the name NUL-terminated, but a file may not.
    const auto end = std::find(Name.begin(), Name.end(), '\0');
    return DecodeWin1252(QByteArrayView(Name.data(), end - Name.begin()));
}

void TDev::SetAll(const QString& name, unsigned unit, unsigned channel, unsigned airspace,
                  unsigned message, std::uint8_t subtype, std::int8_t exponent, char units,
                  std::uint8_t active)
{
    SetName(name);
    if (DevClassOf(DevType()) == DevClassAsm)
        SetAsmAddress(unit, airspace, message);
    else
        SetIOAddress(unit, channel);
    Subtype = subtype;
    Exponent = exponent;
    Units = units;
    Active = active;
}

void TDev::SetIOAddress(unsigned unit, unsigned channel)
{
    Address = static_cast<std::uint16_t>(unit * 8 + channel);
}

void TDev::SetAsmAddress(unsigned unit, unsigned airspace, unsigned message)
{
    Address = static_cast<std::uint16_t>(unit + airspace * 32 + message * 512);
}

void TDev::DefaultName()
{
    SetName(MakeName());
}

bool TDev::Reading(std::span<const std::uint16_t> readings, std::int16_t& value, int& exponent,
                   int flag) const
{
    if (LoggerIndex < 0 || static_cast<std::size_t>(LoggerIndex) >= readings.size())
        return false;
    const TConverter convert = Converter(flag);
    if (!convert)
        return false;
    value = convert(readings[static_cast<std::size_t>(LoggerIndex)]);
    exponent = ValueExponent();
    return value != NoValue();
}

QString TDev::ActiveText() const
{
    return Active != ActiveNo ? QStringLiteral("YES") : QStringLiteral("NO");
}

void TIODev::Print(QTextStream& out) const
{
    out << QString::asprintf("%4u/%u%7c%-12s%-10s%-3s", UnitNo(), ChannelNo() + 1, ' ',
                             NameText().toUtf8().constData(),
                             SubtypeName().toUtf8().constData(),
                             ActiveText().toUtf8().constData());
}

} // namespace Quorvel1
