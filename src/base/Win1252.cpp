#include "base/Win1252.h"

#include <array>

namespace Quorvel1 {

namespace {

constexpr std::uint8_t FirstSpecial = 0x80;
constexpr std::uint8_t LastSpecial = 0x9F;

// Code points of bytes 0x80-0x9F; the unassigned bytes keep their own value.
constexpr std::array<char16_t, 32> SpecialCodePoints = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

char16_t Win1252ToUnicode(std::uint8_t byte)
{
    if (byte >= FirstSpecial && byte <= LastSpecial)
        return SpecialCodePoints[byte - FirstSpecial];
    return byte;
}

char Win1252FromUnicode(char32_t codePoint)
{
    if (codePoint < FirstSpecial || (codePoint > LastSpecial && codePoint <= 0xFF))
        return char(codePoint);
    for (std::size_t i = 0; i < SpecialCodePoints.size(); ++i) {
        if (SpecialCodePoints[i] == codePoint)
            return char(FirstSpecial + i);
    }
    return Win1252Unmappable;
}

QString DecodeWin1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(Win1252ToUnicode(std::uint8_t(byte)));
    return text;
}

QByteArray EncodeWin1252(QStringView text, qsizetype maxBytes)
{
    QByteArray bytes;
    bytes.reserve(maxBytes < 0 ? text.size() : std::min(text.size(), maxBytes));
    for (qsizetype i = 0; i < text.size() && (maxBytes < 0 || bytes.size() < maxBytes); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // one character, and the code page has none above U+FFFF
            bytes.append(Win1252Unmappable);
        } else if (c.isSurrogate()) {
            bytes.append(Win1252Unmappable);
        } else {
            bytes.append(Win1252FromUnicode(c.unicode()));
        }
    }
    return bytes;
}

} // namespace Quorvel1
