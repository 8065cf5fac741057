// Random and truncated bytes through every parser of the logger's images and
// through the log check: no crash, no read outside the image (run under the
// sanitizers), and only plausible answers.
#include "logger/Log1.h"
#include "logger/LogBlocks.h"
#include "logger/LogConfig.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace Quorvel1;

namespace {

std::vector<uint8_t> RandomBytes(std::mt19937& random, std::size_t length)
{
    std::vector<uint8_t> bytes(length);
    for (auto& b : bytes)
        b = uint8_t(random());
    return bytes;
}

} // namespace

TEST(LogImagesFuzz, RandomAndTruncatedBlocksParseOrAreRefused)
{
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        const std::vector<uint8_t> bytes = RandomBytes(random, random() % 40);
        EXPECT_EQ(TLogHeader::Parse(bytes).has_value(), bytes.size() >= TLogHeader::Size);
        EXPECT_EQ(TLogStatus::Parse(bytes).has_value(), bytes.size() >= TLogStatus::Size);
        EXPECT_EQ(TLogControl::Parse(bytes).has_value(), bytes.size() >= TLogControl::Size);
        EXPECT_EQ(TLogCommand::Parse(bytes).has_value(), bytes.size() >= TLogCommand::Size);
    }
}

TEST(LogImagesFuzz, RandomConfigurationsGiveBoundedDeviceLists)
{
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        const std::vector<uint8_t> bytes = RandomBytes(random, random() % 600);
        const std::size_t most = random() % 300;
        const std::vector<TDeviceKey> keys = LogConfigDeviceKeys(bytes, most);
        EXPECT_LE(keys.size(), most);
        for (const TDeviceKey& key : keys)
            EXPECT_NE(key.TypeByte(), 0);
        if (const auto config = TLogConfig::Parse(bytes)) {
            EXPECT_LE(config->Serialise().size(), bytes.size());
        }
    }
}

TEST(LogCheckFuzz, RandomBuffersAndControlDataNeverCrash)
{
    std::mt19937 random(13);
    auto log = std::make_unique<TLog1>();
    for (int i = 0; i < 400; ++i) {
        const std::size_t size = 1 + random() % 3000;
        log->LoggedDevices = uint16_t(random() % 40);
        log->BufferLength = int(size);
        for (std::size_t b = 0; b < size; ++b)
            log->DataArea[b] = uint8_t(random() % 4 ? random() : 0xFF);
        log->Status.Entries = uint16_t(random() % 300);
        // Mostly inside the ring, sometimes anywhere.
        const auto position = [&] { return uint16_t(random() % 8 ? random() % size : random()); };
        log->Control.StartPosition = position();
        log->Control.EndPosition = position();
        log->Control.StartBit = uint8_t(random() % 9);
        log->Control.EndBit = uint8_t(random() % 9);
        std::vector<uint16_t> sums(log->LoggedDevices);
        log->CheckLog(sums);
        EXPECT_EQ(log->Decoder, (TLogBitPosition{log->Control.StartPosition, log->Control.StartBit}))
            << "the decoder goes back to the start";
    }
}
