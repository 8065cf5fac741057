#pragma once
// The user's program settings: every setting with its default, declared once
// as a binding over the registry back-end, and the current values cached for
// the rest of the program. Nothing reaches the store until Save.
#include "settings/IniBindings.h"
#include "settings/RegIni.h"

#include <QByteArray>

namespace Quorvel1 {

class TProperties {
public:
    static constexpr const char* KeyPath = "Software\\Mestra Apps\\Quorvel\\Settings";
    // The main window keeps its state and position in this section.
    static constexpr const char* WindowSection = "TFQw";

    // `fileName` is accepted for the controller's call and not used: the
    // settings live in the registry store.
    explicit TProperties(const QString& programDir, const QString& fileName = QString());
    TProperties(const TProperties&) = delete;
    TProperties& operator=(const TProperties&) = delete;

    // Reads every setting into its cached value (the properties dialog calls
    // this each time it opens).
    void Load();
    // Writes every cached value to the store.
    void Save();

    TIniExt& Store() { return store_; }

    // Opaque window layout (state, geometry) under the window's section,
    // written at once; empty when none is stored.
    QByteArray ReadWindowData(const QString& key) const;
    void WriteWindowData(const QString& key, const QByteArray& data);

private:
    TRegIni store_;
    TIniSection comms_;
    TIniSection paths_;
    TIniString sitesPath_;
    TIniString localPort_;
    TIniString errorLog_;
    TIniString dialPrefix_;
    TIniString dialSuffix_;
    TIniString lastSite_;
    TIniInt modemDevice_;
    TIniInt modemTimeout_;
    TIniBool pelkLog_;
    TIniBool autoSave_;

public:
    // The program's folder, ending with "/".
    QString ProgramDir;

    QString SitesPath;    // first folder of the site open and save dialogs
    QString LocalPort;    // serial port of a local connection
    QString ErrorLog;     // file of the error and event log
    QString DialPrefix;   // put before a site's telephone number when dialling
    QString DialSuffix;   // put after it
    QString LastSite;     // site file opened last, opened again at start-up
    int32_t ModemDevice = 0;  // modem device used when the site names none
    int32_t ModemTimeout = 0; // seconds before an unfinished connection is dropped; 0 = no limit
    bool PelkLog = false;     // write the link trace file at each connect
    bool AutoSave = true;     // save the site without asking
};

} // namespace Quorvel1
