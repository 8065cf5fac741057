#pragma once
// The work of connecting to a site, shared by the connect dialog and the
// unattended run: dial when the site is remote, open the serial port, connect
// the link, open the logger and attach the site's devices to the logger's
// device table. It leaves three results: the call is up, the link is
// connected, the logger answered. When the connection does not come up,
// everything it opened is closed again.
#include <QString>

#include <cstdint>
#include <functional>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TLogIF;
class TProperties;
class TSiteExt;
class TTapiModem;

class TConnectSequence {
public:
    static constexpr const char* TimeoutText = "Timeout - aborting call";
    // The modem configuration file of a device: "ModemCfg" + device + ".dat"
    // in the program folder.
    static constexpr const char* ModemConfigBaseName = "ModemCfg";
    static constexpr const char* ModemConfigExt = ".dat";

    using ReportHook = std::function<void(const QString& message)>;

    // `reportError` shows a failure to the user (the controller's ReportError).
    // `modem` is null when the program has no modem.
    TConnectSequence(Pelk::TMestraIF& link, TLogIF& logger, TSiteExt& site,
                     const TProperties& settings, TTapiModem* modem, ReportHook reportError);
    ~TConnectSequence();
    TConnectSequence(const TConnectSequence&) = delete;
    TConnectSequence& operator=(const TConnectSequence&) = delete;

    // Forgets the results of an earlier attempt.
    void Begin(bool remote);

    // The whole attempt: dial (remote only), open and connect the link, and
    // close everything again unless it all came up. An exception while the
    // link is opened or connected leaves here with the port possibly still
    // open; the caller reports it and ends the attempt with CloseLink.
    void Run();
    // The attempt for a caller without a window: the connect procedure
    // (ConnectProcedure.h) with its time-out, waiting in a local event loop
    // until it ends. An exception is reported and the attempt closed down,
    // so the results simply say "not connected".
    void RunReporting();

    // Dials the site through the modem; a failure is reported and gives
    // false. The call's data port is kept for OpenLink.
    bool Dial();
    bool OpenLink();
    // Closes the logger, the link and a modem call. Not while an attempt is
    // in progress (from inside its waits): that one is stopped with
    // Interrupt and closed once it has returned.
    void CloseLink();
    // Ends the waits of an attempt in progress without freeing what they
    // still use: the link's disconnect sets its abort flag, and the modem's
    // abort ends a dial that is still waiting.
    void Interrupt();
    // CloseLink for the paths that are already failing: its own errors would
    // only hide the first one.
    void CloseLinkQuietly();

    // The status of whichever part is working: the modem's while a remote
    // call is not up, the link's until it is connected, then the logger's.
    QString StatusText() const;
    // Calls `changed` whenever the modem's, the link's or the logger's status
    // text changes;
    // an empty function removes the callbacks again. They must be removed
    // before the job runner uses the link, whose status then changes on the
    // worker thread.
    void WatchStatus(const std::function<void()>& changed);

    // The modem device to dial with: the site's, or the settings' default
    // when the site names none.
    int32_t DialDevice() const;
    // The dial prefix, the site's telephone number and the dial suffix.
    QString DialNumber() const;
    // Seconds after which the dialog gives the attempt up: the "ModemTimeout"
    // setting, or UnattendedLimit when the setting sets none (0 or less);
    // 0 never.
    int32_t ModemTimeout() const;

    // The bound of an attempt in an automatic run when the "ModemTimeout"
    // setting sets none: nobody is there to press Cancel, and a modem that
    // never answers the dial would otherwise keep the run, and the launch
    // file its supervisor waits for, for ever. Ample for a dial, a link
    // reset that fails (about a minute) and the logger.
    static constexpr int32_t UnattendedConnectLimitS = 120;
    // The bound in use; 0 (the window's case) leaves "ModemTimeout" 0
    // unbounded.
    int32_t UnattendedLimit = 0;

    bool Remote = false;
    bool ModemUp = false;       // the modem call is connected
    bool Connected = false;     // the link is connected
    bool LoggerPresent = false; // the logger answered after the connect
    bool TimedOut = false;      // the dialog's time-out stopped the attempt
    // The call's data port (a descriptor this object owns until the link's
    // Open takes it); -1 for a local connection.
    int CommHandle = -1;

private:
    void ReportError(const QString& message) const;
    void DropCommHandle();

    Pelk::TMestraIF& link_;
    TLogIF& logger_;
    TSiteExt& site_;
    const TProperties& settings_;
    TTapiModem* modem_;
    ReportHook reportError_;
};

} // namespace Quorvel1
