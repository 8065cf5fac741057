#include "SimLinkProtocol.h"

namespace SiteSim {

namespace {

uint16_t sum16(const uint8_t* bytes, std::size_t count)
{
    uint16_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = uint16_t(sum + bytes[i]);
    return sum;
}

// Body offsets: command, address low, address high, then count or data.
constexpr std::size_t CommandOffset = 0;
constexpr std::size_t AddressOffset = 1;
constexpr std::size_t PayloadOffset = 3;
constexpr uint8_t KnownCommandBits = SimLinkProtocol::CommandWrite | SimLinkProtocol::CommandEe;

} // namespace

std::vector<uint8_t> SimLinkProtocol::Receive(uint8_t byte, TimePoint at)
{
    if (state_ != State::Hunt && at - lastByteAt_ > PartialFrameTimeout) {
        ++counts_.BadFrames;
        state_ = State::Hunt;
    }
    lastByteAt_ = at;
    switch (state_) {
    case State::Hunt:
        return onHunt(byte);
    case State::Length:
        length_ = byte;
        state_ = State::Complement;
        return {};
    case State::Complement:
        return onComplement(byte);
    case State::Body:
        body_.push_back(byte);
        if (body_.size() == length_)
            state_ = State::Checksum;
        return {};
    case State::Checksum:
        checksum_.push_back(byte);
        if (checksum_.size() < 2)
            return {};
        state_ = State::Hunt;
        return onFrameComplete();
    }
    return {};
}

std::vector<uint8_t> SimLinkProtocol::onHunt(uint8_t byte)
{
    // Everything but a frame start is line noise or the zeros of a reset.
    if (byte == FrameStart)
        startFrame();
    return {};
}

void SimLinkProtocol::startFrame()
{
    state_ = State::Length;
    body_.clear();
    checksum_.clear();
}

std::vector<uint8_t> SimLinkProtocol::onComplement(uint8_t byte)
{
    if (byte != uint8_t(~length_)) {
        // The reset handshake: its third byte is consumed here, and the
        // answer tells the PC the unit is hunting for a frame again.
        ++counts_.ResetsSeen;
        ++counts_.NaksSent;
        state_ = State::Hunt;
        return {Nak};
    }
    state_ = length_ == 0 ? State::Checksum : State::Body;
    return {};
}

std::vector<uint8_t> SimLinkProtocol::onFrameComplete()
{
    const uint16_t expected = uint16_t(checksum_[0] | checksum_[1] << 8);
    if (body_.size() < PayloadOffset + 1 || sum16(body_.data(), body_.size()) != expected)
        return rejectFrame();
    const uint8_t command = body_[CommandOffset];
    if (command & ~KnownCommandBits)
        return rejectFrame();
    const auto space = command & CommandEe ? SimMemory::Space::Ee : SimMemory::Space::Ram;
    const uint16_t address = uint16_t(body_[AddressOffset] | body_[AddressOffset + 1] << 8);
    if (command & CommandWrite)
        return answerWrite(space, address);
    const uint8_t count = body_[PayloadOffset];
    if (body_.size() != ReadBodyLength || count == 0)
        return rejectFrame();
    return answerRead(space, address, count);
}

std::vector<uint8_t> SimLinkProtocol::answerRead(SimMemory::Space space, uint16_t address, uint8_t count)
{
    std::vector<uint8_t> answer{Ack};
    for (uint8_t i = 0; i < count; ++i)
        answer.push_back(memory_.Byte(space, uint16_t(address + i)));
    const uint16_t sum = sum16(answer.data() + 1, count);
    answer.push_back(uint8_t(sum));
    answer.push_back(uint8_t(sum >> 8));
    ++counts_.FramesAnswered;
    return answer;
}

std::vector<uint8_t> SimLinkProtocol::answerWrite(SimMemory::Space space, uint16_t address)
{
    const std::size_t length = body_.size() - PayloadOffset;
    for (std::size_t i = 0; i < length; ++i)
        memory_.SetByte(space, uint16_t(address + i), body_[PayloadOffset + i]);
    ++counts_.FramesAnswered;
    if (writeHook_)
        writeHook_(space, address, length);
    return {Ack};
}

std::vector<uint8_t> SimLinkProtocol::rejectFrame()
{
    ++counts_.BadFrames;
    ++counts_.NaksSent;
    return {Nak};
}

} // namespace SiteSim
