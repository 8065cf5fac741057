#include "site/Unit.h"

#include "base/Win1252.h"
#include "site/BinaryStream.h"

#include <algorithm>

namespace Quorvel1 {

namespace {
constexpr std::size_t AtNumber = 0;
constexpr std::size_t AtAirspaceCount = 1;
constexpr std::size_t AtRoomCount = 2;
constexpr std::size_t AtIdByte3 = 3;
constexpr std::size_t AtIdByte2 = 4;
constexpr std::size_t AtProgramName = 5;
constexpr std::size_t AtAppId = 22;
} // namespace

TUnit::TUnit(std::uint8_t number, std::uint8_t airspaceCount, std::uint8_t roomCount,
             std::uint8_t idByte3, std::uint8_t idByte2, const QByteArray& programName,
             std::uint16_t appId)
    : Number(number), AirspaceCount(airspaceCount), RoomCount(roomCount), IdByte3(idByte3),
      IdByte2(idByte2), AppId(appId)
{
    // Keep room for the terminator even when the unit sends 17 or more bytes.
    const qsizetype length = std::min<qsizetype>(
        programName.size(), ProgramNameLength);
    const auto end = std::find(programName.begin(), programName.begin() + length, '\0');
    std::copy(programName.begin(), end, ProgramName.begin());
}

void TUnit::SerialiseBlock(std::span<std::uint8_t> block) const
{
    block[AtNumber] = Number;
    block[AtAirspaceCount] = AirspaceCount;
    block[AtRoomCount] = RoomCount;
    block[AtIdByte3] = IdByte3;
    block[AtIdByte2] = IdByte2;
    std::copy(ProgramName.begin(), ProgramName.end(), block.begin() + AtProgramName);
    PutU16(block, AtAppId, AppId);
}

void TUnit::ParseBlock(std::span<const std::uint8_t> block)
{
    Number = block[AtNumber];
    AirspaceCount = block[AtAirspaceCount];
    RoomCount = block[AtRoomCount];
    IdByte3 = block[AtIdByte3];
    IdByte2 = block[AtIdByte2];
    std::copy_n(block.begin() + AtProgramName, ProgramName.size(), ProgramName.begin());
    AppId = GetU16(block, AtAppId);
}

QString TUnit::ProgramNameText() const
{
    // A file may hold a name that fills all 17 bytes without a terminator.
    const auto end = std::find(ProgramName.begin(), ProgramName.end(), '\0');
    return DecodeWin1252(QByteArrayView(ProgramName.data(), end - ProgramName.begin()));
}

QString TUnit::AppIdText() const
{
    return QString::asprintf("%03u-%03u", unsigned{AppId} >> 8, unsigned{AppId} & 0xFF);
}

void TUnit::Print(QTextStream& out) const
{
    out << QString::asprintf("%3d  %03u-%03u %-*s", int{Number}, unsigned{AppId} >> 8,
                             unsigned{AppId} & 0xFF, ProgramNameLength,
                             ProgramNameText().toUtf8().constData());
}

bool TAs::IsRoom() const
{
    return Unit && Number <= Unit->RoomCount;
}

QString TAs::KindName() const
{
    return IsRoom() ? QStringLiteral("ROOM") : QStringLiteral("CREEP");
}

int TAs::KindNumber() const
{
    if (IsRoom() || !Unit)
        return Number;
    return Number - Unit->RoomCount;
}

void TAs::Print(QTextStream& out) const
{
    out << QString::asprintf("%28s%d", KindName().toUtf8().constData(), KindNumber());
}

} // namespace Quorvel1
