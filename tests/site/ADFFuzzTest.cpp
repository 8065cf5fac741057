// Random and mutated definition files through the parser: whatever the
// bytes, parsing never crashes (the suite also runs under the sanitizers),
// every line is either a setting or one error, and the settings' values and
// texts can be read and stay inside the unit's image.
#include "base/TextLines.h"
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

#include <gtest/gtest.h>

#include <random>

using namespace Quorvel1;

namespace {

const QByteArray GoodDefinitions = "; fridge\r\n"
                                   "STBYTESET,Fan,\"Fan speed\",012-001,012-009,FAN,B,1,0,100,0,\" %\",0\r\n"
                                   "STWORDSET,SetPt,,,,SETPOINT,W,3,-400,400,-1,C\r\n"
                                   "STBYTEPICK,Mode,,,,MODE,B,1,0,5,0,,0,\"0=Off,4=Low,High\"\r\n"
                                   "STBYTEMASK,Loads,,,,MODE,B,1,0,255,0,,0,\"1=Fan,2=Heater,4=Light\"\r\n";

QByteArray Mutation(std::mt19937& random)
{
    static const QByteArray Alphabet = "STBYEWORDPICKMASK,\"=;-0123456789x \r\n";
    QByteArray bytes = GoodDefinitions;
    std::uniform_int_distribution<int> count(1, 12);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> alphabet(0, int(Alphabet.size()) - 1);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int n = count(random); n > 0; --n) {
        std::uniform_int_distribution<int> at(0, int(bytes.size()) - 1);
        const char c = coin(random) == 0 ? char(anyByte(random)) : Alphabet[alphabet(random)];
        switch (coin(random)) {
        case 0: bytes.insert(at(random), c); break;
        case 1: bytes.remove(at(random), 1); break;
        default: bytes[at(random)] = c; break;
        }
        if (bytes.isEmpty())
            bytes = "x";
    }
    return bytes;
}

TEST(ADFFuzz, MutatedFilesParseIntoSettingsOrErrorsAndStayInsideTheImage)
{
    TConfigBlock config(0x0C05, {"012-005,FRIDGE", "10,FAN", "511,SETPOINT", "20,MODE"});
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        TEEBlock image(0, "U5,012-005");
        const QStringList lines = SplitTextLines(Mutation(random));
        const TADFLoad load = ParseADF(lines, "fuzz.adf", &config, &image);
        ASSERT_LE(load.List->Count() + load.Errors.size(), lines.size()) << round;
        for (int i = 0; i < load.List->Count(); ++i) {
            TADFBase& setting = load.List->Item(i);
            (void)setting.ValueText();
            (void)setting.State();
            EXPECT_GE(setting.Address(), -1);
            EXPECT_LE(setting.Address(), 511);
        }
    }
}

} // namespace
