#include "modem/gui/ModemConfigDialog.h"

#include "modem/TapiModem.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPointer>

namespace Quorvel1 {

namespace {

// 0 stands for the site's own link speed.
const uint32_t Speeds[] = {0, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

} // namespace

bool EditModemConfig(QWidget* parent, TModemConfig& config)
{
    QDialog dialog(parent);
    dialog.setWindowTitle("Modem configuration");
    auto* form = new QFormLayout(&dialog);
    auto* edInit = new QLineEdit(config.Init, &dialog);
    auto* edDial = new QLineEdit(config.Dial, &dialog);
    auto* cbSpeed = new QComboBox(&dialog);
    for (uint32_t speed : Speeds)
        cbSpeed->addItem(speed == 0 ? QString("Site speed") : QString::number(speed), speed);
    if (cbSpeed->findData(config.Speed) < 0)
        cbSpeed->addItem(QString::number(config.Speed), config.Speed);
    cbSpeed->setCurrentIndex(cbSpeed->findData(config.Speed));
    form->addRow("Init command", edInit);
    form->addRow("Dial command", edDial);
    form->addRow("Speed", cbSpeed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    config.Init = edInit->text().trimmed();
    config.Dial = edDial->text().trimmed();
    config.Speed = cbSpeed->currentData().toUInt();
    return true;
}

void InstallModemConfigDialog(TTapiModem& modem, QWidget* parent)
{
    // The window may go before the modem does.
    QPointer<QWidget> owner(parent);
    modem.OnConfigDialog = [owner](TModemConfig& config) { return EditModemConfig(owner.data(), config); };
}

} // namespace Quorvel1
