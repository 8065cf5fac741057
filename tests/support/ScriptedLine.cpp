#include "support/ScriptedLine.h"

#include "support/ManualClock.h"

#include <sstream>

namespace QuorvelTest {

ScriptedLine& ScriptedLine::Expect(Bytes bytes)
{
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Expect, std::move(bytes)});
    return *this;
}

ScriptedLine& ScriptedLine::Reply(Bytes bytes)
{
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Reply, std::move(bytes)});
    return *this;
}

ScriptedLine& ScriptedLine::Silence(int reads)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < reads; ++i)
        script_.push_back({Kind::Silence, {}});
    return *this;
}

ScriptedLine& ScriptedLine::Hang()
{
    std::lock_guard lock(mutex_);
    script_.push_back({Kind::Hang, {}});
    return *this;
}

Bytes ScriptedLine::Written() const
{
    std::lock_guard lock(mutex_);
    return written_;
}

std::vector<std::string> ScriptedLine::Mismatches()
{
    std::lock_guard lock(mutex_);
    passCheckpoints();
    return mismatches_;
}

bool ScriptedLine::Finished()
{
    std::lock_guard lock(mutex_);
    passCheckpoints();
    return script_.empty();
}

int ScriptedLine::Purges() const
{
    std::lock_guard lock(mutex_);
    return purges_;
}

int ScriptedLine::ErrorClears() const
{
    std::lock_guard lock(mutex_);
    return errorClears_;
}

Pelk::SerialTimeouts ScriptedLine::Timeouts() const
{
    std::lock_guard lock(mutex_);
    return timeouts_;
}

void ScriptedLine::WaitUntilHanging()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return hanging_; });
}

void ScriptedLine::SetTimeouts(const Pelk::SerialTimeouts& timeouts)
{
    std::lock_guard lock(mutex_);
    timeouts_ = timeouts;
}

// Checkpoints at the front of the script are compared with what was written
// since the previous one. A checkpoint waits while fewer bytes were written
// than it expects, since the link may still be sending.
void ScriptedLine::passCheckpoints()
{
    while (!script_.empty() && script_.front().kind == Kind::Expect) {
        const Bytes& expected = script_.front().bytes;
        const Bytes actual(written_.begin() + std::ptrdiff_t(checkedUpTo_), written_.end());
        if (actual != expected)
            mismatches_.push_back("expected [" + HexText(expected) + "] written [" + HexText(actual) + "]");
        checkedUpTo_ = written_.size();
        script_.pop_front();
    }
}

std::size_t ScriptedLine::timeOut(std::size_t length)
{
    if (clock_)
        clock_->Advance(uint32_t(timeouts_.ReadPerByte * length + timeouts_.ReadConstant));
    return 0;
}

std::size_t ScriptedLine::Read(uint8_t* buffer, std::size_t length)
{
    std::unique_lock lock(mutex_);
    if (cancelled_)
        return 0;
    passCheckpoints();
    std::size_t count = 0;
    while (count < length && !script_.empty() && script_.front().kind == Kind::Reply) {
        Bytes& reply = script_.front().bytes;
        while (count < length && !reply.empty()) {
            buffer[count++] = reply.front();
            reply.erase(reply.begin());
        }
        if (reply.empty())
            script_.pop_front();
    }
    if (count > 0)
        return count; // a short reply ends as a real read would, on the byte interval
    if (script_.empty())
        return timeOut(length);
    const Kind next = script_.front().kind;
    if (next == Kind::Hang) {
        script_.pop_front();
        hanging_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return cancelled_; });
        hanging_ = false;
        return 0;
    }
    if (next == Kind::Silence)
        script_.pop_front();
    return timeOut(length);
}

std::size_t ScriptedLine::Write(const uint8_t* buffer, std::size_t length)
{
    std::lock_guard lock(mutex_);
    if (cancelled_)
        return 0;
    written_.insert(written_.end(), buffer, buffer + length);
    return length;
}

void ScriptedLine::Purge()
{
    std::lock_guard lock(mutex_);
    ++purges_;
}

void ScriptedLine::ClearErrors()
{
    std::lock_guard lock(mutex_);
    ++errorClears_;
}

void ScriptedLine::Cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    changed_.notify_all();
}

void ScriptedLine::ClearCancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = false;
}

void ScriptReset(ScriptedLine& line)
{
    line.Expect(Bytes(32, 0x00)).Silence().Expect({0x01, 0x02, 0x03}).Reply({0x15});
}

Bytes Hex(const std::string& text)
{
    Bytes bytes;
    std::istringstream in(text);
    std::string item;
    while (in >> item)
        bytes.push_back(uint8_t(std::stoul(item, nullptr, 16)));
    return bytes;
}

std::string HexText(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

} // namespace QuorvelTest
