#include "SimModem.h"

#include <algorithm>
#include <cctype>

namespace SiteSim {

namespace {

constexpr uint8_t Cr = '\r';
constexpr uint8_t Lf = '\n';
constexpr uint8_t Plus = '+';
constexpr int EscapeLength = 3;

} // namespace

SimModem::SimModem(SimModemSettings settings, DataReceiver data)
    : settings_(std::move(settings)), data_(std::move(data))
{
}

SimModem::Bytes SimModem::framed(const std::string& text)
{
    const std::string line = "\r\n" + text + "\r\n";
    return Bytes(line.begin(), line.end());
}

SimModem::Bytes SimModem::Receive(uint8_t byte, TimePoint at)
{
    switch (mode_) {
    case Mode::Data:
        return onDataByte(byte, at);
    case Mode::Dialling:
        if (byte == Lf)
            return {};
        // A key pressed while dialling abandons the call.
        mode_ = Mode::Command;
        dialResultAt_ = TimePoint::max();
        return framed("NO CARRIER");
    case Mode::Command:
    case Mode::OnlineCommand:
        break;
    }
    return onCommandByte(byte, at);
}

SimModem::Bytes SimModem::onCommandByte(uint8_t byte, TimePoint at)
{
    Bytes out;
    if (echo_)
        out.push_back(byte);
    if (byte == Lf)
        return out;
    if (byte != Cr) {
        line_.push_back(char(byte));
        return out;
    }
    const std::string line = line_;
    line_.clear();
    const std::string result = execute(line, at);
    if (!result.empty()) {
        const Bytes answer = framed(result);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

SimModem::Bytes SimModem::onDataByte(uint8_t byte, TimePoint at)
{
    const bool silentBefore = at - lastDataAt_ >= settings_.Guard;
    if (byte == Plus && ((pluses_ == 0 && silentBefore) || (pluses_ > 0 && pluses_ < EscapeLength && !silentBefore))) {
        ++pluses_;
        if (pluses_ == EscapeLength)
            escapeAt_ = at + settings_.Guard;
    } else {
        pluses_ = 0;
        escapeAt_ = TimePoint::max();
    }
    lastDataAt_ = at;
    return data_ ? data_(byte, at) : Bytes();
}

std::string SimModem::execute(const std::string& rawLine, TimePoint at)
{
    std::string line;
    for (char c : rawLine) {
        if (c != ' ')
            line.push_back(char(std::toupper(static_cast<unsigned char>(c))));
    }
    if (line.empty())
        return {};
    if (line.size() < 2 || line.compare(0, 2, "AT") != 0)
        return "ERROR";
    std::string result = "OK";
    for (std::size_t i = 2; i < line.size();) {
        if (!executeOne(line, i, at, result))
            return "ERROR";
    }
    return result;
}

bool SimModem::executeOne(const std::string& command, std::size_t& at, TimePoint now, std::string& result)
{
    const char letter = command[at++];
    const auto digit = [&]() -> int {
        if (at < command.size() && std::isdigit(static_cast<unsigned char>(command[at])))
            return command[at++] - '0';
        return 0;
    };
    const bool inCall = mode_ == Mode::OnlineCommand;
    switch (letter) {
    case 'Z':
        digit();
        echo_ = true;
        return true;
    case '&':
        if (at >= command.size() || command[at] != 'F')
            return false;
        ++at;
        digit();
        echo_ = true;
        return true;
    case 'E':
        echo_ = digit() != 0;
        return true;
    case 'H':
        digit();
        mode_ = Mode::Command;
        dropAt_ = TimePoint::max();
        return true;
    case 'O':
        digit();
        if (!inCall)
            return false;
        mode_ = Mode::Data;
        lastDataAt_ = now;
        result = "CONNECT";
        return true;
    case 'D':
        if (inCall)
            return false;
        number_.clear();
        for (; at < command.size(); ++at) {
            if (command[at] != 'T' && command[at] != 'P')
                number_.push_back(command[at]);
        }
        mode_ = Mode::Dialling;
        dialResultAt_ = now + settings_.Delay;
        result.clear();
        return true;
    case 'V':
    case 'Q':
    case 'X':
    case 'L':
    case 'M':
        digit();
        return true;
    default:
        return false;
    }
}

SimModem::Bytes SimModem::Tick(TimePoint now)
{
    Bytes out;
    if (mode_ == Mode::Dialling && now >= dialResultAt_) {
        dialResultAt_ = TimePoint::max();
        const bool reached = settings_.Number.empty() || number_ == settings_.Number;
        const std::string answer = reached ? settings_.Answer : std::string("NO ANSWER");
        if (answer == "CONNECT") {
            mode_ = Mode::Data;
            lastDataAt_ = now;
            pluses_ = 0;
            if (settings_.DropAfter.count() > 0)
                dropAt_ = now + settings_.DropAfter;
        } else {
            mode_ = Mode::Command;
        }
        out = framed(answer);
    }
    if (mode_ == Mode::Data && pluses_ == EscapeLength && now >= escapeAt_) {
        mode_ = Mode::OnlineCommand;
        pluses_ = 0;
        escapeAt_ = TimePoint::max();
        const Bytes ok = framed("OK");
        out.insert(out.end(), ok.begin(), ok.end());
    }
    if (now >= dropAt_) {
        const Bytes dropped = HangUpFarEnd();
        out.insert(out.end(), dropped.begin(), dropped.end());
    }
    return out;
}

SimModem::TimePoint SimModem::NextEvent() const
{
    TimePoint next = std::min(dropAt_, mode_ == Mode::Dialling ? dialResultAt_ : TimePoint::max());
    if (mode_ == Mode::Data && pluses_ == EscapeLength)
        next = std::min(next, escapeAt_);
    return next;
}

SimModem::Bytes SimModem::HangUpFarEnd()
{
    dropAt_ = TimePoint::max();
    if (mode_ != Mode::Data && mode_ != Mode::OnlineCommand)
        return {};
    mode_ = Mode::Command;
    pluses_ = 0;
    escapeAt_ = TimePoint::max();
    return framed("NO CARRIER");
}

} // namespace SiteSim
