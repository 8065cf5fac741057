#include "site/ConfigBlock.h"

#include "base/CommaText.h"
#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "base/TextLines.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

const QString SettingsAddressFolder = QStringLiteral("st/");
const QString SettingsAddressExtension = QStringLiteral(".st");

// Header and item lines alike hold exactly two values.
constexpr qsizetype ValuesPerLine = 2;

} // namespace

QString ApplicationText(std::uint16_t appId)
{
    return QString::asprintf("%03u-%03u", unsigned{appId} >> 8, unsigned{appId} & 0xFFu);
}

TConfigBlock::TConfigBlock(std::uint16_t appId) : appId_(appId)
{
    if (const std::optional<QStringList> lines = ReadTextLines(SettingsAddressPath(appId)))
        TakeLines(*lines);
}

TConfigBlock::TConfigBlock(std::uint16_t appId, const QStringList& lines) : appId_(appId)
{
    TakeLines(lines);
}

QString TConfigBlock::SettingsAddressPath(std::uint16_t appId)
{
    return ProgramFolder() + SettingsAddressFolder + ApplicationText(appId)
           + SettingsAddressExtension;
}

bool TConfigBlock::TakeLines(const QStringList& lines)
{
    if (lines.size() < 2)
        return false;
    // The header must name this very application, leading zeros included, so
    // that a file copied under another name is not applied to the wrong unit.
    const QStringList header = SplitCommaText(lines.first());
    if (header.size() != ValuesPerLine || header.at(0) != ApplicationText(appId_))
        return false;
    adfName_ = header.at(1);
    highestAddress_ = 0;
    for (qsizetype i = 1; i < lines.size(); ++i)
        TakeItemLine(lines.at(i));
    return !items_.empty();
}

void TConfigBlock::TakeItemLine(const QString& line)
{
    const QStringList values = SplitCommaText(line);
    if (values.size() != ValuesPerLine)
        return;
    bool ok = false;
    const int number = values.at(0).toInt(&ok, 10);
    if (!ok)
        return;
    const auto address = static_cast<std::int16_t>(number);
    items_.push_back(Entry{values.at(1), std::make_unique<TConfigItem>(address)});
    highestAddress_ = std::max(highestAddress_, address);
}

TConfigItem* TConfigBlock::ItemByName(const QString& name) const
{
    for (const Entry& entry : items_) {
        if (entry.Name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.Item.get();
    }
    return nullptr;
}

std::int16_t TConfigBlock::AddressByName(const QString& name) const
{
    const TConfigItem* item = ItemByName(name);
    return item ? item->Address : std::int16_t{-1};
}

const TConfigBlock::Entry& TConfigBlock::EntryAt(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception(QStringLiteral("Invalid ConfigItem index: ") + QString::number(index));
    return items_[static_cast<std::size_t>(index)];
}

TConfigItem& TConfigBlock::Item(int index) const
{
    return *EntryAt(index).Item;
}

std::int16_t TConfigBlock::Address(int index) const
{
    return EntryAt(index).Item->Address;
}

QString TConfigBlock::Name(int index) const
{
    return EntryAt(index).Name;
}

} // namespace Quorvel1
