#include "site/ADFSettings.h"

#include "base/CommaText.h"
#include "base/Exception.h"
#include "site/ADFList.h"
#include "site/FixedPoint.h"

#include <algorithm>
#include <climits>

namespace Quorvel1 {

namespace {

// A whole decimal integer (an optional sign, then digits; "$" or "0x" for
// hexadecimal), as the definition files write their numbers.
long DecimalField(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    long value = 0;
    if (trimmed.startsWith('$'))
        value = trimmed.mid(1).toLong(&ok, 16);
    else if (trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLong(&ok, 16);
    else
        value = trimmed.toLong(&ok, 10);
    if (!ok || value < INT_MIN || value > INT_MAX)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

long DecimalField(std::optional<QString> text, long fallback)
{
    return text ? DecimalField(*text) : fallback;
}

// Leading blanks, then digits of `base`; how many digits were read.
int LeadingNumber(const QString& text, int& at, int base, unsigned long& value)
{
    while (at < text.size() && text[at].isSpace())
        ++at;
    int digits = 0;
    value = 0;
    while (at < text.size()) {
        const int digit = text[at].isDigit() ? text[at].digitValue()
                          : base == 16 && text[at].toLower() >= 'a' && text[at].toLower() <= 'f'
                              ? text[at].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            break;
        value = std::min<unsigned long>(value * unsigned(base) + unsigned(digit), 0xFFFFFFFFul);
        ++at;
        ++digits;
    }
    return digits;
}

// "low-high" application text: the first number in the low byte, the second
// in the high byte; a number that is not there counts 0.
std::uint16_t ApplicationField(std::optional<QString> text, std::uint16_t fallback)
{
    if (!text)
        return fallback;
    int at = 0;
    unsigned long first = 0;
    unsigned long second = 0;
    if (LeadingNumber(*text, at, 10, first) > 0 && at < text->size() && (*text)[at] == '-') {
        ++at;
        LeadingNumber(*text, at, 10, second);
    }
    return std::uint16_t(((second & 0xFF) << 8) | (first & 0xFF));
}

// Hexadecimal as "%x" reads it (blanks, an optional "0x", digits); text
// that does not start so keeps the default.
std::uint8_t HexField(std::optional<QString> text, std::uint8_t fallback)
{
    if (!text)
        return fallback;
    QString rest = text->trimmed();
    if (rest.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        rest = rest.mid(2);
    int at = 0;
    unsigned long value = 0;
    return LeadingNumber(rest, at, 16, value) > 0 ? std::uint8_t(value) : fallback;
}

} // namespace

std::optional<QString> TADFFields::Take()
{
    if (next_ >= fields_.size())
        return std::nullopt;
    const QString field = fields_[next_++];
    if (field.isEmpty())
        return std::nullopt;
    return field;
}

TADFBase::TADFBase(TADFList& owner, TADFFields& fields) : owner_(owner)
{
    name_ = fields.Take().value_or(QString());
    description_ = fields.Take().value_or(name_);
    lowestApp_ = ApplicationField(fields.Take(), 0);
    highestApp_ = ApplicationField(fields.Take(), 0xFFFF);
}

bool TADFBase::Edit(TADFEditor& editor)
{
    editor.ShowError(CannotEditText, CannotEditCaption);
    return false;
}

TADFStSet::TADFStSet(TADFList& owner, TADFFields& fields) : TADFBase(owner, fields)
{
    configItem_ = fields.Take().value_or(QString());
    address_ = configItem_.isEmpty() ? -1 : owner.AddressOf(configItem_);
    if (address_ < 0)
        address_ = -1;
    const std::optional<QString> letter = fields.Take();
    typeLetter_ = letter ? letter->at(0) : QChar('?');
    levelMask_ = HexField(fields.Take(), 1);
}

std::uint8_t TADFStSet::State() const
{
    return Owner().ByteState(address_);
}

TADFStSimpleSet::TADFStSimpleSet(TADFList& owner, TADFFields& fields) : TADFStSet(owner, fields)
{
    minimum_ = DecimalField(fields.Take(), 0);
    maximum_ = DecimalField(fields.Take(), 255);
    exponent_ = int(DecimalField(fields.Take(), 0));
    if (exponent_ < LowestExponent || exponent_ > HighestExponent)
        throw Exception(QStringLiteral("Exponent %1 is not in %2..%3").arg(exponent_).arg(LowestExponent).arg(HighestExponent));
    units_ = fields.Take().value_or(QString());
    flag_ = std::uint8_t(DecimalField(fields.Take(), 0));
}

QString TADFStSimpleSet::ValueText() const
{
    return FormatFixed(GetValue(), exponent_, 0) + units_;
}

bool TADFStSimpleSet::StoreChecked(long value, TADFEditor& editor, Limits limits)
{
    if (!IsValid()) {
        editor.ShowError(NoAddressText, SettingErrorCaption);
        return false;
    }
    const char* failure = nullptr;
    const bool definition = limits == Limits::DefinitionAndStorage;
    if ((definition && value < minimum_) || value < StorageLowest())
        failure = BelowMinimumText;
    else if ((definition && value > maximum_) || value > StorageHighest())
        failure = AboveMaximumText;
    if (failure) {
        editor.ShowError(failure, SettingErrorCaption);
        return false;
    }
    SetValue(value);
    return true;
}

bool TADFStSimpleSet::Edit(TADFEditor& editor)
{
    if (!IsValid()) {
        editor.ShowError(NoAddressText, SettingErrorCaption);
        return false;
    }
    const std::optional<QString> text = editor.AskValue(*this);
    if (!text)
        return false;
    int value = 0;
    ParseFixed(*text, exponent_, &value);
    // ParseFixed leaves the value alone without a digit and saturates on
    // overflow; neither is a number the user meant.
    const bool hasDigit = std::any_of(text->begin(), text->end(), [](QChar c) { return c.isDigit(); });
    if (!hasDigit || value == INT_MAX || value == INT_MIN) {
        editor.ShowError(InvalidValueText, SettingErrorCaption);
        return false;
    }
    return StoreChecked(value, editor, Limits::DefinitionAndStorage);
}

long TADFStByteSet::GetValue() const
{
    const std::uint8_t byte = Owner().GetByte(Address());
    return IsSigned() ? long(std::int8_t(byte)) : long(byte);
}

void TADFStByteSet::SetValue(long value)
{
    Owner().SetByte(Address(), std::uint8_t(value & 0xFF));
}

long TADFStWordSet::GetValue() const
{
    const std::uint16_t word = std::uint16_t(Owner().GetByte(Address()) | (Owner().GetByte(Address() + 1) << 8));
    return IsSigned() ? long(std::int16_t(word)) : long(word);
}

void TADFStWordSet::SetValue(long value)
{
    Owner().SetByte(Address(), std::uint8_t(value & 0xFF));
    Owner().SetByte(Address() + 1, std::uint8_t((value >> 8) & 0xFF));
}

std::uint8_t TADFStWordSet::State() const
{
    return std::min(Owner().ByteState(Address()), Owner().ByteState(Address() + 1));
}

std::vector<TADFOption> ParseADFOptions(const QString& field, long minimum)
{
    std::vector<TADFOption> options;
    long running = minimum;
    for (const QString& entry : SplitCommaText(field)) {
        const int equals = entry.indexOf('=');
        TADFOption option{entry, running};
        if (equals >= 0) {
            option.Value = DecimalField(entry.left(equals));
            option.Text = entry.mid(equals + 1);
        }
        running = option.Value + 1;
        options.push_back(option);
    }
    return options;
}

TADFStBytePick::TADFStBytePick(TADFList& owner, TADFFields& fields) : TADFStByteSet(owner, fields)
{
    options_ = ParseADFOptions(fields.Take().value_or(QString()), Minimum());
}

int TADFStBytePick::OptionIndexOf(long value) const
{
    const auto found = std::find_if(options_.begin(), options_.end(),
                                    [value](const TADFOption& option) { return option.Value == value; });
    return found == options_.end() ? -1 : int(found - options_.begin());
}

QString TADFStBytePick::ValueText() const
{
    const int index = OptionIndexOf(GetValue());
    return index < 0 ? QString(UnknownOptionText) : options_[std::size_t(index)].Text;
}

bool TADFStBytePick::Edit(TADFEditor& editor)
{
    if (!IsValid()) {
        editor.ShowError(NoAddressText, SettingErrorCaption);
        return false;
    }
    // The dialog preselects and returns options; what is stored is the
    // chosen option's value, which ValueText finds again.
    const std::optional<int> chosen = editor.AskPick(*this, OptionIndexOf(GetValue()));
    if (!chosen || *chosen < 0 || *chosen >= int(options_.size()))
        return false;
    return StoreChecked(options_[std::size_t(*chosen)].Value, editor, Limits::Storage);
}

std::vector<bool> TADFStByteMask::Ticks(long value) const
{
    std::vector<bool> ticks;
    for (const TADFOption& option : Options())
        ticks.push_back((option.Value & value) != 0);
    return ticks;
}

QString TADFStByteMask::ValueText() const
{
    QStringList texts;
    const long value = GetValue();
    for (const TADFOption& option : Options()) {
        if ((option.Value & value) != 0)
            texts << option.Text;
    }
    return texts.isEmpty() ? QString(NoOptionText) : JoinCommaText(texts);
}

bool TADFStByteMask::Edit(TADFEditor& editor)
{
    if (!IsValid()) {
        editor.ShowError(NoAddressText, SettingErrorCaption);
        return false;
    }
    const std::optional<std::vector<bool>> ticks = editor.AskMask(*this, Ticks(GetValue()));
    if (!ticks)
        return false;
    long value = 0;
    for (std::size_t i = 0; i < Options().size() && i < ticks->size(); ++i) {
        if ((*ticks)[i])
            value |= Options()[i].Value;
    }
    return StoreChecked(value, editor, Limits::Storage);
}

} // namespace Quorvel1
