#pragma once
// The properties dialog: the program settings a user edits (the modem device
// and its configuration, dial prefix and suffix, the dial time-out, the local
// port, the sites folder, auto-save and the error log file).
//
// It starts from the stored settings, read into its own fields: values the
// program holds but has not written yet (the last site) stay as they are.
// OK checks every field before it stores any, puts them into the cached
// settings and saves them; Cancel leaves the settings untouched.
#include <QDialog>
#include <QString>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace Quorvel1 {

class TDlgModems;
class TProperties;
class TTapiModem;

class TPropsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Caption = "QuorvelXP - Properties";
    static constexpr int ClientWidth = 452;
    static constexpr int ClientHeight = 290;
    static constexpr const char* NoDevicesText = "No devices available";
    static constexpr const char* ConfigFailureCaption = "Tapi config failure";
    // The ports of the settings made for Windows, offered first; they open
    // the system's first serial ports (the item's tool tip names the device).
    static inline const QStringList WindowsPorts = {"COM1", "COM2", "COM3", "COM4"};

    // `modem` may be null: the program runs without one.
    TPropsDlg(TProperties& settings, TTapiModem* modem, QWidget* parent = nullptr);
    ~TPropsDlg() override;

    // Fills the fields from the stored settings and shows the dialog modally.
    int Execute();

    // The modem device the dialog stands at: the stored one until the user
    // chooses another.
    int32_t ChosenModemDevice() const { return modemDevice_; }
    // The port the dialog stands at: the chosen item's device, or the text
    // typed in.
    QString ChosenPort() const;

    QTabWidget* pcProps = nullptr;
    QWidget* tsComms = nullptr;
    QWidget* tsPaths = nullptr;
    QWidget* tsMisc = nullptr;
    QComboBox* cbModemDevs = nullptr;
    QPushButton* buttModemConfig = nullptr;
    QLineEdit* edDialPrefix = nullptr;
    QLineEdit* edDialSuffix = nullptr;
    QLineEdit* edModemTimeout = nullptr;
    QComboBox* cbLocalPort = nullptr;
    QLabel* lblPortProblem = nullptr;
    QPushButton* Button1 = nullptr; // "Modems..."
    QLineEdit* edSitesPath = nullptr;
    QCheckBox* cbAutoSave = nullptr;
    QLabel* lblErrLog = nullptr;
    QLineEdit* edErrLog = nullptr;
    QPushButton* buttOk = nullptr;
    QPushButton* buttCancel = nullptr;
    QPushButton* buttHelp = nullptr;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildCommsPage();
    QWidget* BuildPathsPage();
    void LoadFields();
    void FillModemDevices();
    void FillLocalPorts(const QString& stored);
    // Checks every field; on the first bad one says why, puts the focus
    // there and returns false.
    bool FieldsValid();
    void StoreFields();
    void ModemDeviceChosen(int item);
    void ConfigureModem();
    void ShowModems();
    void ShowPortProblem();
    void TimeoutLeft();

    TProperties& settings_;
    TTapiModem* modem_;
    TDlgModems* dlgModems_ = nullptr;
    int32_t modemDevice_ = 0;
};

} // namespace Quorvel1
