#pragma once
// The settings that an application's definition (ADF) file makes of a unit's
// EE bytes: each has a name, a description, an EE address found through the
// unit's config block, limits, an exponent and units, and for pick and mask
// settings a list of options. Values live in the unit's EE image; a setting
// only reads and writes it.
//
// Editing needs the user. The settings ask through a TADFEditor, which the
// window implements with its three value dialogs, so the model itself knows
// no windows.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace Quorvel1 {

class TADFList;
class TADFStSimpleSet;
class TADFStBytePick;
class TADFStByteMask;

// The fields of one definition line after its class keyword, consumed from
// the left; a missing or empty field gives the field's default.
class TADFFields {
public:
    explicit TADFFields(QStringList fields) : fields_(std::move(fields)) {}
    // The next field, or nothing when none is left or it is empty.
    std::optional<QString> Take();

private:
    QStringList fields_;
    int next_ = 0;
};

// What editing asks of the user. Each call returns nothing when the user
// cancelled.
class TADFEditor {
public:
    virtual ~TADFEditor() = default;
    // The numeric dialog: the text the user typed as the new value.
    virtual std::optional<QString> AskValue(const TADFStSimpleSet& setting) = 0;
    // The pick dialog, `preselected` an option index or -1: the option chosen,
    // -1 when none was.
    virtual std::optional<int> AskPick(const TADFStBytePick& setting, int preselected) = 0;
    // The mask dialog, one tick per option: the ticks the user left.
    virtual std::optional<std::vector<bool>> AskMask(const TADFStByteMask& setting,
                                                     const std::vector<bool>& ticked) = 0;
    virtual void ShowError(const QString& text, const QString& caption) = 0;
};

class TADFBase {
public:
    static constexpr const char* SettingErrorCaption = "Quorvel Setting Error";
    static constexpr const char* CannotEditText = "ADFBase: Cannot edit value";
    static constexpr const char* CannotEditCaption = "Quorvel Error";
    // The level every setting is shown at; IsEnabled tests it against the
    // setting's level mask.
    static constexpr std::uint8_t CurrentLevel = 1;

    TADFBase(TADFList& owner, TADFFields& fields);
    virtual ~TADFBase() = default;
    TADFBase(const TADFBase&) = delete;
    TADFBase& operator=(const TADFBase&) = delete;

    virtual bool IsValid() const { return false; }
    virtual bool IsEnabled() const { return true; }
    virtual QString ValueText() const { return QString(); }
    virtual std::uint8_t State() const { return 0; }
    virtual int Address() const { return -1; }
    // True only when the user confirmed and the new value is in the EE image.
    virtual bool Edit(TADFEditor& editor);

    const QString& Name() const { return name_; }
    const QString& Description() const { return description_; }
    std::uint16_t LowestApplication() const { return lowestApp_; }
    std::uint16_t HighestApplication() const { return highestApp_; }

protected:
    TADFList& Owner() const { return owner_; }

private:
    TADFList& owner_;
    QString name_;
    QString description_;
    std::uint16_t lowestApp_;
    std::uint16_t highestApp_;
};

// A setting bound to one named EE address.
class TADFStSet : public TADFBase {
public:
    TADFStSet(TADFList& owner, TADFFields& fields);

    bool IsValid() const override { return address_ >= 0; }
    bool IsEnabled() const override { return (levelMask_ & CurrentLevel) != 0; }
    std::uint8_t State() const override;
    int Address() const override { return address_; }

    const QString& ConfigItemName() const { return configItem_; }
    QChar TypeLetter() const { return typeLetter_; }
    std::uint8_t LevelMask() const { return levelMask_; }

private:
    QString configItem_;
    int address_;
    QChar typeLetter_;
    std::uint8_t levelMask_;
};

// A number with limits, an exponent and units.
class TADFStSimpleSet : public TADFStSet {
public:
    static constexpr const char* BelowMinimumText = "Value less than minimum";
    static constexpr const char* AboveMaximumText = "Value greater than maximum";
    static constexpr const char* InvalidValueText = "Invalid value";
    static constexpr const char* NoAddressText = "The unit's settings have no address for this setting";
    // Exponents beyond these are a bad definition line.
    static constexpr int LowestExponent = -10;
    static constexpr int HighestExponent = 10;

    TADFStSimpleSet(TADFList& owner, TADFFields& fields);

    QString ValueText() const override;
    bool Edit(TADFEditor& editor) override;
    virtual long GetValue() const { return 0; }
    virtual void SetValue(long) {}

    long Minimum() const { return minimum_; }
    long Maximum() const { return maximum_; }
    int Exponent() const { return exponent_; }
    const QString& Units() const { return units_; }
    std::uint8_t Flag() const { return flag_; }

protected:
    bool IsSigned() const { return minimum_ < 0; }
    // The values the setting's storage holds: a byte or a word, signed when
    // the minimum is negative.
    virtual long StorageLowest() const { return 0; }
    virtual long StorageHighest() const { return 0; }
    // Typed numbers must keep to the definition's limits; an option's value
    // is the definition's own, and only has to fit the storage.
    enum class Limits { DefinitionAndStorage, Storage };
    // Stores `value` when the setting has an address and the value keeps to
    // `limits`; otherwise reports the failure to the user and returns false.
    bool StoreChecked(long value, TADFEditor& editor, Limits limits);

private:
    long minimum_;
    long maximum_;
    int exponent_;
    QString units_;
    std::uint8_t flag_;
};

class TADFStByteSet : public TADFStSimpleSet {
public:
    using TADFStSimpleSet::TADFStSimpleSet;
    long GetValue() const override;
    void SetValue(long value) override;

protected:
    long StorageLowest() const override { return IsSigned() ? -128 : 0; }
    long StorageHighest() const override { return IsSigned() ? 127 : 255; }
};

class TADFStWordSet : public TADFStSimpleSet {
public:
    using TADFStSimpleSet::TADFStSimpleSet;
    long GetValue() const override;
    void SetValue(long value) override;
    std::uint8_t State() const override;

protected:
    long StorageLowest() const override { return IsSigned() ? -32768 : 0; }
    long StorageHighest() const override { return IsSigned() ? 32767 : 65535; }
};

struct TADFOption {
    QString Text;
    long Value;
};

// A byte that takes one of a list of options.
class TADFStBytePick : public TADFStByteSet {
public:
    static constexpr const char* UnknownOptionText = "???";

    TADFStBytePick(TADFList& owner, TADFFields& fields);

    QString ValueText() const override;
    bool Edit(TADFEditor& editor) override;

    const std::vector<TADFOption>& Options() const { return options_; }
    // The index of the first option whose value is `value`; -1 when none is.
    int OptionIndexOf(long value) const;

private:
    std::vector<TADFOption> options_;
};

// A byte of flags, one option a bit (or several bits).
class TADFStByteMask : public TADFStBytePick {
public:
    static constexpr const char* NoOptionText = "None";

    using TADFStBytePick::TADFStBytePick;

    QString ValueText() const override;
    bool Edit(TADFEditor& editor) override;
    // Per option, whether its value shares a bit with `value`.
    std::vector<bool> Ticks(long value) const;
};

// The option entries of a pick or mask line: "n=Text" sets the value, a bare
// text takes the running value; values start at `minimum`.
std::vector<TADFOption> ParseADFOptions(const QString& field, long minimum);

} // namespace Quorvel1
