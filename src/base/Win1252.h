#pragma once
// The program's 8-bit texts (site description and telephone, unit and device
// names, definition files) are Windows-1252, the code page the site files
// were always written in. Bytes 0x00-0x7F and 0xA0-0xFF are the same code
// points as in Latin-1; 0x80-0x9F hold the typographic characters (the euro
// sign, quotes, dashes). Its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the control characters of the same value, as Windows itself
// reads them, so that every byte reads and writes back unchanged.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace Quorvel1 {

// What stands in for a character the code page has no byte for.
constexpr char Win1252Unmappable = '?';

char16_t Win1252ToUnicode(std::uint8_t byte);
// The byte of a code point; Win1252Unmappable when there is none.
char Win1252FromUnicode(char32_t codePoint);

QString DecodeWin1252(QByteArrayView bytes);
// One byte per character (a character outside the Basic Multilingual Plane
// is one character, so one '?'), at most `maxBytes` of them; -1 for no limit.
QByteArray EncodeWin1252(QStringView text, qsizetype maxBytes = -1);

} // namespace Quorvel1
