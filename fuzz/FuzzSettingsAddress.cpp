// A unit application's settings-address file "st/012-005.st": the header
// naming the application and its definition file, then one "address,name"
// line per EE address. Any file gives a block whose items can all be looked
// up, each name finding its first item.
#include "FuzzInput.h"

#include "base/TextLines.h"
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

namespace {

constexpr std::uint16_t AppId = 0x0C05; // "012-005", the seeds' application

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Quorvel1;
    const TConfigBlock block(AppId, SplitTextLines(QuorvelFuzz::ByteArray(data, size)));
    FUZZ_CHECK(block.HighestAddress() >= 0);
    for (int i = 0; i < block.Count(); ++i) {
        FUZZ_CHECK(block.Address(i) <= block.HighestAddress());
        int first = 0;
        while (block.Name(first).compare(block.Name(i), Qt::CaseInsensitive) != 0)
            ++first;
        FUZZ_CHECK(block.ItemByName(block.Name(i)) == &block.Item(first));
    }
    QuorvelFuzz::IgnoringOwnErrors([&] { (void)block.Item(block.Count()); });
    (void)IsSafeDefinitionName(block.AdfName());
    // The unit's image takes its size from the block's highest address.
    const TEEBlock image(block.HighestAddress(), TEEBlock::ImageName(1, AppId));
    FUZZ_CHECK(image.TopAddress() >= block.HighestAddress() || image.TopAddress() == TEEBlock::LargeTopAddress);
    return 0;
}
