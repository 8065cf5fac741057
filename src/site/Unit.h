#pragma once
// Items of a site's unit list: a unit (a controller on the site network) and
// its airspaces (rooms, then creeps). Each unit is followed in the list by its
// airspaces; only units are stored, airspaces are made from the unit's count.
//
// Unit record (24 bytes, the persistent block):
//   0 number, 1 airspace count, 2 room count, 3 identity byte d3,
//   4 identity byte d2, 5 program name[17] NUL-terminated, 22 AppId (uint16).
#include "site/MObject.h"
#include "site/SensorTypes.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace Quorvel1 {

class TAsItem : public TMListItem {
public:
    virtual std::uint8_t AirspaceNumber() const = 0; // 0 for a unit
    virtual std::uint8_t UnitNumber() const = 0;
};

class TUnit : public TAsItem {
public:
    static constexpr std::size_t RecordSize = 24;
    static constexpr int ProgramNameLength = 16;

    std::uint8_t Number = 0;
    std::uint8_t AirspaceCount = 0;
    std::uint8_t RoomCount = 0;
    std::uint8_t IdByte3 = 0;
    std::uint8_t IdByte2 = 0;
    std::array<char, ProgramNameLength + 1> ProgramName{};
    std::uint16_t AppId = 0;
    std::uint16_t RomId = 0;
    std::int16_t Reading = NoValueMarker; // unit value; above 400 means Fahrenheit

    // For a unit about to be read from a site file.
    explicit TUnit(std::uint8_t number) : Number(number) {}
    // For a unit found by the scan (identity bytes d0..d3 of its reply).
    TUnit(std::uint8_t number, std::uint8_t airspaceCount, std::uint8_t roomCount,
          std::uint8_t idByte3, std::uint8_t idByte2, const QByteArray& programName,
          std::uint16_t appId);

    std::size_t PersistentSize() const override { return RecordSize; }
    void SerialiseBlock(std::span<std::uint8_t> block) const override;
    void ParseBlock(std::span<const std::uint8_t> block) override;
    void Print(QTextStream& out) const override;
    std::uint8_t AirspaceNumber() const override { return 0; }
    std::uint8_t UnitNumber() const override { return Number; }

    QString ProgramNameText() const;
    // "%03u-%03u" of the high and low byte of AppId: 0x0C05 gives "012-005".
    QString AppIdText() const;
};

class TAs : public TAsItem {
public:
    static constexpr int ReadingCount = 6;
    // Where the unit view's airspace job keeps each value in Readings.
    static constexpr int ActualIndex = 0;
    static constexpr int SetIndex = 1;
    static constexpr int MaxIndex = 2;
    static constexpr int MinIndex = 3;
    static constexpr int MinVentIndex = 4;

    TUnit* Unit = nullptr; // not owned
    std::uint8_t Number = 0;
    std::array<std::int16_t, ReadingCount> Readings;

    TAs(TUnit* unit, std::uint8_t number) : Unit(unit), Number(number)
    {
        Readings.fill(NoValueMarker);
    }

    void Print(QTextStream& out) const override;
    std::uint8_t AirspaceNumber() const override { return Number; }
    std::uint8_t UnitNumber() const override { return Unit ? Unit->Number : 0; }

    bool IsRoom() const;
    QString KindName() const; // "ROOM" or "CREEP"
    int KindNumber() const;   // numbered from 1 within rooms and within creeps
};

} // namespace Quorvel1
