// A unit's EE image file "<processor id>.ee": the image's name line, then
// "address,byte" lines. Whatever the file holds, only bytes inside the image
// are taken, each marked as from the file, and the image's own lines read
// back into the same image.
#include "FuzzInput.h"

#include "base/TextLines.h"
#include "site/EEBlock.h"

namespace {

constexpr std::uint16_t AppId = 0x0C05;
constexpr int UnitNumber = 3; // the seeds' name line is "U3,012-005"

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Quorvel1;
    // The image is small or large as the unit's config block says; the
    // input's length picks one, leaving every byte to the file's text.
    const int highest = size % 2 ? TEEBlock::SmallTopAddress : TEEBlock::LargeTopAddress;
    const QString name = TEEBlock::ImageName(UnitNumber, AppId);
    TEEBlock image(highest, name);
    const bool taken = image.TakeImageLines(SplitTextLines(QuorvelFuzz::ByteArray(data, size)));
    FUZZ_CHECK(!image.IsModified());
    FUZZ_CHECK(image.GetByte(-1) == 0 && image.GetByte(image.TopAddress() + 1) == 0);
    FUZZ_CHECK(image.GetState(image.TopAddress() + 1) == EEState::NoValue);
    int fromFile = 0;
    for (int address = 0; address <= image.TopAddress(); ++address) {
        const std::uint8_t state = image.GetState(address);
        FUZZ_CHECK(state == EEState::NoValue || state == EEState::FromFile);
        fromFile += state == EEState::FromFile;
    }
    FUZZ_CHECK(taken || fromFile == 0);

    // Saved and loaded again: the same bytes.
    const QStringList lines = image.ImageLines();
    FUZZ_CHECK(lines.size() == fromFile + 1);
    TEEBlock again(highest, name);
    FUZZ_CHECK(again.TakeImageLines(lines) || fromFile == 0);
    for (int address = 0; address <= image.TopAddress(); ++address) {
        FUZZ_CHECK(again.GetState(address) == image.GetState(address));
        FUZZ_CHECK(again.GetByte(address) == image.GetByte(address));
    }
    return 0;
}
