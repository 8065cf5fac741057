// The log download: reads as little of the logger's buffer as it can. When
// the previous download's file still describes the start of what the logger
// holds, only the entries made since are read and, room allowing, appended
// to that file; otherwise the whole buffer goes to a new numbered file.
#include "logger/LogDownload.h"

#include "base/AtomicFile.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "logger/LogFile.h"
#include "logger/LogIF.h"
#include "logger/LogIFException.h"

#include <QFile>

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr std::uint16_t ProgressPlaceholderSize = 100; // until the real buffer size is read

// Ring distance from `from` forwards to `to`.
int RingDistance(int from, int to, int size)
{
    const int distance = to - from;
    return distance < 0 ? distance + size : distance;
}

// The ring range from `a` (included) to `b` (excluded).
bool InRingRange(int position, int a, int b)
{
    return a <= b ? a <= position && position < b : position >= a || position < b;
}

std::uint8_t FailureOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Pelk::EPelkUserBreak&) {
        return LogDlUserBreak;
    } catch (const Pelk::EPelkUserAbort&) {
        // Cancel in the progress dialog aborts the link: that too is the
        // user breaking off the transfer.
        return LogDlUserBreak;
    } catch (...) {
        return LogDlLinkError;
    }
}

} // namespace

void TLogIF::SetReadProgress()
{
    Progress = std::int32_t(std::uint64_t(BytesRead) * 100 / std::max<std::uint16_t>(Control.BufferSize, 1));
}

bool TLogIF::Download(QString& fileName, const QString& folder)
{
    BytesRead = 0;
    Control.BufferSize = ProgressPlaceholderSize;
    SetReadProgress();
    DownloadFailure = LogDlNone;
    bool saved = false;
    try {
        DownloadSteps(fileName, folder, saved);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        DownloadFailure = FailureOf(error);
        // The original error is the one worth reporting; a failing reset or
        // release after it adds nothing.
        try {
            link_.Reset();
        } catch (...) {
        }
        try {
            Hold(LogHoldOff);
        } catch (...) {
            // The line is still down: the release goes out as soon as the
            // logger is opened again, so that logging does not stay held.
            ReleaseOwed = true;
        }
        PreviousLog.reset();
        std::rethrow_exception(error);
    }
    PreviousLog.reset();
    ReleaseOwed = false; // the download released logging itself
    return saved;
}

void TLogIF::DownloadSteps(QString& fileName, const QString& folder, bool& saved)
{
    link_.SelectUnit(0, false);
    RequireOpen();
    OpenLog(fileName);
    Hold(LogHoldOn);
    ReadControl();
    CalcEntryTimes();
    const auto lastValues = LastValuesBytes();
    link_.ReadMem(lastValues.data(), Status.LastValuesAddress, std::uint16_t(lastValues.size()), Pelk::TMestraIF::Ram);

    const bool append = CanAppend();
    bool continuous = false;
    bool merged = false;
    if (append) {
        ReadBuffer(PreviousLog->Control.EndPosition, Control.EndPosition);
        continuous = CheckContinuity();
        merged = continuous && MergePrevious();
    }
    const std::optional<std::uint16_t> number =
        FreeLogFileNumber(folder, link_.IdentityWord, ConfigWord(LogCfgFileNumber), LogFileExtension);
    QString target = fileName;
    if (!merged) {
        if (!append)
            ReadBuffer(Control.StartPosition, Control.EndPosition);
        else if (!continuous)
            ReadBuffer(Control.StartPosition, PreviousLog->Control.EndPosition);
        // With every number taken there is no name that would not overwrite
        // another download's log.
        target = number ? folder + LogFileName(link_.IdentityWord, *number, LogFileExtension) : QString();
    }
    Hold(LogHoldOff);

    if (!CheckLog())
        DownloadFailure = LogDlCorrupt;
    else if (target.isEmpty() || !SaveLog(target))
        DownloadFailure = LogDlSaveFailed;
    else
        saved = true;
    if (saved)
        fileName = target;

    Command.Code |= LogCmdDownloaded; // the release just sent, as "download done"
    SendCommand();
    if (number)
        link_.WriteWord(*number, std::uint16_t(Header.ConfigStart + LogCfgFileNumber), Pelk::TMestraIF::Ee);
    if (saved)
        SynchInterval();
}

void TLogIF::OpenLog(const QString& fileName)
{
    SetStatus("Opening log");
    PreviousLog.reset();
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    auto previous = std::make_unique<TLogIF>(link_);
    if (previous->LoadFromFile(file))
        PreviousLog = std::move(previous);
}

void TLogIF::ReadBuffer(int from, int to)
{
    RequireOpen();
    // Positions come from the logger; one outside the ring would read past
    // the buffer image.
    if (from < 0 || to < 0 || from >= BufferLength || to >= BufferLength)
        throw ELogIFException();
    if (from > to) {
        ReadBuffer(from, BufferLength - 1);
        ReadBuffer(0, to);
        return;
    }
    const int block = std::max<int>(link_.MaxReadBlock, 1);
    int remaining = to - from + 1;
    while (remaining > 0) {
        const int chunk = std::min(remaining, block);
        link_.ReadMem(DataArea.data() + from, std::uint16_t(Control.BufferAddress + from), std::uint16_t(chunk), Pelk::TMestraIF::Ram);
        from += chunk;
        remaining -= chunk;
        BytesRead += std::uint32_t(chunk);
        SetReadProgress();
        SetStatus("Reading log buffer");
    }
}

bool TLogIF::CanAppend() const
{
    if (!PreviousLog || PreviousLog->Control.BufferSize != Control.BufferSize)
        return false;
    for (int offset = 0; offset < ConfigSize; ++offset) {
        const bool ignored = offset >= int(LogCfgFileNumber) && offset < int(LogCfgUnwritten + LogCfgUnwrittenSize);
        if (!ignored && ConfigImage[std::size_t(offset)] != PreviousLog->ConfigImage[std::size_t(offset)])
            return false;
    }
    return StartTime(true) <= PreviousLog->NewestEntryPCTime;
}

bool TLogIF::CheckContinuity()
{
    NewEntriesFound = 0;
    const TLogIF& previous = *PreviousLog;
    // Entries of another width cannot follow on; and with no devices an
    // entry takes no bits, so the walk below would never end.
    if (LoggedDevices == 0 || previous.LoggedDevices != LoggedDevices)
        return false;
    std::vector<std::uint16_t> values(LoggedDevices);
    for (int device = 0; device < LoggedDevices; ++device)
        values[std::size_t(device)] = previous.LastValue(device);
    Decoder = {previous.Control.EndPosition, previous.Control.EndBit};
    const int from = previous.Control.EndPosition;
    const int to = Control.EndPosition;
    // Every entry takes at least a bit: more entries than the ring has bits
    // means the walk jumps over the end of the range and round again.
    const std::uint32_t mostEntries = std::uint32_t(BufferLength) * 8;
    while (InRingRange(Decoder.Byte, from, to)) {
        if (NewEntriesFound >= mostEntries || !DecodeEntry(values))
            return false;
        ++NewEntriesFound;
    }
    if (Decoder != TLogBitPosition{Control.EndPosition, Control.EndBit})
        return false;
    for (int device = 0; device < LoggedDevices; ++device) {
        if (values[std::size_t(device)] != LastValue(device))
            return false;
    }
    return true;
}

bool TLogIF::MergePrevious()
{
    const TLogIF& previous = *PreviousLog;
    const int size = BufferLength;
    const int oldBytes = RingDistance(previous.Control.StartPosition, previous.Control.EndPosition, size);
    const int newBytes = RingDistance(previous.Control.EndPosition, Control.EndPosition, size);
    if (size - oldBytes > newBytes) {
        for (int at = previous.Control.StartPosition; at != previous.Control.EndPosition; at = (at + 1) % size)
            DataArea[std::size_t(at)] = previous.DataArea[std::size_t(at)];
        Status.Entries = std::uint16_t(previous.Status.Entries + NewEntriesFound);
        Control.StartPosition = previous.Control.StartPosition;
        Control.StartBit = previous.Control.StartBit;
        Status.DataLevel = std::uint8_t((oldBytes + newBytes) * 100 / size);
        return true;
    }
    Status.Entries = std::uint16_t(NewEntriesFound);
    Control.StartPosition = previous.Control.EndPosition;
    Control.StartBit = previous.Control.EndBit;
    Status.DataLevel = std::uint8_t(newBytes * 100 / size);
    return false;
}

bool TLogIF::SaveLog(const QString& fileName)
{
    SetStatus("Saving log");
    const std::vector<std::uint8_t> bytes = SerialiseLogFile(*this);
    return ReplaceFileAtomically(fileName, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

} // namespace Quorvel1
