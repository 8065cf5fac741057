#include "units/EESetsModel.h"

#include "base/Exception.h"
#include "base/Win1252.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

#include <limits>

namespace Quorvel1 {

namespace {

constexpr int DevicesPerByte = 32; // devices 0..31, eight channels each
constexpr int ChannelsPerDevice = 8;

bool KnownState(std::uint8_t state)
{
    return state == EEState::FromFile || state == EEState::Read;
}

[[noreturn]] void RefuseValue(const QString& text)
{
    throw Exception(QStringLiteral("Invalid value: ") + text);
}

// The whole text as a number of `base` in lowest..highest, else refused.
long long WholeNumber(const QString& text, int base, long long lowest, long long highest)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    // A sign is not taken as part of a hexadecimal number.
    const long long value = (base == 16 && (trimmed.startsWith('-') || trimmed.startsWith('+')))
                                ? 0
                                : trimmed.toLongLong(&ok, base);
    if (!ok || value < lowest || value > highest)
        RefuseValue(text);
    return value;
}

} // namespace

TEESetsModel::TEESetsModel(TEEBlock& image, const TConfigBlock* block, QObject* parent)
    : QAbstractTableModel(parent),
      image_(image),
      titles_(QString::fromLatin1(ColumnTitles).split(',')),
      names_(static_cast<std::size_t>(image.Size()))
{
    const int top = image.TopAddress();
    lowestNamed_ = 0;
    endAddress_ = top;
    if (block && block->Count() > 0) {
        lowestNamed_ = top;
        for (int i = 0; i < block->Count(); ++i) {
            const int address = block->Address(i);
            if (address < 0 || address > top)
                continue;
            names_[static_cast<std::size_t>(address)] = block->Name(i); // the last one wins
            if (address < lowestNamed_)
                lowestNamed_ = address;
            if (block->Name(i) == QLatin1String(EndName))
                endAddress_ = address;
        }
    }
}

QString TEESetsModel::DeviceText(std::uint8_t value)
{
    if (value == 0xFF)
        return QStringLiteral("none");
    return QStringLiteral("%1/%2").arg(value / ChannelsPerDevice).arg(value % ChannelsPerDevice + 1);
}

std::uint8_t TEESetsModel::ParseDevice(const QString& text)
{
    if (text.contains('-') || text.contains('n'))
        return 0xFF;
    const QString refusal = QStringLiteral("Invalid device string: ") + text;
    const qsizetype slash = text.indexOf('/');
    if (slash < 0)
        throw Exception(refusal);
    bool deviceOk = false;
    bool channelOk = false;
    const int device = text.left(slash).trimmed().toInt(&deviceOk, 10);
    const int channel = text.mid(slash + 1).trimmed().toInt(&channelOk, 10);
    // Nothing wraps: "0/0" or "1/9" would store another device's channel.
    if (!deviceOk || !channelOk || device < 0 || device >= DevicesPerByte || channel < 1
        || channel > ChannelsPerDevice)
        throw Exception(refusal);
    return static_cast<std::uint8_t>(device * ChannelsPerDevice + channel - 1);
}

TEESetsModel::TStore TEESetsModel::ParseCell(int column, const QString& text)
{
    switch (column) {
    case Byte:
        return {static_cast<std::uint16_t>(WholeNumber(text, 10, 0, 0xFF)), 1};
    case Char:
        return {static_cast<std::uint16_t>(WholeNumber(text, 10, -128, 127) & 0xFF), 1};
    case Hex:
        return {static_cast<std::uint16_t>(WholeNumber(text, 16, 0, 0xFF)), 1};
    case Word:
        return {static_cast<std::uint16_t>(WholeNumber(text, 10, 0, 0xFFFF)), 2};
    case Int:
        return {static_cast<std::uint16_t>(WholeNumber(text, 10, -32768, 32767) & 0xFFFF), 2};
    case WordHex:
        return {static_cast<std::uint16_t>(WholeNumber(text, 16, 0, 0xFFFF)), 2};
    case Dev:
        return {ParseDevice(text), 1};
    case Ch: {
        if (text.size() != 1)
            RefuseValue(text);
        const char32_t code = text.at(0).unicode();
        const char byte = Win1252FromUnicode(code);
        if (byte == Win1252Unmappable && code != U'?')
            RefuseValue(text);
        return {static_cast<std::uint8_t>(byte), 1};
    }
    default:
        throw Exception(QStringLiteral("Invalid edit cell"));
    }
}

int TEESetsModel::TopAddress() const
{
    return image_.TopAddress();
}

bool TEESetsModel::Known(int address) const
{
    return KnownState(image_.GetState(address));
}

QString TEESetsModel::CellText(int address, int column) const
{
    if (column == Addr)
        return QString::number(address);
    if (column == Name)
        return names_[static_cast<std::size_t>(address)];
    const std::uint8_t b = image_.GetByte(address);
    if (column == Word || column == Int || column == WordHex) {
        if (address >= TopAddress() || !Known(address) || !Known(address + 1))
            return QString::fromLatin1(NoValueText);
        const auto w = static_cast<std::uint16_t>(b + 256 * image_.GetByte(address + 1));
        if (column == Word)
            return QString::number(w);
        if (column == Int)
            return QString::number(static_cast<std::int16_t>(w));
        return QStringLiteral("%1").arg(w, 4, 16, QLatin1Char('0')).toUpper();
    }
    if (!Known(address))
        return QString::fromLatin1(NoValueText);
    switch (column) {
    case Byte:
        return QString::number(b);
    case Char:
        return QString::number(static_cast<std::int8_t>(b));
    case Hex:
        return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    case Dev:
        return DeviceText(b);
    case Ch:
        return QString(QChar(Win1252ToUnicode(b)));
    default:
        return QString();
    }
}

void TEESetsModel::Edit(int address, int column, const QString& text)
{
    if (address < 0 || address > TopAddress() || column < Byte || column > Ch)
        throw Exception(QStringLiteral("Invalid edit cell"));
    const TStore store = ParseCell(column, text);
    if (store.length == 2) {
        if (address >= TopAddress())
            return; // no word at the last address
        image_.SetByte(address, static_cast<std::uint8_t>(store.value & 0xFF));
        image_.SetByte(address + 1, static_cast<std::uint8_t>(store.value >> 8));
    } else {
        image_.SetByte(address, static_cast<std::uint8_t>(store.value));
    }
    RefreshRows(address - 1, address + store.length - 1);
}

void TEESetsModel::RefreshRows(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, TopAddress());
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

QString TEESetsModel::CopyText() const
{
    auto line = [&](const std::function<QString(int)>& cell) {
        QString text = cell(Addr);
        for (int column = Name; column < ColumnCount; ++column) {
            if (CopyMask & (1u << column))
                text += QLatin1Char('\t') + cell(column);
        }
        return text;
    };
    QStringList lines;
    lines << line([&](int column) { return titles_.at(column); });
    for (int address = 0; address <= TopAddress(); ++address)
        lines << line([&](int column) { return CellText(address, column); });
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int TEESetsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : image_.Size();
}

int TEESetsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TEESetsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return CellText(index.row(), index.column());
}

QVariant TEESetsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < titles_.size() ? QVariant(titles_.at(section)) : QVariant();
    return QVariant();
}

Qt::ItemFlags TEESetsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (editable_ && index.column() >= Byte)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TEESetsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    // An unchanged text is no edit: leaving a cell must not queue a write.
    if (text == CellText(index.row(), index.column()))
        return false;
    try {
        Edit(index.row(), index.column(), text);
        return true;
    } catch (const Exception& e) {
        // The view keeps showing the model's text: the cell is restored.
        emit dataChanged(index, index);
        if (reportError_)
            reportError_(e.Message());
        return false;
    }
}

} // namespace Quorvel1
