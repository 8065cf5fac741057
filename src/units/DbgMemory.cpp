#include "units/DbgMemory.h"

#include "base/Exception.h"
#include "comms/MestraIF.h"

#include <limits>

namespace Quorvel1 {

std::int64_t TDbgMemory::ParseNumber(const QString& text)
{
    QString number = text.trimmed().toUpper();
    bool ok = false;
    qlonglong value = 0;
    if (number.startsWith('X')) {
        number.remove(0, 1);
        // A sign is no hexadecimal digit: "x-1" is refused, not read as -1.
        if (!number.isEmpty() && number.at(0).isLetterOrNumber())
            value = number.toLongLong(&ok, 16);
    } else {
        value = number.toLongLong(&ok, 10);
    }
    if (!ok)
        throw Exception(QStringLiteral("Invalid value: ") + number);
    return value;
}

std::uint16_t TDbgMemory::ParseAddress(const QString& text)
{
    const std::int64_t address = ParseNumber(text);
    if (address < 0 || address > 0xFFFF)
        throw Exception(QStringLiteral("Address out of range: ") + text.trimmed());
    return static_cast<std::uint16_t>(address);
}

std::uint16_t TDbgMemory::ParseValue(const QString& text, bool word)
{
    const std::int64_t value = ParseNumber(text);
    const std::int64_t lowest = word ? -32768 : -128;
    const std::int64_t highest = word ? 0xFFFF : 0xFF;
    if (value < lowest || value > highest)
        throw Exception(QStringLiteral("Value out of range: ") + text.trimmed());
    return static_cast<std::uint16_t>(value & highest);
}

QString TDbgMemory::LogLine(int unit, bool ee, bool word, std::uint16_t address, std::uint32_t value)
{
    return QString::asprintf(LogLineFormat, unit, ee ? 'E' : 'R', word ? 'W' : 'B', unsigned(address),
                             unsigned(address), unsigned(value), int(value));
}

QString TDbgMemory::SelectUnit(int unit, bool& selected)
{
    const auto number = static_cast<std::uint8_t>(unit);
    hasRead_ = false;
    selected = false;
    try {
        selected = link_.SelectUnit(number, true);
    } catch (const std::exception&) {
        selected = false;
    }
    if (!selected) {
        link_.SelectUnit(number, false);
        return QString::asprintf(UnknownUnitText, unsigned(unit));
    }
    return QString::asprintf(UnitText, unsigned(unit), unsigned(link_.UnitType >> 8),
                             unsigned(link_.UnitType & 0xFF));
}

QString TDbgMemory::Read(std::uint16_t address, bool word, bool ee)
{
    if (word && !ee)
        address &= 0xFFFE; // RAM words lie at even addresses
    const std::uint32_t value = word ? link_.ReadWord(address, ee) : link_.ReadByte(address, ee);
    address_ = address;
    word_ = word;
    ee_ = ee;
    value_ = value;
    hasRead_ = true;
    return LogLine(link_.Unit, ee, word, address, value);
}

QString TDbgMemory::Write(std::uint16_t value)
{
    if (!hasRead_)
        throw Exception(QStringLiteral("Read an address first"));
    if (word_)
        link_.WriteWord(value, address_, ee_);
    else
        link_.WriteByte(static_cast<std::uint8_t>(value), address_, ee_);
    return Read(address_, word_, ee_);
}

} // namespace Quorvel1
