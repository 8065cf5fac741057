#pragma once
// The logger interface: the logger memory model plus everything that talks to
// the data logger through the link: opening it, reading its blocks, sending
// its commands, reading its clock and current readings, and keeping long
// logging intervals on a fixed grid of the local clock. The status text,
// progress and status callback are how logger jobs report their steps.
//
// The logger lives in the interface unit, so every access here is to the
// interface unit's own memory, whichever unit the link has selected for
// other work.
#include "base/MessageFlags.h"
#include "logger/Log1.h"
#include "logger/LogTime.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TSite;
struct TLogInfo;

// The timer value that puts the logger's next entry 60 s after a multiple of
// `interval` counted from local midnight, or nothing when the logger's timer
// is within 30 s of that already. `secondOfDay` is the local time of day.
std::optional<std::uint16_t> IntervalSynchTimer(std::uint16_t interval, std::uint16_t timer,
                                                std::uint32_t secondOfDay);

class TLogIF : public TLog1 {
public:
    static constexpr std::uint32_t CommandTimeoutMs = 4000;
    static constexpr std::uint32_t CommandPollPauseMs = 20;
    static constexpr std::uint16_t MinSynchInterval = 300; // shorter intervals run free
    static constexpr std::uint32_t SynchTolerance = 30;
    static constexpr std::uint32_t SynchPhase = 60;

    explicit TLogIF(Pelk::TMestraIF& link);
    ~TLogIF() override;

    // False when the interface unit has no logger, or one the model cannot
    // hold; the logger is then closed.
    bool Open();
    void Close();
    bool IsOpen() const { return open_; }

    void ReadConfig();
    void ReadControl();
    // Writes the command image and waits, at most CommandTimeoutMs, for the
    // logger to clear the command byte. A logger that never does is not an
    // error: the next step simply goes ahead.
    void SendCommand();
    void Hold(std::uint8_t parameter);
    void ReadCommandBlock();
    void ReadClock();
    void CalcEntryTimes();
    void SynchInterval();
    bool ReadReadings();
    // A snapshot of the logger's status, counts and clocks
    // (logger/LogInfo.cpp).
    void GetInfo(TLogInfo& info);
    const std::vector<std::uint16_t>& Readings() const { return readings_; }

    // --- Download (logger/LogDownload.cpp). `fileName` names the previous
    // download's file (or is empty) and, on return, the file that now holds
    // the log; new files are made in `folder` (with its trailing separator,
    // or empty for the current folder). True when the log was saved;
    // DownloadFailure tells why not, and `fileName` is left as it was: a
    // file never written is no one's log. Link errors are passed on after the
    // link is reset and logging released.
    bool Download(QString& fileName, const QString& folder);
    void OpenLog(const QString& fileName);
    // Buffer bytes from index `from` to `to` inclusive, wrapping at the end.
    void ReadBuffer(int from, int to);
    bool CanAppend() const;
    bool CheckContinuity();
    bool MergePrevious();
    bool SaveLog(const QString& fileName);

    // --- Changing the logger (logger/LogUpload.cpp).
    // Puts a question to the user and returns the button chosen.
    using AskHook = std::function<int(const QString& text, const QString& caption, int flags)>;

    // Writes a configuration made from the site's devices and logging
    // options and restarts logging with it. False when the logger could not
    // be opened or the user declined a space warning.
    bool UploadConfig(const TSite& site, const AskHook& ask);
    // One device list from `position` on, `step` bytes an entry; returns the
    // number of entries stored (at most 255) and leaves `position` after the
    // list.
    int FillDevices(const TSite& site, std::uint8_t typeByte, int& position, int step);
    // The sensor type of each sensor in the list, from `position` on; false
    // when they did not all fit.
    bool FillSensorTypes(const TSite& site, int& position);
    // Sets the logger's clock to the PC's local time.
    bool SetTime();
    // Restarts logging, which clears the log.
    bool Restart();

    void SetStatus(const QString& text);
    const QString& StatusText() const { return StatusTextValue; }

    QString StatusTextValue;
    std::unique_ptr<TLogIF> PreviousLog; // only during a download
    std::uint32_t BytesRead = 0;
    std::uint32_t NewEntriesFound = 0;
    std::uint8_t DownloadFailure = 0; // a TLogDownloadFailure
    bool ReleaseOwed = false; // a broken-off download could not release logging
    std::int32_t Progress = -1; // percent; -1: no progress value
    QString LogFileExtension = "LOG";
    std::function<void()> StatusCallback;
    TLogTimeSource Time;

protected:
    Pelk::TMestraIF& Link() { return link_; }
    void RequireOpen() const;

private:
    void ReadRam(std::uint8_t* buffer, std::uint16_t address, std::uint16_t length);
    bool ReadConfigData();
    bool ReadControlData();
    void WriteCommandCode(std::uint8_t code);
    void DownloadSteps(QString& fileName, const QString& folder, bool& saved);
    void SetReadProgress();
    void SendOwedRelease();
    bool SpaceAccepted(const TSite& site, const AskHook& ask);
    int FillConfigLists(const TSite& site);
    void WriteConfigBlock(int length);

    Pelk::TMestraIF& link_;
    std::vector<std::uint16_t> readings_;
    bool open_ = false;
};

} // namespace Quorvel1
