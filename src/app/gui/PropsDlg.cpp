#include "app/gui/PropsDlg.h"

#include "app/ConnectSequence.h"
#include "app/gui/DlgModems.h"
#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "modem/TapiModem.h"
#include "serial/ModemPorts.h"
#include "serial/PortName.h"
#include "settings/Properties.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace Quorvel1 {

namespace {

// A time-out in whole seconds, 0 or more; false for any other text.
bool ParseModemTimeout(const QString& text, int32_t& seconds)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0)
        return false;
    seconds = value;
    return true;
}

QString TimeoutErrorText(const QString& text)
{
    return QStringLiteral("'%1' is not a valid time-out: enter whole seconds, 0 for no limit")
        .arg(text);
}

} // namespace

TPropsDlg::TPropsDlg(TProperties& settings, TTapiModem* modem, QWidget* parent)
    : QDialog(parent), settings_(settings), modem_(modem)
{
    setWindowTitle(QString::fromLatin1(Caption));
    setModal(true);
    // A dialog border with only the system menu: no help or size buttons.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);

    pcProps = new QTabWidget(this);
    pcProps->setObjectName(QStringLiteral("pcProps"));
    tsComms = BuildCommsPage();
    tsPaths = BuildPathsPage();
    tsMisc = new QWidget;
    tsMisc->setObjectName(QStringLiteral("tsMisc"));
    pcProps->addTab(tsComms, tr("Comms"));
    pcProps->addTab(tsPaths, tr("Paths"));
    pcProps->addTab(tsMisc, tr("Misc"));
    pcProps->setTabVisible(pcProps->indexOf(tsMisc), false);
    connect(pcProps, &QTabWidget::currentChanged, this, [this] {
        if (pcProps->currentWidget() == tsPaths) {
            lblErrLog->setVisible(true);
            edErrLog->setVisible(true);
        }
    });

    buttOk = new QPushButton(tr("OK"), this);
    buttOk->setObjectName(QStringLiteral("buttOk"));
    buttOk->setDefault(true);
    buttCancel = new QPushButton(tr("Cancel"), this);
    buttCancel->setObjectName(QStringLiteral("buttCancel"));
    buttHelp = new QPushButton(tr("&Help"), this);
    buttHelp->setObjectName(QStringLiteral("buttHelp"));
    buttHelp->setVisible(false);
    connect(buttOk, &QPushButton::clicked, this, &TPropsDlg::accept);
    connect(buttCancel, &QPushButton::clicked, this, &TPropsDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buttOk);
    buttons->addWidget(buttCancel);
    buttons->addWidget(buttHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcProps, 1);
    layout->addLayout(buttons);
    resize(ClientWidth, ClientHeight);
}

TPropsDlg::~TPropsDlg() = default;

QWidget* TPropsDlg::BuildCommsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsComms"));
    auto* grid = new QGridLayout(page);

    cbModemDevs = new QComboBox(page);
    cbModemDevs->setObjectName(QStringLiteral("cbModemDevs"));
    // Only a choice of the user's changes the device; filling the list does not.
    connect(cbModemDevs, &QComboBox::activated, this, &TPropsDlg::ModemDeviceChosen);
    buttModemConfig = new QPushButton(tr("Configure..."), page);
    buttModemConfig->setObjectName(QStringLiteral("buttModemConfig"));
    connect(buttModemConfig, &QPushButton::clicked, this, &TPropsDlg::ConfigureModem);
    edDialPrefix = new QLineEdit(page);
    edDialPrefix->setObjectName(QStringLiteral("edDialPrefix"));
    edDialSuffix = new QLineEdit(page);
    edDialSuffix->setObjectName(QStringLiteral("edDialSuffix"));
    edModemTimeout = new QLineEdit(page);
    edModemTimeout->setObjectName(QStringLiteral("edModemTimeout"));
    edModemTimeout->installEventFilter(this);

    cbLocalPort = new QComboBox(page);
    cbLocalPort->setObjectName(QStringLiteral("cbLocalPort"));
    cbLocalPort->setEditable(true);
    cbLocalPort->setInsertPolicy(QComboBox::NoInsert);
    connect(cbLocalPort, &QComboBox::currentTextChanged, this, &TPropsDlg::ShowPortProblem);
    lblPortProblem = new QLabel(page);
    lblPortProblem->setObjectName(QStringLiteral("lblPortProblem"));
    lblPortProblem->setWordWrap(true);
    lblPortProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    lblPortProblem->setVisible(false);
    Button1 = new QPushButton(tr("Modems..."), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TPropsDlg::ShowModems);

    grid->addWidget(new QLabel(tr("Default"), page), 0, 0);
    grid->addWidget(new QLabel(tr("Modem:"), page), 1, 0);
    grid->addWidget(cbModemDevs, 1, 1, 1, 3);
    grid->addWidget(buttModemConfig, 1, 4);
    grid->addWidget(new QLabel(tr("Dial prefix:"), page), 2, 0);
    grid->addWidget(edDialPrefix, 2, 1);
    grid->addWidget(new QLabel(tr("Suffix:"), page), 2, 2);
    grid->addWidget(edDialSuffix, 2, 3);
    grid->addWidget(new QLabel(tr("Timeout:"), page), 3, 0);
    grid->addWidget(edModemTimeout, 3, 1);
    grid->addWidget(new QLabel(tr("seconds"), page), 3, 2);
    grid->addWidget(new QLabel(tr("Local port"), page), 4, 0);
    grid->addWidget(cbLocalPort, 4, 1, 1, 3);
    grid->addWidget(Button1, 4, 4);
    grid->addWidget(lblPortProblem, 5, 0, 1, 5);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* TPropsDlg::BuildPathsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsPaths"));
    auto* grid = new QGridLayout(page);
    edSitesPath = new QLineEdit(page);
    edSitesPath->setObjectName(QStringLiteral("edSitesPath"));
    cbAutoSave = new QCheckBox(tr("&Auto-save sites"), page);
    cbAutoSave->setObjectName(QStringLiteral("cbAutoSave"));
    lblErrLog = new QLabel(tr("Auto mode (error) log file:"), page);
    edErrLog = new QLineEdit(page);
    edErrLog->setObjectName(QStringLiteral("edErrLog"));
    // Shown with the page.
    lblErrLog->setVisible(false);
    edErrLog->setVisible(false);

    grid->addWidget(new QLabel(tr("Site(s) directory:"), page), 0, 0);
    grid->addWidget(edSitesPath, 1, 0);
    grid->addWidget(cbAutoSave, 2, 0);
    grid->addWidget(lblErrLog, 3, 0);
    grid->addWidget(edErrLog, 4, 0);
    grid->setRowStretch(5, 1);
    return page;
}

int TPropsDlg::Execute()
{
    LoadFields();
    pcProps->setCurrentWidget(tsComms);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

// The stored settings, read by a settings object of the dialog's own: the
// program's cached values stay as they are until OK.
void TPropsDlg::LoadFields()
{
    const TProperties stored(settings_.ProgramDir);
    edSitesPath->setText(stored.SitesPath);
    edErrLog->setText(stored.ErrorLog);
    edModemTimeout->setText(QString::number(stored.ModemTimeout));
    edDialPrefix->setText(stored.DialPrefix);
    edDialSuffix->setText(stored.DialSuffix);
    modemDevice_ = stored.ModemDevice;
    FillModemDevices();
    FillLocalPorts(stored.LocalPort);
    cbAutoSave->setChecked(stored.AutoSave);
}

// The modem's devices, each with its index. A stored device beyond the list
// (a modem unplugged since) is shown by its number and kept unless the user
// chooses another.
void TPropsDlg::FillModemDevices()
{
    cbModemDevs->clear();
    const QStringList names = modem_ ? modem_->DeviceNames : QStringList();
    if (names.isEmpty()) {
        cbModemDevs->addItem(QString::fromLatin1(NoDevicesText), modemDevice_);
        cbModemDevs->setCurrentIndex(0);
        cbModemDevs->setEnabled(false);
        buttModemConfig->setEnabled(false);
        return;
    }
    cbModemDevs->setEnabled(true);
    buttModemConfig->setEnabled(true);
    for (qsizetype i = 0; i < names.size(); ++i)
        cbModemDevs->addItem(names[i], int(i));
    if (modemDevice_ < 0 || modemDevice_ >= names.size())
        cbModemDevs->addItem(tr("Modem %1 (not present)").arg(modemDevice_), modemDevice_);
    cbModemDevs->setCurrentIndex(cbModemDevs->findData(modemDevice_));
}

// The Windows names first, then the machine's serial ports with what the
// system knows of them, then the stored port when it is none of these (a
// pseudo-terminal, a port unplugged since): it stays chosen until the user
// changes it.
void TPropsDlg::FillLocalPorts(const QString& stored)
{
    cbLocalPort->clear();
    for (const QString& name : WindowsPorts) {
        cbLocalPort->addItem(name, name);
        cbLocalPort->setItemData(cbLocalPort->count() - 1, Pelk::PortDevicePath(name), Qt::ToolTipRole);
    }
    for (const QString& path : SystemSerialPorts())
        cbLocalPort->addItem(SerialPortDisplayName(path), path);
    int chosen = cbLocalPort->findData(stored);
    if (chosen < 0 && !stored.isEmpty()) {
        cbLocalPort->addItem(stored, stored);
        chosen = cbLocalPort->count() - 1;
    }
    cbLocalPort->setCurrentIndex(chosen);
    if (chosen < 0)
        cbLocalPort->setEditText(stored);
    ShowPortProblem();
}

QString TPropsDlg::ChosenPort() const
{
    const int item = cbLocalPort->currentIndex();
    if (item >= 0 && cbLocalPort->currentText() == cbLocalPort->itemText(item))
        return cbLocalPort->itemData(item).toString();
    return cbLocalPort->currentText().trimmed();
}

// A port this user may not open is told at once, with the remedy ("COM1"
// stands for the device it opens).
void TPropsDlg::ShowPortProblem()
{
    const QString problem = SerialPortAccessProblem(Pelk::PortDevicePath(ChosenPort()));
    lblPortProblem->setText(problem);
    lblPortProblem->setVisible(!problem.isEmpty());
}

void TPropsDlg::ModemDeviceChosen(int item)
{
    if (item >= 0)
        modemDevice_ = cbModemDevs->itemData(item).toInt();
}

// The chosen device's configuration file is read (a missing one leaves the
// device's configuration as it is), edited and written back.
void TPropsDlg::ConfigureModem()
{
    if (!modem_)
        return;
    const QString file = ProgramFolder() + QLatin1String(TConnectSequence::ModemConfigBaseName)
                         + QString::number(modemDevice_)
                         + QLatin1String(TConnectSequence::ModemConfigExt);
    try {
        modem_->SetDevice(uint32_t(modemDevice_));
        try {
            modem_->ReadConfigFile(file);
        } catch (const Exception&) {
            // No file yet: the device's current configuration is edited.
        }
        modem_->ConfigDialog();
        modem_->WriteConfigFile(file);
    } catch (const Exception& e) {
        QMessageBox::critical(this, QString::fromLatin1(ConfigFailureCaption), e.Message());
    }
}

void TPropsDlg::ShowModems()
{
    if (!dlgModems_)
        dlgModems_ = new TDlgModems(this);
    dlgModems_->exec();
}

// Leaving the time-out field with a text that is no time-out keeps the focus
// there with the text selected; a good one is written back plainly ("007"
// becomes "7").
bool TPropsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edModemTimeout && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking the focus (a message box) is not leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible())
            QTimer::singleShot(0, this, &TPropsDlg::TimeoutLeft);
    }
    return QDialog::eventFilter(watched, event);
}

void TPropsDlg::TimeoutLeft()
{
    int32_t seconds = 0;
    if (!ParseModemTimeout(edModemTimeout->text(), seconds)) {
        if (isVisible()) {
            edModemTimeout->setFocus(Qt::OtherFocusReason);
            edModemTimeout->selectAll();
        }
        return;
    }
    edModemTimeout->setText(QString::number(seconds));
}

bool TPropsDlg::FieldsValid()
{
    int32_t seconds = 0;
    if (!ParseModemTimeout(edModemTimeout->text(), seconds)) {
        pcProps->setCurrentWidget(tsComms);
        QMessageBox::warning(this, QString::fromLatin1(Caption),
                             TimeoutErrorText(edModemTimeout->text()));
        edModemTimeout->setFocus(Qt::OtherFocusReason);
        edModemTimeout->selectAll();
        return false;
    }
    if (ChosenPort().isEmpty()) {
        pcProps->setCurrentWidget(tsComms);
        QMessageBox::warning(this, QString::fromLatin1(Caption), tr("Choose the local port."));
        cbLocalPort->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

// The last site and the trace setting are the program's, not the dialog's:
// they are saved as the program holds them.
void TPropsDlg::StoreFields()
{
    int32_t seconds = 0;
    ParseModemTimeout(edModemTimeout->text(), seconds);
    settings_.ModemDevice = modemDevice_;
    settings_.ModemTimeout = seconds;
    settings_.LocalPort = ChosenPort();
    settings_.DialPrefix = edDialPrefix->text();
    settings_.DialSuffix = edDialSuffix->text();
    settings_.SitesPath = edSitesPath->text();
    settings_.ErrorLog = edErrLog->text();
    settings_.AutoSave = cbAutoSave->isChecked();
    settings_.Save();
}

void TPropsDlg::accept()
{
    if (!FieldsValid())
        return;
    StoreFields();
    QDialog::accept();
}

} // namespace Quorvel1
