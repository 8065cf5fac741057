// Units 1..30, reached through the interface unit's LAN message buffer.
//
// LAN messages are not implemented yet: until they are, every operation on a
// unit other than the interface unit fails the way it does when the interface
// unit offers no LAN access, with EPelkOpFailure. Operations on unit 0 do not
// come here.
#include "comms/MestraIF.h"

#include "comms/PelkExceptions.h"

namespace Pelk {

std::optional<uint16_t> TMestraIF::LanIdentify(uint8_t)
{
    throw EPelkOpFailure();
}

uint16_t TMestraIF::LanRead(uint16_t, bool, int)
{
    throw EPelkOpFailure();
}

void TMestraIF::LanWrite(uint16_t, uint16_t, bool, int)
{
    throw EPelkOpFailure();
}

} // namespace Pelk
