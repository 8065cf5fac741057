// Unit addressing: which unit the byte and word operations reach. Unit 0 is
// the interface unit, whose memory the link reads and writes directly; the
// other units are reached by LAN messages (MestraIFLan.cpp).
#include "comms/MestraIF.h"

namespace Pelk {

bool TMestraIF::SelectUnit(uint8_t unit, bool identify)
{
    if (unit == 0) {
        Unit = 0;
        UnitType = 0;
        if (identify) {
            uint8_t type[2] = {};
            ReadMem(type, UnitTypeAddress, sizeof type, false);
            UnitType = uint16_t(type[0] | type[1] << 8);
        }
        return true;
    }
    if (!identify) {
        Unit = unit;
        UnitType = 0;
        return true;
    }
    const std::optional<uint16_t> type = LanIdentify(unit);
    if (!type)
        return false; // no unit answers at that address; the selection stays
    Unit = unit;
    UnitType = *type;
    return true;
}

uint8_t TMestraIF::ReadByte(uint16_t address, bool ee)
{
    if (Unit != 0)
        return uint8_t(LanRead(address, ee, 1));
    uint8_t value = 0;
    ReadMem(&value, address, 1, ee);
    return value;
}

uint16_t TMestraIF::ReadWord(uint16_t address, bool ee)
{
    if (Unit != 0)
        return LanRead(address, ee, 2);
    uint8_t bytes[2] = {};
    ReadMem(bytes, address, sizeof bytes, ee);
    return uint16_t(bytes[0] | bytes[1] << 8);
}

uint8_t TMestraIF::WriteByte(uint8_t value, uint16_t address, bool ee)
{
    if (Unit != 0)
        LanWrite(value, address, ee, 1);
    else
        WriteMem(&value, address, 1, ee);
    return value;
}

uint16_t TMestraIF::WriteWord(uint16_t value, uint16_t address, bool ee)
{
    if (Unit != 0) {
        LanWrite(value, address, ee, 2);
    } else {
        const uint8_t bytes[2] = {uint8_t(value & 0xFF), uint8_t(value >> 8)};
        WriteMem(bytes, address, sizeof bytes, ee);
    }
    return value;
}

} // namespace Pelk
