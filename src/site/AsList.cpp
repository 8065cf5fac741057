#include "site/AsList.h"

#include <vector>

namespace Quorvel1 {

void TAsList::AppendWithAirspaces(std::unique_ptr<TUnit> owned)
{
    TUnit* unit = owned.get();
    Append(std::move(owned));
    for (int k = 1; k <= unit->AirspaceCount; ++k)
        Append(std::make_unique<TAs>(unit, static_cast<std::uint8_t>(k)));
}

bool TAsList::Read(TBinaryStream& stream)
{
    std::int16_t n = 0;
    if (!ReadCount(stream, n))
        return false;
    Clear();
    while (Count() < n) {
        auto unit = std::make_unique<TUnit>(0);
        if (!unit->Read(stream))
            return false;
        AppendWithAirspaces(std::move(unit));
    }
    return true;
}

TAsItem* TAsList::Find(std::uint8_t unitNumber, std::uint8_t airspaceNumber)
{
    for (TMListItem* item = First(); item; item = Next()) {
        auto* asItem = dynamic_cast<TAsItem*>(item);
        if (asItem && asItem->UnitNumber() == unitNumber &&
            asItem->AirspaceNumber() == airspaceNumber)
            return asItem;
    }
    return nullptr;
}

TUnit* TAsList::FindUnit(std::uint8_t unitNumber)
{
    return dynamic_cast<TUnit*>(Find(unitNumber, 0));
}

TUnit* TAsList::AddUnit(std::unique_ptr<TUnit> owned)
{
    const std::uint8_t number = owned->Number;
    // The old unit is destroyed only after its airspaces are out of the list:
    // an airspace asks its unit for the unit number.
    std::vector<std::unique_ptr<TMListItem>> removed;
    FindUnit(number);
    for (;;) {
        auto* item = dynamic_cast<TAsItem*>(Current());
        if (!item || item->UnitNumber() != number)
            break;
        removed.push_back(Unlink());
    }
    TUnit* unit = owned.get();
    AppendWithAirspaces(std::move(owned));
    return unit;
}

} // namespace Quorvel1
