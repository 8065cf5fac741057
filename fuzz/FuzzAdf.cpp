// An application's definition file "Adf/<name>.adf": one setting a line as
// comma text, over the unit's config block and EE image. Every line becomes
// a setting or one error, and every setting can be shown and edited without
// leaving the image. The edits' answers come from the end of the input.
#include "FuzzInput.h"

#include "base/TextLines.h"
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

namespace {

using namespace Quorvel1;

// A user who answers every question the same way, as the input says.
class FuzzEditor final : public TADFEditor {
public:
    FuzzEditor(QString value, int pick) : value_(std::move(value)), pick_(pick) {}

    std::optional<QString> AskValue(const TADFStSimpleSet&) override { return value_; }
    std::optional<int> AskPick(const TADFStBytePick& setting, int) override
    {
        return setting.Options().empty() ? -1 : pick_ % int(setting.Options().size());
    }
    std::optional<std::vector<bool>> AskMask(const TADFStByteMask&, const std::vector<bool>& ticked) override
    {
        std::vector<bool> flipped = ticked;
        for (std::size_t i = 0; i < flipped.size(); ++i)
            flipped[i] = flipped[i] != (((pick_ >> (i % 8)) & 1) != 0);
        return flipped;
    }
    void ShowError(const QString&, const QString&) override {}

private:
    QString value_;
    int pick_;
};

// A unit of application 012-005 with names the seeds use, one address at
// the image's top.
const TConfigBlock& Config()
{
    static const TConfigBlock config(0x0C05, {"012-005,FRIDGE", "10,FAN", "511,SETPOINT", "20,MODE",
                                              "12,TRIPFLAGS", "-3,BELOW", "600,ABOVE"});
    return config;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList lines = SplitTextLines(QuorvelFuzz::ByteArray(data, size));
    // The last line is also the value typed into every number dialog.
    const QString typed = lines.isEmpty() ? QString() : lines.last();
    const int pick = size > 0 ? data[size - 1] : 0;

    TEEBlock image(Config().HighestAddress(), TEEBlock::ImageName(5, 0x0C05));
    const TADFLoad load = ParseADF(lines, QStringLiteral("fuzz.adf"), &Config(), &image);
    FUZZ_CHECK(load.List->Count() + load.Errors.size() <= lines.size());
    (void)ADFErrorsToShow(load.Errors);
    FuzzEditor editor(typed, pick);
    for (int i = 0; i < load.List->Count(); ++i) {
        TADFBase& setting = load.List->Item(i);
        FUZZ_CHECK(setting.Address() >= -1 && setting.Address() <= image.TopAddress());
        (void)setting.ValueText();
        (void)setting.State();
        (void)setting.IsEnabled();
        (void)setting.Edit(editor);
        (void)setting.ValueText();
    }
    // Only the bytes of the settings' addresses may have changed.
    for (int address = 0; address <= image.TopAddress(); ++address) {
        if (image.GetState(address) == EEState::NoValue)
            continue;
        bool owned = false;
        for (int i = 0; i < load.List->Count() && !owned; ++i) {
            const int at = load.List->Item(i).Address();
            owned = at >= 0 && (address == at || address == at + 1);
        }
        FUZZ_CHECK(owned);
    }
    return 0;
}
