#pragma once
// The site's unit list: units and their airspaces in one list, each unit
// directly followed by its airspaces 1..AirspaceCount. Units stay in the order
// they were added; look them up by number.
#include "site/MList.h"
#include "site/Unit.h"

namespace Quorvel1 {

class TAsList : public TMList {
public:
    // Reads the list record: the count covers units and airspaces, but only
    // the 24-byte unit records follow; each unit's airspaces are recreated.
    bool Read(TBinaryStream& stream) override;
    QString Name() const override { return QStringLiteral("UNIT PROGRAM"); }

    // First item with these numbers, or null. Moves the cursor (to the last
    // item on a miss).
    TAsItem* Find(std::uint8_t unitNumber, std::uint8_t airspaceNumber);
    TUnit* FindUnit(std::uint8_t unitNumber);
    // Replaces any unit of the same number (with its airspaces) and appends
    // the unit followed by new airspaces. Returns the unit, now owned here.
    TUnit* AddUnit(std::unique_ptr<TUnit> unit);

private:
    void AppendWithAirspaces(std::unique_ptr<TUnit> unit);
};

} // namespace Quorvel1
