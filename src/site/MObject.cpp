#include "site/MObject.h"

#include "site/BinaryStream.h"

#include <vector>

namespace Quorvel1 {

bool TMObject::ReadBlock(TBinaryStream& stream)
{
    const std::size_t size = PersistentSize();
    if (size == 0)
        return true;
    std::vector<std::uint8_t> block(size);
    if (!stream.Read(block))
        return false;
    ParseBlock(block);
    return true;
}

bool TMObject::WriteBlock(TBinaryStream& stream) const
{
    const std::size_t size = PersistentSize();
    if (size == 0)
        return true;
    std::vector<std::uint8_t> block(size);
    SerialiseBlock(block);
    return stream.Write(block);
}

void TMListItem::Print(QTextStream& out) const
{
    out << "Unprintable\n";
}

} // namespace Quorvel1
