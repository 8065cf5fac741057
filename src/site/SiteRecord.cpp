// The site record: the binary site file as a whole.
#include "site/BinaryStream.h"
#include "site/Site.h"

namespace Quorvel1 {

namespace {
// Files of version 0x100 have no logging options after the site block.
constexpr std::uint16_t FirstVersionWithLogOptions = 0x101;
// The word after the logging options is always written as 0; any other
// value marks a file this program cannot read.
constexpr std::uint16_t ReservedWordValue = 0;
} // namespace

bool TSite::Read(TBinaryStream& stream)
{
    if (!ReadBlock(stream)) {
        Recount();
        return false;
    }
    bool ok = true;
    if (Version >= FirstVersionWithLogOptions) {
        ok = stream.ReadU16(LogInterval) && stream.ReadU16(LogFlags) &&
             stream.ReadU32(LogReserved);
    } else {
        LogInterval = DefaultLogInterval;
        LogFlags = 0;
        LogReserved = 0;
    }
    std::uint16_t reserved = 0;
    ok = ok && stream.ReadU16(reserved) && reserved == ReservedWordValue;
    ok = ok && Units.Read(stream);
    if (!ok) {
        // The block's byte of the active count is only a hint of the file;
        // the count must describe the devices actually held.
        Recount();
        return false;
    }
    return ReadDevices(stream);
}

bool TSite::Write(TBinaryStream& stream)
{
    Version = CurrentVersion;
    Recount(); // the block carries the low byte of the current active count
    return WriteBlock(stream) && stream.WriteU16(LogInterval) && stream.WriteU16(LogFlags) &&
           stream.WriteU32(LogReserved) && stream.WriteU16(ReservedWordValue) &&
           Units.Write(stream) && WriteDevices(stream);
}

} // namespace Quorvel1
