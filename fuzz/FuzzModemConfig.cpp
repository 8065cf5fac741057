// The modem's configuration file "ModemCfg<device>.dat": the device word, the
// telephony structure and the text block inside it. Any file either gives a
// configuration or one of the program's errors; a configuration written back
// reads as the same.
#include "FuzzInput.h"

#include "modem/ModemConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Quorvel1;
    const QByteArray file = QuorvelFuzz::ByteArray(data, size);
    // The device the file was written for, so that most inputs get past
    // the device check; one bit of it says to ask for another device.
    std::uint32_t device = 0;
    for (std::size_t i = 0; i < 4 && i < size; ++i)
        device |= std::uint32_t(data[i]) << (8 * i);
    if (size > 4 && (data[4] & 0x80) != 0)
        device ^= 1;

    QuorvelFuzz::IgnoringOwnErrors([&] {
        const QByteArray devConfig = ParseModemConfigFile(file, device);
        FUZZ_CHECK(devConfig.size() == qsizetype(ModemConfigFormat::DevConfigSize));
        FUZZ_CHECK(ParseModemConfigFile(FormatModemConfigFile(device, devConfig), device) == devConfig);
        const TModemConfig config = ParseModemConfigBlock(DevConfigBlock(devConfig));
        FUZZ_CHECK(ParseModemConfigBlock(FormatModemConfigBlock(config)) == config);
        FUZZ_CHECK(ParseModemConfigBlock(DevConfigBlock(BuildDevConfig(FormatModemConfigBlock(config))))
                   == config);
    });
    // The text block alone, as the structure carries it.
    const TModemConfig config = ParseModemConfigBlock(file);
    FUZZ_CHECK(ParseModemConfigBlock(FormatModemConfigBlock(config)) == config);
    return 0;
}
