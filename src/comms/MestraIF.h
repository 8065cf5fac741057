#pragma once
// The link to the interface unit. Every exchange with the site is a read or a
// write of the interface unit's memory: the PC sends a framed request with a
// checksum, the interface unit answers with an acknowledgement and, for a
// read, the data and their checksum. Units across the site's LAN are reached
// through a message buffer in the interface unit's memory.
//
// One thread at a time uses a link: the UI thread for connect and the timing
// test, the job runner's worker for jobs. Abort and RequestBreak may come from
// the UI thread while the worker is inside a transfer.
#include "comms/LanMessage.h"
#include "comms/LinkClock.h"
#include "comms/LinkWaiter.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace Pelk {

class TSerialLine;

class TMestraIF {
public:
    // Frame bytes of the request/acknowledge protocol.
    static constexpr uint8_t FrameStart = 0x01;
    static constexpr uint8_t Ack = 0x06;
    static constexpr uint8_t Nak = 0x15;
    static constexpr uint8_t CommandWrite = 0x01; // command bit 0: write, else read
    static constexpr uint8_t CommandEE = 0x02;    // command bit 1: EEPROM space, else RAM/ROM
    static constexpr uint8_t ReadBodyLength = 4;  // command, address, count
    static constexpr uint8_t WriteBodyOverhead = 3; // command and address before the data

    // Block sizes: the count and LEN fields are one byte each.
    static constexpr uint16_t DefaultMaxReadBlock = 252;
    static constexpr uint16_t DefaultMaxWriteBlock = 16;
    static constexpr uint16_t ReadBlockLimit = 255;
    static constexpr uint16_t WriteBlockLimit = 252;
    static constexpr uint32_t EEBlockBaudLimit = 4800; // EEPROM writes 4 bytes at or below, 1 above
    static constexpr uint16_t EESlowBlock = 4;

    // The interface unit's descriptor table, in RAM/ROM.
    static constexpr uint16_t AlarmTableSlot = 0x2FF8;
    static constexpr uint16_t LinkDescriptorSlot = 0x2FFA;
    static constexpr uint16_t LoggerDescriptorSlot = 0x2FFC;
    static constexpr uint16_t DescriptorCountAddress = 0x2FFE;
    static constexpr uint8_t DescriptorVersionMajor = 1; // high byte of a valid version
    static constexpr uint16_t UnitTypeAddress = 0x7FFE;   // type word of a unit, RAM/ROM
    static constexpr uint16_t IdentityAddress = 0x0000;   // identity word, EEPROM

    // Reset handshake.
    static constexpr int ResetAttempts = 10;
    static constexpr int ResetZeroCount = 32;
    static constexpr int ResetTraceDrain = 80;
    static constexpr uint32_t ResetPause = 100;
    static constexpr uint8_t ResetProbe[3] = {0x01, 0x02, 0x03}; // a frame with a bad complement

    // LAN messages: the reply is first looked for this long after the message
    // was taken, then polled for at this interval.
    static constexpr uint32_t LanPollInterval = 50;

    static constexpr uint32_t DefaultBaudRate = 4800;
    static constexpr uint32_t MinBaudRate = 110;
    static constexpr uint32_t MaxBaudRate = 115200;

    static constexpr const char* NoPortText = "Mestra link: no port is open";
    static constexpr const char* NoLanBufferText =
        "The interface unit has no LAN buffer: the timing test cannot run";

    using LineFactory = std::function<std::unique_ptr<TSerialLine>(const QString& name, uint32_t baudRate)>;

    // `clock` is the tick and wait source; the system clock when none is given.
    // The creating thread becomes the owner thread (the UI thread).
    TMestraIF();
    explicit TMestraIF(TLinkClock& clock);
    ~TMestraIF();
    TMestraIF(const TMestraIF&) = delete;
    TMestraIF& operator=(const TMestraIF&) = delete;

    // --- Raw transfer. All raise EPelkUserAbort while the abort flag is set.
    void WriteBytes(const uint8_t* buffer, std::size_t length);
    void ReadBytes(uint8_t* buffer, std::size_t length);
    int ReadByteOrTimeout(); // 0..255, or -1 when the read timed out
    void Delay(uint32_t ms);

    // The memory a transfer reads or writes: the `ee` argument below.
    static constexpr bool Ram = false;
    static constexpr bool Ee = true;

    // --- Framed memory access of the interface unit; blocks are retried
    // after a reset, up to MaxRetries failed blocks per call.
    uint16_t ReadMem(uint8_t* buffer, uint16_t address, uint16_t length, bool ee);
    uint16_t WriteMem(const uint8_t* buffer, uint16_t address, uint16_t length, bool ee);

    // Thread-safe. Abort makes the transfer in progress and every later one
    // raise EPelkUserAbort until Reset; it also ends a pending wait at once.
    void Abort();
    void RequestBreak();
    void ClearBreak();
    bool IsAborted() const { return AbortFlag.load(); }

    // --- Connection.
    void SetTimeouts(const QString& text);
    void SetBaudRate(int32_t baud);
    // A handle of -1 opens the named port; otherwise the open descriptor (a
    // modem call's data port) is adopted with its line settings as they are.
    void Open(int handle, const QString& name);
    // Takes over a line made elsewhere (a test's scripted line).
    void Open(std::unique_ptr<TSerialLine> line);
    // How named ports are opened; the termios port unless replaced.
    void SetLineFactory(LineFactory factory);
    void Close();
    bool IsOpen() const;
    bool Connect();
    void Disconnect();
    void Reset();
    // Also false once a modem call's carrier is gone: the job runner then
    // stops and every command fails at once, until the line is opened again.
    bool IsConnected() const { return IdentityWord != 0 && !carrierLost_.load(); }
    // The line is dead: a whole reset sequence has failed on it, or its
    // carrier is gone. Later resets then fail at once with the link error
    // until the line is opened again (or, with the carrier still there,
    // connected anew).
    bool LineDead() const { return lineDead_.load(); }
    bool CarrierLost() const { return carrierLost_.load(); }
    uint16_t GetDescriptor(uint16_t slotAddress) const;
    void TimeLink();

    void SetStatus(const QString& text);
    QString GetStatus() const { return Status; }

    // --- Unit addressing (unit 0 is the interface unit itself).
    bool SelectUnit(uint8_t unit, bool identify);
    uint8_t ReadByte(uint16_t address, bool ee);
    uint16_t ReadWord(uint16_t address, bool ee);
    uint8_t WriteByte(uint8_t value, uint16_t address, bool ee);
    uint16_t WriteWord(uint16_t value, uint16_t address, bool ee);

    // --- LAN messages (layout in comms/LanMessage.h); the reply comes back
    // in the caller's buffer. All raise EPelkOpFailure at once when the
    // interface unit offers no LAN buffer.
    // A request of kind 4 with `code` and `subCode` to the selected unit.
    void LanRequest(uint8_t code, uint8_t subCode, TLanMessage& message);
    // Up to LanRetries + 1 attempts while the unit times out or gives an
    // unexpected reply; each attempt sends the message as the caller built it.
    void SendLanMessage(TLanMessage& message);
    // One attempt. A command (kind 6) ends once the interface unit has taken
    // it; requests and writes wait for their reply and check it.
    void SendLanMessageOnce(TLanMessage& message);

    uint32_t Tick() const { return clock_->Tick(); }

    // --- Fields.
    uint8_t Unit = 0;
    uint16_t LanTimeout = 3000;
    uint16_t ResetTimeout = 5000;
    uint16_t OpBaseTimeout = 2000;
    uint16_t ByteTime = 10;
    uint16_t ReadExtraTimeout = 500;
    uint16_t WriteTimeout = 500;
    int32_t LanRetries = 2;
    int32_t MaxRetries = 5;
    uint16_t UnitType = 0;
    uint16_t IdentityWord = 0;  // 0 = not connected
    int32_t InterfaceAddress = -1;
    int32_t ChecksumErrors = 0;
    int32_t Resets = 0;
    int32_t LanPolls = 0;
    TLanMessage LanMessage{};
    std::optional<std::array<uint16_t, 4>> DescriptorTable;
    uint16_t DescriptorCount = 0;
    uint16_t DescriptorVersion = 0;
    uint16_t MaxWriteBlock = DefaultMaxWriteBlock;
    uint16_t MaxReadBlock = DefaultMaxReadBlock;
    uint16_t LanBufferAddress = 0; // 0 = no LAN access
    bool TimingMode = false;
    uint32_t ChkTime = 0;
    uint32_t AckTime = 0;
    uint32_t BaudRate = DefaultBaudRate;
    std::function<void()> OnStatus;
    // The line has just been found dead (LineDead): called once, on the
    // thread that uses the link. The program takes the connection down from
    // there, and hangs up a call whose carrier is gone.
    std::function<void()> OnLineDead;

private:
    // Request frame.
    void SendHeader(uint8_t length, uint8_t command, uint16_t address);
    void SendChecksum();
    void WaitAck();
    void CheckChecksum(const uint8_t* received);
    void SendByte(uint8_t value);
    // Adds bytes to the request being built (and to the running sum);
    // SendChecksum sends the whole request.
    void QueueBytes(const uint8_t* bytes, std::size_t length);
    void QueueByte(uint8_t value);
    // Raw transfers: traced, not summed.
    void TransmitBytes(const uint8_t* buffer, std::size_t length);
    void ReceiveBytes(uint8_t* buffer, std::size_t length);
    void ReadBlock(uint8_t* buffer, uint16_t address, uint8_t count, bool ee);
    void WriteBlock(const uint8_t* buffer, uint16_t address, uint8_t count, bool ee);
    uint16_t WriteBlockSize(bool ee) const;
    uint16_t ReadBlockSize() const;
    template <typename Block>
    uint16_t TransferInBlocks(uint16_t length, uint16_t blockSize, Block block);
    [[noreturn]] void RaiseNoTransfer();
    TSerialLine& OpenLine();
    void AddToRunningSum(const uint8_t* bytes, std::size_t length);

    // Connection.
    void ResetOnce();
    bool ReadDescriptor();
    void UseDefaultDescriptor();
    void ClearAbort();
    void ApplyLineTimeouts(TSerialLine& line) const;
    void AdoptLine(std::unique_ptr<TSerialLine> line);
    void ReleasePort();
    void CarrierGone();
    void MarkLineDead();

    // Units across the LAN; the interface unit's own memory needs none of this.
    std::optional<uint16_t> LanIdentify(uint8_t unit);
    uint16_t LanRead(uint16_t address, bool ee, int size);
    void LanWrite(uint16_t value, uint16_t address, bool ee, int size);
    void PostLanMessage(TLanMessage& message);
    void WaitLanTaken(TLanMessage& message);
    void WaitLanReply(TLanMessage& message);
    void ReadLanControl(TLanMessage& message);

    TLinkTimer OpTimer;
    uint16_t RunningSum = 0;
    // The request frame being built: start, length and complement, the body
    // of at most 255 bytes, the checksum.
    std::array<uint8_t, 3 + 255 + 2> RequestFrame{};
    std::size_t RequestLength = 0;
    std::unique_ptr<TSerialLine> Port;
    QString Status;
    std::atomic<bool> AbortFlag{false};
    std::atomic<bool> BreakFlag{false};
    std::atomic<bool> lineDead_{false};
    std::atomic<bool> carrierLost_{false};
    const std::thread::id OwnerThread;
    // Stands in for the overlapped-I/O events: the waits of Delay end on it.
    TLinkWaiter Waiter;

    std::unique_ptr<TLinkClock> ownClock_;
    TLinkClock* clock_;
    LineFactory lineFactory_;
    mutable std::mutex portMutex_; // Abort (any thread) against Open/Close
};

} // namespace Pelk
