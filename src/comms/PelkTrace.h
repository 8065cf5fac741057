#pragma once
// The link's trace file: a time-stamped record of every byte on the link,
// every status text and every link error. There is one trace per process,
// shared by everything that uses the link; the program opens it at connect
// ("QW1Pelk.txt" in the program folder) when the "PelkLog" setting is on, and
// the link's Close closes it.
//
// Layout: every text line begins with a line break and the time since the
// file was opened, "mmmm:ss.mmm text". Bytes follow a direction label line
// ("T" sent, "R" received), each as " %02X", until the direction changes or a
// text line comes between.
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>

namespace Pelk {

// Directions of traced bytes; a text line counts as direction 0.
constexpr int TraceReceived = -1;
constexpr int TraceTextLine = 0;
constexpr int TraceSent = 1;

class TPelkTrace {
public:
    static constexpr const char* FileName = "QW1Pelk.txt";
    static constexpr const char* OpenedLine = "\nLog opened ******************************";

    using TickSource = std::function<uint32_t()>;

    explicit TPelkTrace(TickSource tick = {});
    ~TPelkTrace();
    TPelkTrace(const TPelkTrace&) = delete;
    TPelkTrace& operator=(const TPelkTrace&) = delete;

    // The process-wide trace used by the link and its exceptions.
    static TPelkTrace& Process();

    // Opens `fileName` for appending (created if missing). A file that cannot
    // be opened leaves tracing off, without an error. A trace already open is
    // closed first, so reopening never leaks the earlier file.
    void Open(const QString& fileName);
    void Close();
    bool IsOpen() const;

    void Line(const QString& text);
    // The same, made into text only when the trace is open: the link writes
    // its fixed lines for every request.
    void Line(const char* text);
    void Bytes(int direction, const uint8_t* bytes, std::size_t count);
    // Text written as it stands, with no stamp (the timing test's tables).
    void RawText(const QString& text);

    // "mmmm:ss.mmm" for an elapsed time; the minutes wrap at 10000.
    static QString Stamp(uint32_t elapsedMs);

private:
    void writeLine(const QString& text);
    void write(const QByteArray& text);

    TickSource tick_;
    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    // Whether file_ is set, readable without the lock: with the trace
    // closed, the bytes and lines of every request cost no lock.
    std::atomic<bool> open_{false};
    uint32_t openedAt_ = 0;
    int lastDirection_ = TraceTextLine;
};

// The process-wide trace, as the rest of the program reaches it.
void OpenTrace(const QString& fileName);
void CloseTrace();
bool TraceIsOpen();
void TraceLine(const QString& text);
void TraceLine(const char* text);
void TraceBytes(int direction, const uint8_t* bytes, std::size_t count);
void TraceRaw(const QString& text);

} // namespace Pelk
