#pragma once
// A link on a scripted line with a manual clock, and request and reply frames
// built the way the interface unit expects them, for the link's tests.
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "support/ManualClock.h"
#include "support/ScriptedLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace QuorvelTest {

// 0x01, LEN, ~LEN, then the body (command, address, count or data) and the
// 16-bit sum of the body, low byte first.
inline Bytes Request(uint8_t command, uint16_t address, const Bytes& rest)
{
    Bytes body = {command, uint8_t(address & 0xFF), uint8_t(address >> 8)};
    body.insert(body.end(), rest.begin(), rest.end());
    unsigned sum = 0;
    for (uint8_t b : body)
        sum += b;
    const auto length = uint8_t(body.size());
    // Built whole rather than grown: GCC 12 warns wrongly on inserting into
    // a three-byte vector.
    Bytes frame(3 + body.size() + 2);
    frame[0] = 0x01;
    frame[1] = length;
    frame[2] = uint8_t(length ^ 0xFF);
    std::copy(body.begin(), body.end(), frame.begin() + 3);
    frame[frame.size() - 2] = uint8_t(sum & 0xFF);
    frame[frame.size() - 1] = uint8_t((sum >> 8) & 0xFF);
    return frame;
}

inline Bytes ReadRequest(uint16_t address, uint8_t count, bool ee = false)
{
    return Request(ee ? 0x02 : 0x00, address, {count});
}

inline Bytes WriteRequest(uint16_t address, const Bytes& data, bool ee = false)
{
    return Request(ee ? 0x03 : 0x01, address, data);
}

// The acknowledgement, the data, and the sum of the data alone.
inline Bytes ReadReply(const Bytes& data)
{
    unsigned sum = 0;
    for (uint8_t b : data)
        sum += b;
    Bytes reply = {0x06};
    reply.insert(reply.end(), data.begin(), data.end());
    reply.push_back(uint8_t(sum & 0xFF));
    reply.push_back(uint8_t((sum >> 8) & 0xFF));
    return reply;
}

inline Bytes Ack()
{
    return {0x06};
}

inline Bytes Zeros(std::size_t count)
{
    return Bytes(count, 0x00);
}

inline Bytes Pattern(std::size_t count, uint8_t seed = 0)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = uint8_t(seed + i * 7 + (i >> 8));
    return bytes;
}

inline Bytes WordBytes(uint16_t value)
{
    return {uint8_t(value), uint8_t(value >> 8)};
}

// The descriptor table at 0x2FF8: the three slot words (alarm table, link
// descriptor, logger header) and the count.
inline Bytes DescriptorTableBytes(uint16_t alarms, uint16_t link, uint16_t logger, uint16_t count)
{
    return {uint8_t(alarms), uint8_t(alarms >> 8), uint8_t(link), uint8_t(link >> 8),
            uint8_t(logger), uint8_t(logger >> 8), uint8_t(count), uint8_t(count >> 8)};
}

// A whole connect, as the interface unit answers it: a good reset, the
// descriptor table, the link descriptor's 8 bytes when `descriptor` is not
// empty (read from the table's link slot), then the interface unit's type
// and identity words; nothing more may be written.
inline void ScriptConnect(ScriptedLine& line, const Bytes& table, const Bytes& descriptor, uint16_t type = 1,
                          uint16_t identity = 2)
{
    ScriptReset(line);
    line.Expect(Hex("01 04 FB 00 F8 2F 08 2F 01")).Reply(ReadReply(table));
    if (!descriptor.empty())
        line.Expect(ReadRequest(uint16_t(table[2] | table[3] << 8), 8)).Reply(ReadReply(descriptor));
    line.Expect(Hex("01 04 FB 00 FE 7F 02 7F 01")).Reply(ReadReply(WordBytes(type)));
    line.Expect(Hex("01 04 FB 02 00 00 02 04 00")).Reply(ReadReply(WordBytes(identity))).Expect({});
}

class LinkTest : public ::testing::Test {
protected:
    LinkTest()
    {
        auto scripted = std::make_unique<ScriptedLine>(&clock);
        line = scripted.get();
        link.Open(std::move(scripted));
    }

    // The script was used to its end, and every checkpoint matched.
    void ExpectScriptDone()
    {
        EXPECT_TRUE(line->Mismatches().empty()) << ::testing::PrintToString(line->Mismatches());
        EXPECT_TRUE(line->Finished());
    }

    ManualClock clock;
    Pelk::TMestraIF link{clock};
    ScriptedLine* line = nullptr; // owned by the link
};

} // namespace QuorvelTest
