// The command line of an unattended run, as the program that starts it
// writes it: the option word ("-ALGFPT"), the site path and the long
// options, one argument per NUL-separated part of the input. Parsing never
// faults, and what it accepts holds only known letters.
#include "FuzzInput.h"

#include "app/CommandLine.h"

namespace {

constexpr char KnownLetters[] = "AJRLGFPCTO";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Quorvel1;
    const QStringList arguments = QuorvelFuzz::NulSeparatedTexts(data, size);
    const TCommandLine line = ParseCommandLine(arguments, QStringLiteral("last.ste"));
    if (!line.Options.isEmpty()) {
        FUZZ_CHECK(line.Options.startsWith(QLatin1Char('-')));
        if (line.Error.isEmpty()) {
            for (qsizetype i = 1; i < line.Options.size(); ++i)
                FUZZ_CHECK(QLatin1String(KnownLetters).contains(line.Options.at(i)));
        }
    }
    for (char letter : KnownLetters) {
        if (letter != '\0')
            (void)HasOptionLetter(line.Options, letter);
    }
    (void)IsUnattendedRun(line.Options);
    return 0;
}
