#pragma once
// The modem that dials a remote site: a Hayes AT-command modem on a serial
// port. Dial opens the port, sends the device's init command and the dial
// command with the number, follows the modem's answers as call states, and
// on CONNECT hands the open port to the link as the call's data port.
// HangUp escapes to command mode with "+++" between guard times, sends ATH,
// drops DTR where the line has it and closes the port.
//
// The devices are the ports of the "Modems/Ports" setting, or else the
// system's serial ports that have a device behind them. Each device keeps
// its configuration (init and dial commands, port speed) in the file
// "ModemCfg<device>.dat" in the program folder.
//
// Every wait keeps the caller's event loop running and ends on Abort (or on
// a HangUp from inside the loop).
#include "modem/ModemConfigFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Pelk {
class TSerialPort;
}

namespace Quorvel1 {

class TTapiModem {
public:
    static constexpr const char* PortsSection = "Modems";
    static constexpr const char* PortsKey = "Ports";
    static constexpr const char* DefaultConfigFileName = "TapiModem.cfg";
    static constexpr const char* InvalidDeviceText = "TAPI: Invalid TAPI device";
    static constexpr const char* OpenLineText = "TAPI: Couldn't open line";
    static constexpr const char* MakeCallText = "TAPI: Couldn't make call";
    static constexpr const char* ConnectCallText = "TAPI: Couldn't connect call";
    static constexpr const char* DropCallText = "TAPI: Couldn't drop call";
    static constexpr const char* CloseLineText = "TAPI: Couldn't close line";
    static constexpr const char* EditConfigText = "TAPI: Couldn't edit TAPI config for device";
    static constexpr const char* OpenConfigText = "TAPI: Couldn't open config file";
    static constexpr const char* CommHandleText = "Couldn't get comm handle";

    // How long the modem may take over a command answer, and the silence
    // around "+++" (the modem's S12, 1 s by default).
    struct Timings {
        std::chrono::milliseconds CommandReply{10000};
        std::chrono::milliseconds EscapeGuard{1100};
    };

    TTapiModem();
    ~TTapiModem();
    TTapiModem(const TTapiModem&) = delete;
    TTapiModem& operator=(const TTapiModem&) = delete;

    // The devices from the "Modems/Ports" setting of the program's settings
    // store, or the system's serial ports when the setting is empty.
    void Initialise();
    // The devices are exactly `ports` (device paths).
    void Initialise(const QStringList& ports);

    void SetDevice(uint32_t index) { Device = index; }
    // The site's link speed, used by a device whose Speed is 0.
    void SetLinkSpeed(uint32_t baud) { linkSpeed_ = baud; }
    void SetTimings(const Timings& timings) { timings_ = timings; }

    // Places the call and waits until it is connected; on failure hangs up
    // and raises Quorvel1::Exception.
    void Dial(const QString& number);
    // Ends the call and closes the port; raises the first failure after
    // everything is released. Inside a Dial's wait it only ends the dial.
    void HangUp();
    // Ends any wait of Dial or HangUp at once. Safe from inside the waits.
    void Abort();
    // The connected call has dropped by itself (the far end hung up, the
    // line lost its carrier; the link that carries it saw it): the status
    // becomes "Disconnected" and the modem hangs itself up, releasing its
    // port. The status stays "Disconnected", which is how the call ended;
    // a later HangUp has nothing left to do. Failures are not raised: the
    // call is over either way.
    void CallDropped();

    void GetDevConfig();
    void SetDevConfig();
    void ConfigDialog();
    void ReadConfigFile(const QString& name = QString());
    void WriteConfigFile(const QString& name = QString());

    QString GetStatus() const { return Status; }
    // A descriptor of the call's data port that the caller owns (the link's
    // Open closes it); -1 when no call is connected.
    int CommHandle() const;

    // The device object's configuration (what SetDevConfig gave it).
    const TModemConfig& DeviceConfig(uint32_t index) const;
    const QStringList& DevicePorts() const { return devicePorts_; }

    uint32_t Device = 0;
    uint32_t DeviceCount = 0;
    QByteArray DevConfig; // DevConfigSize bytes, the device configuration structure
    uint32_t CallState = 0;
    bool CallConnected = false;
    bool CallDisconnected = false;
    bool CallIdle = true;
    QStringList DeviceNames;
    QString Status;
    std::function<void()> OnStatus;
    // Lets the user edit a configuration; false when the user cancels. The
    // windowing side installs it (comms/gui/ModemConfigDialog.h).
    std::function<bool(TModemConfig&)> OnConfigDialog;

    // Call states, as the telephony interface numbers them.
    enum : uint32_t {
        StateIdle = 0x1,
        StateDialing = 0x20,
        StateBusy = 0x100,
        StateConnected = 0x200,
        StateProceeding = 0x400,
        StateDisconnected = 0x4000,
        StateUnknown = 0x8000,
    };

private:
    enum class Reply { Ok, Connect, Busy, NoCarrier, Error, None };

    void requireDevice() const;
    void setState(uint32_t state, const QString& text);
    uint32_t portSpeed() const;
    void openPort();
    void closePort();
    void send(const QByteArray& text);
    // The next result line of the modem within `within`; None on time-out
    // or abort. Echoed commands and unknown lines are skipped.
    Reply awaitReply(std::chrono::milliseconds within);
    // Lets `duration` pass with the event loop running, noting a NO CARRIER
    // the modem sends meanwhile; false on abort.
    bool quietFor(std::chrono::milliseconds duration, bool& carrierLost);
    bool readLine(QByteArray& line, std::chrono::steady_clock::time_point deadline);
    void dialSteps(const QString& number);
    bool endCall();
    bool releaseLine();
    bool sendHangUpCommand();

    static constexpr int HangUpAttempts = 2;

    QStringList devicePorts_;
    std::vector<TModemConfig> configs_;
    std::unique_ptr<Pelk::TSerialPort> port_;
    QByteArray pending_; // received bytes not yet a whole line
    Timings timings_;
    uint32_t linkSpeed_ = 4800;
    int portFd_ = -1;       // the port's descriptor, owned by port_
    bool dialling_ = false;
    bool dialPending_ = false; // the dial command is out and unanswered
    bool hangingUp_ = false;
    bool aborted_ = false;
};

} // namespace Quorvel1
