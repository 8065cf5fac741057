#include "site/Site.h"

#include "base/Win1252.h"
#include "site/BinaryStream.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr std::size_t AtVersion = 0;
constexpr std::size_t AtDescription = 2;
constexpr std::size_t AtTelephone = 43;
constexpr std::size_t AtActiveCountLow = 84;

template <std::size_t N>
QString TextOf(const std::array<char, N>& field)
{
    const auto end = std::find(field.begin(), field.end(), '\0');
    return DecodeWin1252(QByteArrayView(field.data(), end - field.begin()));
}

template <std::size_t N>
void SetText(std::array<char, N>& field, const QString& text)
{
    const QByteArray bytes = EncodeWin1252(text, static_cast<qsizetype>(N - 1));
    field.fill(0);
    std::copy(bytes.begin(), bytes.end(), field.begin());
}

} // namespace

void TSite::SerialiseBlock(std::span<std::uint8_t> block) const
{
    PutU16(block, AtVersion, Version);
    std::copy(Description.begin(), Description.end(), block.begin() + AtDescription);
    std::copy(Telephone.begin(), Telephone.end(), block.begin() + AtTelephone);
    block[AtActiveCountLow] = static_cast<std::uint8_t>(ActiveCount & 0xFF);
}

void TSite::ParseBlock(std::span<const std::uint8_t> block)
{
    Version = GetU16(block, AtVersion);
    std::copy_n(block.begin() + AtDescription, Description.size(), Description.begin());
    std::copy_n(block.begin() + AtTelephone, Telephone.size(), Telephone.begin());
    ActiveCount = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(ActiveCount) & ~std::uint32_t{0xFF}) | block[AtActiveCountLow]);
}

void TSite::Clear()
{
    Description.fill(0);
    Telephone.fill(0);
    LogInterval = DefaultLogInterval;
    LogFlags = 0;
    LogReserved = 0;
    Units.Clear();
    Devices.clear();
    ProcId = 0;
}

QString TSite::DescriptionText() const { return TextOf(Description); }
QString TSite::TelephoneText() const { return TextOf(Telephone); }
void TSite::SetDescription(const QString& text) { SetText(Description, text); }
void TSite::SetTelephone(const QString& text) { SetText(Telephone, text); }

} // namespace Quorvel1
