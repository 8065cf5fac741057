#include "logger/gui/DlgLogDev.h"

#include "base/MessageFlags.h"
#include "base/Win1252.h"
#include "base/gui/DialogPlacement.h"
#include "base/gui/MessageBoxes.h"
#include "site/Asm.h"
#include "site/Output.h"
#include "site/SiteExt.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Quorvel1 {

namespace {

constexpr int MaxUnit = 31;
constexpr int ChannelCount = 8;
constexpr int ExponentLimit = 10;
// The byte of a sensor or output entry that the logger reads as empty.
constexpr unsigned EmptyIOAddress = 0xFF;

// The radio index of a class (0x10 output, 0x20 sensor, 0x30 ASM) and back.
int ClassRadio(std::uint8_t devClass)
{
    return devClass / 16 - 1;
}

std::uint8_t RadioClass(int radio)
{
    return std::uint8_t((radio + 1) * 16);
}

QSpinBox* MakeSpin(const char* name, int minimum, int maximum, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    return spin;
}

QGroupBox* MakeRadioGroup(const QString& title, const char* name, const QStringList& items,
                          QButtonGroup*& buttons, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto* row = new QHBoxLayout(group); // three columns
    buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], group);
        buttons->addButton(radio, i);
        row->addWidget(radio);
    }
    return group;
}

} // namespace

TDlgLogDev::TDlgLogDev(TSiteExt& site, QWidget* parent) : QDialog(parent), site_(site)
{
    setObjectName(QStringLiteral("DlgLogDev"));
    setWindowTitle(Caption);
    Build();
}

void TDlgLogDev::Build()
{
    auto* layout = new QVBoxLayout(this);

    auto* nameRow = new QHBoxLayout;
    edName = new QLineEdit(InitialName, this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(TDev::NameLength);
    auto* nameLabel = new QLabel(tr("Na&me"), this);
    nameLabel->setBuddy(edName);
    lblNewEdit = new QLabel(this);
    lblNewEdit->setObjectName(QStringLiteral("lblNewEdit"));
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(edName);
    nameRow->addWidget(lblNewEdit);
    layout->addLayout(nameRow);

    rgDevCat = MakeRadioGroup(tr("Device &Category"), "rgDevCat",
                              {tr("&Output"), tr("&Sensor"), tr("&ASM")}, devCat_, this);
    connect(devCat_, &QButtonGroup::idClicked, this, &TDlgLogDev::ChooseClass);
    layout->addWidget(rgDevCat);

    gbDevAddr = new QGroupBox(tr("Device &Address"), this);
    gbDevAddr->setObjectName(QStringLiteral("gbDevAddr"));
    auto* address = new QFormLayout(gbDevAddr);
    seUnit = MakeSpin("seUnit", 0, MaxUnit, gbDevAddr);
    seChan = MakeSpin("seChan", 1, ChannelCount, gbDevAddr);
    seAirspace = MakeSpin("seAirspace", 0, MaxAirspace, gbDevAddr);
    seMessage = MakeSpin("seMessage", 0, MaxMessage, gbDevAddr);
    address->addRow(tr("Unit"), seUnit);
    address->addRow(tr("Channel"), seChan);
    address->addRow(tr("Airspace"), seAirspace);
    address->addRow(tr("Message"), seMessage);
    layout->addWidget(gbDevAddr);

    gbDevConversion = new QGroupBox(tr("Device Con&version"), this);
    gbDevConversion->setObjectName(QStringLiteral("gbDevConversion"));
    auto* conversion = new QFormLayout(gbDevConversion);
    cbType = new QComboBox(gbDevConversion);
    cbType->setObjectName(QStringLiteral("cbType"));
    seExponent = MakeSpin("seExponent", -ExponentLimit, ExponentLimit, gbDevConversion);
    edUnits = new QLineEdit(gbDevConversion);
    edUnits->setObjectName(QStringLiteral("edUnits"));
    edUnits->setMaxLength(1);
    conversion->addRow(tr("Type"), cbType);
    conversion->addRow(tr("Exponent"), seExponent);
    conversion->addRow(tr("Units"), edUnits);
    layout->addWidget(gbDevConversion);

    rgDevActive = MakeRadioGroup(tr("Ac&tive"), "rgDevActive", {tr("No"), tr("Yes"), tr("Polled")},
                                 devActive_, this);
    layout->addWidget(rgDevActive);

    auto* buttons = new QGridLayout;
    const auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    buttNext = makeButton(tr("&Next"), "buttNext");
    buttPrev = makeButton(tr("&Prev"), "buttPrev");
    buttNew = makeButton(tr("Ne&w"), "buttNew");
    buttDelete = makeButton(tr("&Delete"), "buttDelete");
    buttOk = makeButton(tr("OK"), "buttOk");
    buttOk->setDefault(true);
    buttCancel = makeButton(tr("Cancel"), "buttCancel");
    buttons->addWidget(buttPrev, 0, 0);
    buttons->addWidget(buttNext, 0, 1);
    buttons->addWidget(buttNew, 0, 2);
    buttons->addWidget(buttDelete, 0, 3);
    buttons->addWidget(buttOk, 1, 2);
    buttons->addWidget(buttCancel, 1, 3);
    layout->addLayout(buttons);
    connect(buttNext, &QPushButton::clicked, this, &TDlgLogDev::Next);
    connect(buttPrev, &QPushButton::clicked, this, &TDlgLogDev::Prev);
    connect(buttNew, &QPushButton::clicked, this, &TDlgLogDev::New);
    connect(buttDelete, &QPushButton::clicked, this, &TDlgLogDev::Delete);
    connect(buttOk, &QPushButton::clicked, this, &TDlgLogDev::accept);
    connect(buttCancel, &QPushButton::clicked, this, &TDlgLogDev::reject);
}

int TDlgLogDev::Edit(int index)
{
    Start(index);
    CentreOverMainWindow(*this);
    return exec();
}

void TDlgLogDev::Start(int index)
{
    current_ = index;
    site_.SetModified(true);
    if (!ShowDevice(current_))
        StartNewDevice(0);
}

bool TDlgLogDev::ShowDevice(int index)
{
    if (index < 0 || index >= int(site_.Devices.size()))
        return false;
    loaded_ = true;
    FillFrom(*site_.Devices[std::size_t(index)]);
    return true;
}

void TDlgLogDev::FillFrom(const TDev& device)
{
    shownClass_ = DevClassOf(device.DevType());
    const bool isAsm = shownClass_ == DevClassAsm;
    edName->setText(device.NameText());
    devCat_->button(ClassRadio(shownClass_))->setChecked(true);
    seUnit->setValue(int(device.UnitNo()));
    seChan->setValue(int(device.ChannelNo()) + 1);
    seAirspace->setValue(int(device.AirspaceNo()));
    seMessage->setValue(isAsm ? int(static_cast<const TAsm&>(device).MessageNo()) : 0);
    seExponent->setValue(device.Exponent);
    edUnits->setText(DecodeWin1252(QByteArrayView(&device.Units, device.Units ? 1 : 0)));
    if (QAbstractButton* active = devActive_->button(device.Active))
        active->setChecked(true);
    cbType->clear();
    if (shownClass_ == DevClassOutput) {
        TOutput kinds;
        for (int kind = kinds.FirstSubtype(); kind <= kinds.LastSubtype(); ++kind) {
            kinds.Subtype = std::uint8_t(kind);
            cbType->addItem(kinds.SubtypeName());
        }
    } else {
        for (int type = 0; type < SensorTypeCount; ++type)
            cbType->addItem(QString::fromLatin1(SensorType(type)->Name));
    }
    cbType->setCurrentIndex(device.Subtype < cbType->count() ? device.Subtype : -1);
    EnableFor(shownClass_);
    edName->setFocus();
    edName->selectAll();
}

void TDlgLogDev::EnableFor(std::uint8_t devClass)
{
    const bool isAsm = devClass == DevClassAsm;
    rgDevCat->setEnabled(!loaded_);
    seChan->setEnabled(!isAsm);
    cbType->setEnabled(!isAsm);
    seAirspace->setEnabled(isAsm);
    seMessage->setEnabled(isAsm);
    seExponent->setEnabled(isAsm);
    edUnits->setEnabled(isAsm);
    buttPrev->setEnabled(current_ > 0);
    buttDelete->setEnabled(loaded_);
    lblNewEdit->setText(loaded_ ? QString() : NewDeviceText);
}

// The device shown is the template of a new one of its class; another class
// starts from that class's defaults, keeping only the name typed.
void TDlgLogDev::StartNewDevice(std::uint8_t devClass)
{
    const bool shown = ShowDevice(current_);
    if (!shown || (devClass != 0 && devClass != shownClass_)) {
        const std::unique_ptr<TDev> defaults =
            TSite::CreateDevice(devClass == 0 ? DevClassOutput : devClass);
        defaults->SetName(edName->text());
        FillFrom(*defaults);
    }
    loaded_ = false;
    EnableFor(shownClass_);
}

bool TDlgLogDev::NameTaken(const QString& name) const
{
    const TDev* self = loaded_ && current_ >= 0 && current_ < int(site_.Devices.size())
        ? site_.Devices[std::size_t(current_)].get()
        : nullptr;
    for (const auto& device : site_.Devices)
        if (device.get() != self && device->NameText() == name)
            return true;
    return false;
}

QString TDlgLogDev::AddressError() const
{
    if (shownClass_ == DevClassAsm)
        return seUnit->value() == 0 ? AsmUnitError : QString();
    const unsigned address = unsigned(seUnit->value()) * ChannelCount + unsigned(seChan->value() - 1);
    return address == EmptyIOAddress ? EmptyEntryError : QString();
}

bool TDlgLogDev::Refuse(const QString& message)
{
    ShowMessageBox(this, message, Caption, MessageFlags::Ok | MessageFlags::IconError);
    return false;
}

bool TDlgLogDev::StoreForm()
{
    // The name as it will be stored, so that two names that differ only
    // beyond ten characters count as one.
    const QString name = edName->text().left(TDev::NameLength);
    if (name.isEmpty() || NameTaken(name)) {
        Refuse(NameError);
        edName->setFocus();
        return false;
    }
    if (const QString error = AddressError(); !error.isEmpty()) {
        Refuse(error);
        seUnit->setFocus();
        return false;
    }
    TDev* device = nullptr;
    if (loaded_) {
        device = site_.Devices[std::size_t(current_)].get();
    } else {
        std::unique_ptr<TDev> created = TSite::CreateDevice(RadioClass(devCat_->checkedId()));
        device = created.get();
        site_.Devices.push_back(std::move(created));
        current_ = int(site_.Devices.size()) - 1;
        loaded_ = true;
    }
    // Nothing chosen in the type list keeps the device's own kind.
    const int type = cbType->currentIndex();
    const QByteArray units = EncodeWin1252(edUnits->text(), 1);
    const int active = devActive_->checkedId();
    device->SetAll(name, unsigned(seUnit->value()), unsigned(seChan->value() - 1),
                   unsigned(seAirspace->value()), unsigned(seMessage->value()),
                   type < 0 ? device->Subtype : std::uint8_t(type), std::int8_t(seExponent->value()),
                   units.isEmpty() ? '\0' : units[0],
                   active < 0 ? device->Active : std::uint8_t(active));
    EnableFor(shownClass_); // a new device is a stored one now
    return true;
}

void TDlgLogDev::Next()
{
    if (!StoreForm())
        return;
    if (current_ < int(site_.Devices.size()) - 1)
        ShowDevice(++current_);
    else
        StartNewDevice(0);
}

void TDlgLogDev::Prev()
{
    if (!StoreForm())
        return;
    if (current_ > 0)
        ShowDevice(--current_);
}

void TDlgLogDev::New()
{
    if (StoreForm())
        StartNewDevice(0);
}

void TDlgLogDev::Delete()
{
    if (!loaded_ || current_ < 0 || current_ >= int(site_.Devices.size()))
        return;
    site_.Devices.erase(site_.Devices.begin() + current_);
    if (current_ >= int(site_.Devices.size()))
        --current_;
    if (!ShowDevice(current_))
        StartNewDevice(0);
}

void TDlgLogDev::ChooseClass(int radioIndex)
{
    if (loaded_ || !rgDevCat->isEnabled())
        return;
    const std::uint8_t devClass = RadioClass(radioIndex);
    if (devClass != shownClass_)
        StartNewDevice(devClass);
    rgDevCat->setFocus();
}

void TDlgLogDev::accept()
{
    if (StoreForm())
        QDialog::accept();
}

} // namespace Quorvel1
