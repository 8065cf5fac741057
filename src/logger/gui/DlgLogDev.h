#pragma once
// The log device editor ("Log Device"): edits the site's devices one at a
// time, straight in the site's list. Next, Prev and New store the form and
// move on; a new device starts from the device shown (its values, name
// included) or from a class's defaults when another class is chosen. Every
// store checks that the name is given and no other device has it, and that
// the address is one the logger can record: the logger's configuration reads
// a sensor or output byte of 0xFF (unit 31, channel 8) and an ASM word of
// unit 0 as empty entries, so such a device would never be logged.
#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace Quorvel1 {

class TDev;
class TSiteExt;

class TDlgLogDev : public QDialog {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Log Device");
    static inline const QString NewDeviceText = QStringLiteral("NEW DEVICE");
    static inline const QString NameError = QStringLiteral("Duplicate or empty name");
    static inline const QString EmptyEntryError =
        QStringLiteral("The logger reads this address as an empty entry: "
                       "choose another unit or channel");
    static inline const QString AsmUnitError =
        QStringLiteral("The logger reads an ASM of unit 0 as an empty entry: choose unit 1 or above");
    static inline const QString InitialName = QStringLiteral("NewDevice");
    static constexpr int MaxAirspace = 15; // 4 bits of the address
    static constexpr int MaxMessage = 127; // 7 bits of the address

    TDlgLogDev(TSiteExt& site, QWidget* parent = nullptr);

    // Edits the site's devices from `index` (the device count starts with a
    // new device): marks the site changed and shows the form modally.
    int Edit(int index);
    // What Edit does before the form shows: without the modal loop, for tests.
    void Start(int index);

    int CurrentIndex() const { return current_; }
    // True while the form shows a stored device.
    bool Loaded() const { return loaded_; }
    std::uint8_t ShownClass() const { return shownClass_; }

    // The form's actions (the buttons call them).
    bool StoreForm();
    void Next();
    void Prev();
    void New();
    void Delete();
    void ChooseClass(int radioIndex);
    void accept() override;

private:
    void Build();
    bool ShowDevice(int index);
    void FillFrom(const TDev& device);
    void StartNewDevice(std::uint8_t devClass);
    void EnableFor(std::uint8_t devClass);
    bool Refuse(const QString& message);
    QString AddressError() const;
    bool NameTaken(const QString& name) const;

    TSiteExt& site_;
    int current_ = -1;
    bool loaded_ = false;
    std::uint8_t shownClass_ = 0;

    QLineEdit* edName = nullptr;
    QLabel* lblNewEdit = nullptr;
    QGroupBox* rgDevCat = nullptr;
    QButtonGroup* devCat_ = nullptr;
    QGroupBox* gbDevAddr = nullptr;
    QSpinBox* seUnit = nullptr;
    QSpinBox* seChan = nullptr;
    QSpinBox* seAirspace = nullptr;
    QSpinBox* seMessage = nullptr;
    QGroupBox* gbDevConversion = nullptr;
    QComboBox* cbType = nullptr;
    QSpinBox* seExponent = nullptr;
    QLineEdit* edUnits = nullptr;
    QGroupBox* rgDevActive = nullptr;
    QButtonGroup* devActive_ = nullptr;
    QPushButton* buttNext = nullptr;
    QPushButton* buttPrev = nullptr;
    QPushButton* buttNew = nullptr;
    QPushButton* buttDelete = nullptr;
    QPushButton* buttOk = nullptr;
    QPushButton* buttCancel = nullptr;
};

} // namespace Quorvel1
