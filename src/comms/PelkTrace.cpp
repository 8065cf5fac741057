#include "comms/PelkTrace.h"

#include "comms/LinkClock.h"

#include <QFile>

namespace Pelk {

namespace {

const char* directionLabel(int direction)
{
    if (direction < 0)
        return "R";
    return direction > 0 ? "T" : "X";
}

} // namespace

TPelkTrace::TPelkTrace(TickSource tick) : tick_(tick ? std::move(tick) : TickSource(MonotonicTick)) {}

TPelkTrace::~TPelkTrace()
{
    Close();
}

TPelkTrace& TPelkTrace::Process()
{
    static TPelkTrace trace;
    return trace;
}

void TPelkTrace::Open(const QString& fileName)
{
    std::lock_guard lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = std::fopen(QFile::encodeName(fileName).constData(), "a");
    open_ = file_ != nullptr;
    openedAt_ = tick_();
    lastDirection_ = TraceTextLine;
    write(OpenedLine);
}

void TPelkTrace::Close()
{
    std::lock_guard lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    open_ = false;
}

bool TPelkTrace::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

void TPelkTrace::Line(const QString& text)
{
    if (!open_)
        return;
    std::lock_guard lock(mutex_);
    writeLine(text);
}

void TPelkTrace::Line(const char* text)
{
    if (open_)
        Line(QString::fromUtf8(text));
}

void TPelkTrace::Bytes(int direction, const uint8_t* bytes, std::size_t count)
{
    if (!open_)
        return;
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    if (direction != lastDirection_)
        writeLine(directionLabel(direction));
    static constexpr char Hex[] = "0123456789ABCDEF";
    QByteArray text(qsizetype(count * 3), ' ');
    for (std::size_t i = 0; i < count; ++i) {
        text[qsizetype(i * 3 + 1)] = Hex[bytes[i] >> 4];
        text[qsizetype(i * 3 + 2)] = Hex[bytes[i] & 0x0F];
    }
    write(text);
    lastDirection_ = direction;
}

void TPelkTrace::RawText(const QString& text)
{
    std::lock_guard lock(mutex_);
    write(text.toUtf8());
    lastDirection_ = TraceTextLine;
}

QString TPelkTrace::Stamp(uint32_t elapsedMs)
{
    return QString("%1:%2.%3")
        .arg(elapsedMs / 60000 % 10000, 4, 10, QChar('0'))
        .arg(elapsedMs / 1000 % 60, 2, 10, QChar('0'))
        .arg(elapsedMs % 1000, 3, 10, QChar('0'));
}

void TPelkTrace::writeLine(const QString& text)
{
    if (!file_)
        return;
    write(("\n" + Stamp(tick_() - openedAt_) + " " + text).toUtf8());
    lastDirection_ = TraceTextLine;
}

void TPelkTrace::write(const QByteArray& text)
{
    if (!file_)
        return;
    // Write errors are ignored: the trace is a diagnostic and must never
    // break the link. Each piece is flushed so the file is complete even if
    // the program ends abruptly.
    std::fwrite(text.constData(), 1, std::size_t(text.size()), file_);
    std::fflush(file_);
}

void OpenTrace(const QString& fileName)
{
    TPelkTrace::Process().Open(fileName);
}

void CloseTrace()
{
    TPelkTrace::Process().Close();
}

bool TraceIsOpen()
{
    return TPelkTrace::Process().IsOpen();
}

void TraceLine(const QString& text)
{
    TPelkTrace::Process().Line(text);
}

void TraceLine(const char* text)
{
    TPelkTrace::Process().Line(text);
}

void TraceBytes(int direction, const uint8_t* bytes, std::size_t count)
{
    TPelkTrace::Process().Bytes(direction, bytes, count);
}

void TraceRaw(const QString& text)
{
    TPelkTrace::Process().RawText(text);
}

} // namespace Pelk
