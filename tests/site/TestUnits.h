#pragma once
// Units for tests of the site model: a number, airspaces and rooms, and
// when it matters a program name and application.
#include "site/Unit.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace SiteTest {

inline std::unique_ptr<Quorvel1::TUnit> MakeUnit(int number, int airspaces, int rooms = 0,
                                                 const QByteArray& program = "PROG", std::uint16_t appId = 0)
{
    return std::make_unique<Quorvel1::TUnit>(static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(airspaces),
                                             static_cast<std::uint8_t>(rooms), 0, 0, program, appId);
}

} // namespace SiteTest
