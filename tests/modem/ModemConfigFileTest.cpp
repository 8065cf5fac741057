// The modem configuration file byte for byte, and the files it refuses.
#include "base/Exception.h"
#include "modem/TapiModem.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>

using namespace Quorvel1;

namespace {

QByteArray Word(uint32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A file as the layout has it: device, six header words, the block.
QByteArray ConfigFile(uint32_t device, const QByteArray& block, uint32_t neededExtra = 0)
{
    const uint32_t needed = 24 + uint32_t(block.size()) + neededExtra;
    return Word(device) + Word(3024) + Word(needed) + Word(needed) + Word(1) + Word(uint32_t(block.size())) +
           Word(24) + block;
}

QString MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& error) {
        return error.Message();
    }
    return QString();
}

class ModemConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override { modem.Initialise({"/dev/modem-a", "/dev/modem-b"}); }

    QuorvelTest::TempFolder folder;
    TTapiModem modem;
};

} // namespace

TEST_F(ModemConfigFileTest, DefaultConfigurationIsWrittenAsDeviceHeaderAndBlock)
{
    modem.SetDevice(1);
    const QString path = folder.file("ModemCfg1.dat");

    modem.WriteConfigFile(path);

    const QByteArray expected = QByteArray::fromHex("01000000"   // device 1
                                                    "d00b0000"   // total size 3024
                                                    "33000000"   // needed size 51
                                                    "33000000"   // used size 51
                                                    "01000000"   // string format
                                                    "1b000000"   // string size 27
                                                    "18000000")  // string offset 24
                                + "Init=ATZ\nDial=ATDT\nSpeed=0\n";
    EXPECT_EQ(QuorvelTest::FileBytes(path), expected);
}

TEST_F(ModemConfigFileTest, ReadingAFileGivesTheDeviceItsBlock)
{
    const QString path = folder.file("ModemCfg0.dat");
    ASSERT_TRUE(folder.WriteBytes("ModemCfg0.dat", ConfigFile(0, "Init=AT&F E0\nDial=ATDP\nSpeed=19200\n")));

    modem.ReadConfigFile(path);

    EXPECT_EQ(modem.DeviceConfig(0).Init, "AT&F E0");
    EXPECT_EQ(modem.DeviceConfig(0).Dial, "ATDP");
    EXPECT_EQ(modem.DeviceConfig(0).Speed, 19200u);
    EXPECT_EQ(modem.DeviceConfig(1), TModemConfig());
}

TEST_F(ModemConfigFileTest, FilesThatCannotBeUsedAreRefusedWithTheirReason)
{
    QByteArray blockOutside = ConfigFile(0, "Init=ATZ\n");
    blockOutside.replace(4 + 16, 4, Word(200)); // string size past the needed size
    const struct {
        const char* Case;
        std::optional<QByteArray> File; // none: no file at all
        const char* Message;
    } rows[] = {
        {"another device's file", ConfigFile(1, "Init=ATQ0\n"), "TAPI: Config file for wrong modem"},
        // Needed size 3025: one byte more than the configuration buffer holds.
        {"needed size beyond the buffer", ConfigFile(0, QByteArray(3001, 'x')), "TAPI: Device config too large"},
        {"shorter than its needed size", ConfigFile(0, "Init=ATZ\n", 10), "TAPI: Couldn't read config file"},
        {"block outside the structure", blockOutside, "TAPI: Couldn't set config for device"},
        {"missing file", std::nullopt, "TAPI: Couldn't read config file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const QString path = folder.file("ModemCfg0.dat");
        QFile::remove(path);
        if (row.File) {
            ASSERT_TRUE(folder.WriteBytes("ModemCfg0.dat", *row.File));
        }

        EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(path); }), row.Message);
        EXPECT_EQ(modem.DeviceConfig(0), TModemConfig());
    }
}

TEST_F(ModemConfigFileTest, ConfigurationTooLargeForTheBufferIsNotWritten)
{
    modem.OnConfigDialog = [](TModemConfig& config) {
        config.Init = QString(3000, 'A');
        return true;
    };

    EXPECT_EQ(MessageOf([&] { modem.ConfigDialog(); }), "TAPI: Device config too large");
    EXPECT_EQ(modem.DeviceConfig(0), TModemConfig());
}

TEST_F(ModemConfigFileTest, ConfigDialogEditsReachTheFile)
{
    modem.OnConfigDialog = [](TModemConfig& config) {
        config.Dial = "ATDP";
        return true;
    };
    modem.ConfigDialog();
    const QString path = folder.file("ModemCfg0.dat");

    modem.WriteConfigFile(path);

    EXPECT_TRUE(QuorvelTest::FileBytes(path).endsWith("Init=ATZ\nDial=ATDP\nSpeed=0\n"));
}

TEST_F(ModemConfigFileTest, DeviceBeyondTheListIsInvalid)
{
    modem.SetDevice(2);

    EXPECT_EQ(MessageOf([&] { modem.GetDevConfig(); }), "TAPI: Invalid TAPI device");
    EXPECT_EQ(MessageOf([&] { modem.Dial("123"); }), "TAPI: Invalid TAPI device");
}
