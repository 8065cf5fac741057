// Units 1..30, reached through the interface unit's 8-byte LAN message
// buffer: the PC writes a message there, sets its first byte to 0xFF to have
// it sent, waits for the interface unit to take it and, for requests and
// writes, polls the first byte until the reply's source appears. Every
// access to the buffer is an ordinary framed request of the interface unit's
// memory, with its own block retries.
#include "comms/MestraIF.h"

#include "comms/PelkExceptions.h"

namespace Pelk {

namespace {

uint8_t memoryCode(bool ee, int size)
{
    if (ee)
        return size == 2 ? Lan::CodeEEWord : Lan::CodeEEByte;
    return size == 2 ? Lan::CodeRamWord : Lan::CodeRamByte;
}

} // namespace

std::optional<uint16_t> TMestraIF::LanIdentify(uint8_t unit)
{
    // Data bytes are left as earlier messages left them: the unit ignores
    // them. One attempt only: silence is the answer "no unit here".
    LanMessage[Lan::DestinationByte] = unit;
    LanMessage[Lan::CommandByte] = Lan::Command(Lan::KindRead, 0);
    LanMessage[Lan::CodeByte] = Lan::CodeIdentify;
    try {
        SendLanMessageOnce(LanMessage);
    } catch (const EPelkLANTimeout&) {
        return std::nullopt;
    }
    return Lan::DataWord(LanMessage, 0);
}

uint16_t TMestraIF::LanRead(uint16_t address, bool ee, int size)
{
    LanMessage[Lan::DestinationByte] = Unit;
    LanMessage[Lan::CommandByte] = Lan::Command(Lan::KindRead, 0);
    LanMessage[Lan::CodeByte] = memoryCode(ee, size);
    Lan::SetDataWord(LanMessage, 0, address);
    SendLanMessage(LanMessage);
    // A reply for another address is not retried: the unit answered, but
    // not this question.
    if (Lan::DataWord(LanMessage, 0) != address)
        throw EPelkLANMsg();
    return size == 2 ? Lan::DataWord(LanMessage, 2) : LanMessage[Lan::DataByte + 2];
}

void TMestraIF::LanWrite(uint16_t value, uint16_t address, bool ee, int size)
{
    LanMessage[Lan::DestinationByte] = Unit;
    LanMessage[Lan::CommandByte] = Lan::Command(Lan::KindWrite, 0);
    LanMessage[Lan::CodeByte] = memoryCode(ee, size);
    Lan::SetDataWord(LanMessage, 0, address);
    if (size == 2)
        Lan::SetDataWord(LanMessage, 2, value);
    else
        LanMessage[Lan::DataByte + 2] = uint8_t(value);
    SendLanMessage(LanMessage);
    if (Lan::DataWord(LanMessage, 0) != address)
        throw EPelkLANMsg();
}

void TMestraIF::LanRequest(uint8_t code, uint8_t subCode, TLanMessage& message)
{
    message[Lan::DestinationByte] = Unit;
    message[Lan::CommandByte] = Lan::Command(Lan::KindRead, subCode);
    message[Lan::CodeByte] = code;
    SendLanMessage(message);
}

void TMestraIF::SendLanMessage(TLanMessage& message)
{
    // A failed attempt leaves the buffer holding whatever came back (an
    // unexpected reply, a changed control byte); sending that again would
    // ask the wrong question. Every attempt starts from the caller's message.
    const TLanMessage request = message;
    for (int32_t triesLeft = LanRetries;; --triesLeft) {
        message = request;
        try {
            SendLanMessageOnce(message);
            return;
        } catch (const EPelkLANTimeout&) {
            if (triesLeft <= 0)
                throw;
        } catch (const EPelkLANMsg&) {
            if (triesLeft <= 0)
                throw;
        }
    }
}

void TMestraIF::SendLanMessageOnce(TLanMessage& message)
{
    if (LanBufferAddress == 0)
        throw EPelkOpFailure();
    const TLanMessage request = message;
    PostLanMessage(message);
    WaitLanTaken(message);
    if (!Lan::WantsReply(Lan::Kind(request)))
        return;
    WaitLanReply(message);
    ReadMem(message.data(), LanBufferAddress, uint16_t(message.size()), false);
    if (!Lan::AnswersRequest(message, request))
        throw EPelkLANMsg();
    InterfaceAddress = message[Lan::DestinationByte] & Lan::AddressMask;
}

void TMestraIF::PostLanMessage(TLanMessage& message)
{
    // The whole message goes in with a 0 control byte, so the interface unit
    // cannot send it half written; the single 0xFF that follows sends it.
    message[Lan::ControlByte] = 0;
    WriteMem(message.data(), LanBufferAddress, uint16_t(message.size()), false);
    message[Lan::ControlByte] = Lan::SendNow;
    WriteMem(message.data(), LanBufferAddress, 1, false);
}

void TMestraIF::WaitLanTaken(TLanMessage& message)
{
    // Each read is a framed request on the line, so this loop waits on the
    // line, not on the processor. The deadline is tested after every read,
    // the one that shows the message taken included.
    TLinkTimer limit;
    limit.StartAt(Tick(), LanTimeout);
    do {
        ReadLanControl(message);
        if (limit.ExpiredAt(Tick()))
            throw EPelkLANTimeout();
    } while (message[Lan::ControlByte] == Lan::SendNow);
}

void TMestraIF::WaitLanReply(TLanMessage& message)
{
    Delay(LanPollInterval);
    TLinkTimer limit;
    limit.StartAt(Tick(), LanTimeout);
    for (;;) {
        ReadLanControl(message);
        if (message[Lan::ControlByte] != 0)
            return;
        if (limit.ExpiredAt(Tick()))
            throw EPelkLANTimeout();
        Delay(LanPollInterval);
        ++LanPolls;
    }
}

void TMestraIF::ReadLanControl(TLanMessage& message)
{
    ReadMem(&message[Lan::ControlByte], LanBufferAddress, 1, false);
}

} // namespace Pelk
