#pragma once
// A device: one point the site's data logger can record. Sensors and outputs
// (TIODev) sit on a unit's input or output channel; an ASM is a value a unit
// reports for one of its airspaces by message number.
//
// Device record (18 bytes, the persistent block):
//   0 name[11] NUL-terminated, 11 address low, 12 address high, 13 active,
//   14 subtype, 15 reserved, 16 exponent (signed), 17 units character.
#include "site/DeviceKey.h"
#include "site/MObject.h"
#include "site/SensorTypes.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace Quorvel1 {

// Active modes of a device.
constexpr std::uint8_t ActiveNo = 0;
constexpr std::uint8_t ActiveYes = 1;
constexpr std::uint8_t ActivePolled = 2;

class TDev : public TMListItem {
public:
    static constexpr std::size_t RecordSize = 18;
    static constexpr int NameLength = 10;

    std::array<char, NameLength + 1> Name{};
    std::uint8_t AddrLo = 0; // filled from Address just before writing
    std::uint8_t AddrHi = 0;
    std::uint8_t Active = ActiveYes;
    std::uint8_t Subtype = 0;
    std::uint8_t Reserved = 0;
    std::int8_t Exponent = 0;
    char Units = ' ';
    std::uint16_t Address = 0;
    std::int32_t LoggerIndex = -1; // index in the logger's device table

    std::size_t PersistentSize() const override { return RecordSize; }
    void SerialiseBlock(std::span<std::uint8_t> block) const override;
    void ParseBlock(std::span<const std::uint8_t> block) override;
    bool Read(TBinaryStream& stream) override;
    bool Write(TBinaryStream& stream) override;

    void Print(QTextStream& out) const override = 0;
    virtual unsigned UnitNo() const = 0;
    virtual unsigned ChannelNo() const { return 0; }
    virtual unsigned AirspaceNo() const { return 0; }
    virtual std::int16_t Convert(std::uint16_t raw) const;
    virtual int ValueExponent() const { return Exponent; }
    virtual char UnitsChar() const { return Units; }
    // Empty for a reading without value, else the value as fixed-point text.
    virtual QString ValueText(std::uint16_t raw) const;
    virtual bool IsKind() const = 0;
    virtual std::uint8_t DevType() const { return 0; }
    // The raw-to-value function used on logger readings; null when none.
    virtual TConverter Converter(int flag) const;
    virtual std::int16_t NoValue() const { return NoValueMarker; }
    // The address text: "SENSOR12/3", "OUTPUT4/1", "ASM4/2/17".
    virtual QString MakeName() const = 0;
    virtual void SetKind(std::uint8_t typeByte) {}

    // Stores at most 10 characters (Latin-1).
    void SetName(const QString& name);
    QString NameText() const;
    void SetAll(const QString& name, unsigned unit, unsigned channel, unsigned airspace,
                unsigned message, std::uint8_t subtype, std::int8_t exponent, char units,
                std::uint8_t active);
    void SetIOAddress(unsigned unit, unsigned channel);
    void SetAsmAddress(unsigned unit, unsigned airspace, unsigned message);
    void DefaultName();
    TDeviceKey DeviceKey() const { return TDeviceKey(DevType(), Address); }

    // The device's value from the logger's readings: false when the device
    // is not attached, has no reading in `readings`, or the value is NoValue.
    bool Reading(std::span<const std::uint16_t> readings, std::int16_t& value, int& exponent,
                 int flag) const;

protected:
    QString ActiveText() const;
};

class TIODev : public TDev {
public:
    void Print(QTextStream& out) const override;
    unsigned UnitNo() const override { return Address >> 3; }
    unsigned ChannelNo() const override { return Address & 7; }

    virtual int FirstSubtype() const = 0;
    virtual int LastSubtype() const = 0;
    virtual QString SubtypeName() const = 0;
};

} // namespace Quorvel1
