#pragma once
// Names of the bits of a unit's alarm word and trip word.
#include <QString>
#include <QStringList>

#include <cstdint>

namespace Quorvel1 {

// Name of alarm bit `bit` (0..15); empty outside that range.
QString AlarmName(int bit);
// Name of trip-word bit `bit` (0..15), the unit's input channel; empty outside.
QString ChannelName(int bit);

// The names of the bits set in `word`, lowest bit first.
QStringList AlarmNamesOf(std::uint16_t word);
QStringList ChannelNamesOf(std::uint16_t word);

} // namespace Quorvel1
