#pragma once
// The modem configuration dialog: the device's init command, dial command
// and port speed. The modem reaches it through its OnConfigDialog hook.
#include "modem/ModemConfigFile.h"

class QWidget;

namespace Quorvel1 {

class TTapiModem;

// Shows the dialog over `parent` with `config`; on OK stores the edits in
// `config` and returns true.
bool EditModemConfig(QWidget* parent, TModemConfig& config);

// Makes `modem`'s ConfigDialog show this dialog over `parent`.
void InstallModemConfigDialog(TTapiModem& modem, QWidget* parent);

} // namespace Quorvel1
