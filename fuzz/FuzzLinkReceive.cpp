// The link's receive path: what the interface unit sends back (the reset's
// answers, acknowledgements, read data and checksums, LAN replies), played
// by a scripted line while the link runs one of its operations.
//
// Input: an operation byte, a parameter byte, then the line's replies as
// chunks, each a length byte and that many bytes; a silent read (a time-out)
// follows every chunk. Whatever comes back, an operation ends with its
// result or one of the link's errors, never reads or writes outside its
// buffers, and its time-outs keep time with a manual clock, so nothing
// waits in earnest.
#include "FuzzInput.h"

#include "comms/LanMessage.h"
#include "comms/MestraIF.h"
#include "support/ManualClock.h"
#include "support/ScriptedLine.h"

#include <array>
#include <memory>

namespace {

using Pelk::TMestraIF;
using QuorvelTest::Bytes;
using QuorvelTest::ManualClock;
using QuorvelTest::ScriptedLine;

constexpr std::uint16_t LanBuffer = 0x0C00; // where a connect's descriptor usually puts it

enum Operation : std::uint8_t { Connect, ReadRam, ReadEE, WriteRam, WriteEE, LanIdentify, LanReadWord, LanWriteWord, LanRequest, OperationCount };

void ScriptReplies(ScriptedLine& line, const std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        line.Reply(Bytes(data + at + 1, data + at + 1 + length));
        line.Silence();
        at += 1 + length;
    }
}

// The block sizes and retries a connect may have set, from the parameter.
void SetUpLink(TMestraIF& link, std::uint8_t parameter)
{
    link.MaxReadBlock = std::uint16_t(1 + parameter % 32);
    link.MaxWriteBlock = std::uint16_t(1 + parameter % 16);
    link.MaxRetries = parameter >> 6;
    link.LanRetries = (parameter >> 4) & 3;
    link.LanBufferAddress = LanBuffer;
}

void Run(TMestraIF& link, Operation operation, std::uint8_t parameter)
{
    std::array<std::uint8_t, 300> buffer{};
    const std::uint16_t length = std::uint16_t(1 + (parameter & 0x3F));
    switch (operation) {
    case Connect:
        if (link.Connect()) {
            FUZZ_CHECK(link.IsConnected());
            FUZZ_CHECK(link.MaxReadBlock >= 1 && link.MaxReadBlock <= TMestraIF::ReadBlockLimit);
            FUZZ_CHECK(link.MaxWriteBlock >= 1 && link.MaxWriteBlock <= TMestraIF::WriteBlockLimit);
        }
        FUZZ_CHECK(link.DescriptorCount <= 3);
        break;
    case ReadRam:
    case ReadEE:
        FUZZ_CHECK(link.ReadMem(buffer.data(), 0x2000, length, operation == ReadEE) == length);
        break;
    case WriteRam:
    case WriteEE:
        FUZZ_CHECK(link.WriteMem(buffer.data(), 0x2000, length, operation == WriteEE) == length);
        break;
    case LanIdentify:
        if (link.SelectUnit(std::uint8_t(1 + parameter % 30), true))
            FUZZ_CHECK(link.Unit == 1 + parameter % 30);
        break;
    case LanReadWord:
        link.SelectUnit(std::uint8_t(1 + parameter % 30), false);
        (void)link.ReadWord(0x0040, parameter & 1);
        break;
    case LanWriteWord:
        link.SelectUnit(std::uint8_t(1 + parameter % 30), false);
        (void)link.WriteWord(0x1234, 0x0040, parameter & 1);
        break;
    case LanRequest: {
        link.SelectUnit(std::uint8_t(1 + parameter % 30), false);
        Pelk::TLanMessage message{};
        link.LanRequest(0x21, parameter & 0x0F, message);
        FUZZ_CHECK(message[Pelk::Lan::ControlByte] == 1 + parameter % 30);
        break;
    }
    case OperationCount:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const auto operation = Operation(data[0] % OperationCount);
    const std::uint8_t parameter = data[1];
    ManualClock clock;
    TMestraIF link(clock);
    auto line = std::make_unique<ScriptedLine>(&clock);
    ScriptReplies(*line, data + 2, size - 2);
    link.Open(std::move(line));
    SetUpLink(link, parameter);
    QuorvelFuzz::IgnoringOwnErrors([&] { Run(link, operation, parameter); });
    return 0;
}
