// Comma text, the line format of the definition, settings-address and EE
// image files and of the site map's entries: any line splits without fault,
// and values joined by the program split back into the same values.
#include "FuzzInput.h"

#include "base/CommaText.h"
#include "base/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Quorvel1;
    // The files' lines, decoded as the files are read.
    for (const QString& line : SplitTextLines(QuorvelFuzz::ByteArray(data, size))) {
        const QStringList values = SplitCommaText(line);
        FUZZ_CHECK(SplitCommaText(JoinCommaText(values)) == values);
    }
    // Values the program writes: any text at all, the separators included.
    const QStringList values = QuorvelFuzz::NulSeparatedTexts(data, size);
    FUZZ_CHECK(SplitCommaText(JoinCommaText(values)) == values);
    return 0;
}
