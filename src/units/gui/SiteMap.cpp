#include "units/gui/SiteMap.h"

#include "base/gui/Colours.h"
#include "settings/IniExt.h"
#include "site/Dev.h"
#include "site/SiteExt.h"
#include "site/SiteMapFile.h"
#include "units/gui/JpegPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr TColor MapFrameAlarm = clRed;
constexpr TColor MapUnitShadow = clGray;
constexpr TColor MapUnitGood = clGreen;
constexpr int MapUnitFontHeight = 12;

// What a device label shows when no device of the site has its name.
const QString MapNoDeviceText = QStringLiteral("---");

} // namespace

// --- TMapObject ------------------------------------------------------------

TMapObject::TMapObject(TSiteMap& map) : QLabel(&map), map_(map)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    // Two more pixels above and below the text leave room for the frame.
    setContentsMargins(1, 2, 1, 2);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    map.AddLabel(this);
}

TMapObject::~TMapObject()
{
    map_.RemoveLabel(this);
}

void TMapObject::SetColour(std::uint32_t colour)
{
    QPalette shades = palette();
    shades.setColor(QPalette::Window, ToQColor(colour));
    shades.setColor(QPalette::WindowText, Qt::black);
    setPalette(shades);
}

void TMapObject::SetName(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    SetValueText(name);
    setToolTip(KindName() + QLatin1Char(' ') + name);
}

void TMapObject::SetValueText(const QString& text)
{
    const QString shown = FormatValue(text);
    if (shown == valueText_)
        return;
    valueText_ = shown;
    setText(QLatin1Char(' ') + shown + QLatin1Char(' '));
    FitSize();
}

void TMapObject::FitSize()
{
    if (!IsUnit())
        adjustSize();
}

void TMapObject::SetAlarm(bool alarm)
{
    if (alarm == alarm_)
        return;
    alarm_ = alarm;
    if (map_.Blink())
        update();
}

void TMapObject::SetX(std::int32_t x)
{
    x_ = x;
    Place();
}

void TMapObject::SetY(std::int32_t y)
{
    y_ = y;
    Place();
}

void TMapObject::Place()
{
    move(MapPlace(x_, map_.ScaleX()), MapPlace(y_, map_.ScaleY()));
}

void TMapObject::Select()
{
    TMapObject* previous = map_.SelectedLabel();
    map_.SetSelectedLabel(this);
    if (previous && previous != this)
        previous->update();
    update();
}

bool TMapObject::Blinking() const
{
    return alarm_ && map_.Blink();
}

bool TMapObject::Selected() const
{
    return map_.SelectedLabel() == this;
}

void TMapObject::mousePressEvent(QMouseEvent* event)
{
    Select();
    QLabel::mousePressEvent(event);
}

void TMapObject::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (OnDoubleClick)
        OnDoubleClick(*this);
    QLabel::mouseDoubleClickEvent(event);
}

void TMapObject::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    const int width = Selected() ? 3 : 1;
    painter.setPen(QPen(ToQColor(Blinking() ? MapFrameAlarm : clBlack), width,
                        Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

// --- The label kinds ---------------------------------------------------------

TMapUnit::TMapUnit(TSiteMap& map) : TMapObject(map)
{
    SetColour(clWhite);
    setFixedSize(Width, Height);
    QFont bold = font();
    bold.setPixelSize(MapUnitFontHeight);
    bold.setBold(true);
    setFont(bold);
    SetName(QStringLiteral("1"));
}

void TMapUnit::paintEvent(QPaintEvent*)
{
    const bool alarm = Blinking();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(ToQColor(MapUnitShadow), 2));
    painter.drawRoundedRect(QRect(2, 2, 28, 32), 4, 4);
    painter.setPen(QPen(ToQColor(alarm ? clRed : MapUnitGood), Selected() ? 4 : 2));
    painter.drawRoundedRect(QRect(0, 0, 28, 32), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(alarm ? clRed : MapUnitShadow));
    painter.drawRect(QRect(6, 4, 16, 7));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    const QString number = ValueText();
    const int x = std::max((24 - metrics.horizontalAdvance(number)) / 2 + 2, 2);
    const int y = std::max((18 - metrics.height()) / 2 + 12, 12);
    painter.drawText(QPoint(x, y + metrics.ascent()), number);
}

TMapSensor::TMapSensor(TSiteMap& map) : TMapObject(map)
{
    SetColour(clLime);
    SetName(QStringLiteral("Sensor X"));
}

TMapOutput::TMapOutput(TSiteMap& map) : TMapObject(map)
{
    SetColour(clAqua);
    SetName(QStringLiteral("Output X"));
}

QString TMapOutput::FormatValue(const QString& text) const
{
    const QString drive = text.trimmed();
    if (drive == QLatin1String("100%"))
        return QStringLiteral("ON");
    if (drive == QLatin1String("0%"))
        return QStringLiteral("OFF");
    return text;
}

TMapASM::TMapASM(TSiteMap& map) : TMapObject(map)
{
    SetColour(clYellow);
    SetName(QStringLiteral("ASM X"));
}

// --- TSiteMap ------------------------------------------------------------------

TSiteMap::TSiteMap(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("SiteMap"));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    move(0, 0);
}

TSiteMap::~TSiteMap()
{
    ClearLabels();
}

TMapObject* TSiteMap::Label(int index) const
{
    return index >= 0 && index < LabelCount() ? labels_[size_t(index)] : nullptr;
}

void TSiteMap::AddLabel(TMapObject* label)
{
    if (std::find(labels_.begin(), labels_.end(), label) == labels_.end())
        labels_.push_back(label);
}

void TSiteMap::RemoveLabel(TMapObject* label)
{
    labels_.erase(std::remove(labels_.begin(), labels_.end(), label), labels_.end());
    if (selected_ == label)
        selected_ = nullptr;
}

void TSiteMap::ClearLabels()
{
    // Each label takes itself out of the list as it goes.
    while (!labels_.empty())
        delete labels_.back();
}

void TSiteMap::SetPicture(const QImage& picture)
{
    picture_ = picture;
    if (picture_.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(picture_));
    SetStretch(stretch_);
    if (!stretch_)
        resize(picture_.size());
}

void TSiteMap::SetStretch(bool stretch)
{
    if (!parentWidget() || picture_.width() == 0 || picture_.height() == 0)
        return;
    stretch_ = stretch;
    setScaledContents(stretch);
    resize(stretch ? parentWidget()->size() : picture_.size());
    scaleX_ = stretch ? MapScale(width(), picture_.width()) : MapScaleOne;
    scaleY_ = stretch ? MapScale(height(), picture_.height()) : MapScaleOne;
    for (TMapObject* label : labels_)
        label->Place();
}

void TSiteMap::SetBlink(bool phase)
{
    if (phase == blink_)
        return;
    blink_ = phase;
    for (TMapObject* label : labels_)
        if (label->Alarm())
            label->update();
}

// --- TQwSiteMap ----------------------------------------------------------------

TQwSiteMap::TQwSiteMap(QWidget* parent) : TSiteMap(parent)
{
    timer_.setInterval(RefreshMs);
    connect(&timer_, &QTimer::timeout, this, &TQwSiteMap::Tick);
}

TQwSiteMap::~TQwSiteMap() = default;

TMapObject* TQwSiteMap::MakeLabel(QChar kind)
{
    switch (kind.unicode()) {
    case u'U':
        return new TMapUnit(*this);
    case u'S':
        return new TMapSensor(*this);
    case u'O':
        return new TMapOutput(*this);
    case u'A':
        return new TMapASM(*this);
    default:
        return nullptr;
    }
}

void TQwSiteMap::Load(const TIniExt* store, const QString& siteFolder)
{
    SetActive(false);
    ClearLabels();
    present_ = false;
    loadError_.clear();
    SetPicture(QImage());
    if (!store)
        return;
    const TSiteMapDescription description = ReadSiteMap(*store);
    if (description.Image.trimmed().isEmpty())
        return;
    const QString path = ResolveMapPicturePath(description.Image, siteFolder);
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        jpeg_ = std::make_unique<TJpegPicture>();
        if (jpeg_->Load(path))
            picture = jpeg_->Image();
    }
    if (picture.isNull()) {
        loadError_ = tr("Site map picture %1 can't be read: %2")
                         .arg(QDir::toNativeSeparators(path),
                              QFileInfo::exists(path) ? reader.errorString()
                                                      : tr("no such file"));
        return;
    }
    SetPicture(picture);
    for (const TMapEntry& entry : description.Entries) {
        TMapObject* label = MakeLabel(entry.Kind);
        label->SetName(entry.Name);
        label->SetX(entry.X);
        label->SetY(entry.Y);
        label->OnDoubleClick = [this](TMapObject& clicked) {
            if (clicked.IsUnit() && clicked.TargetUnit != 0 && showUnit_)
                showUnit_(clicked.TargetUnit);
        };
        label->show();
    }
    present_ = true;
}

void TQwSiteMap::Bind()
{
    const TSiteExt* site = site_ ? site_() : nullptr;
    for (int i = 0; i < LabelCount(); ++i) {
        TMapObject* label = Label(i);
        label->TargetUnit = 0;
        label->TargetDevice = nullptr;
        if (label->IsUnit()) {
            label->TargetUnit = MapUnitNumber(label->Name());
            continue;
        }
        if (!site)
            continue;
        for (const auto& device : site->Devices) {
            if (device->NameText() == label->Name()) {
                label->TargetDevice = device.get();
                break;
            }
        }
    }
}

void TQwSiteMap::SetActive(bool active)
{
    active = active && present_;
    if (active == active_)
        return;
    active_ = active;
    // Stopped entirely while inactive: a hidden or offline map costs nothing.
    if (active)
        timer_.start();
    else
        timer_.stop();
}

void TQwSiteMap::Tick()
{
    if (!isVisible()) {
        SetActive(false);
        return;
    }
    Refresh();
    SetBlink(phase_);
    phase_ = !phase_;
}

void TQwSiteMap::Refresh()
{
    const TSiteExt* site = site_ ? site_() : nullptr;
    const std::span<const std::uint16_t> readings =
        readings_ ? readings_() : std::span<const std::uint16_t>();
    for (int i = 0; i < LabelCount(); ++i) {
        TMapObject* label = Label(i);
        if (label->IsUnit()) {
            label->SetAlarm(site && label->TargetUnit != 0
                            && site->AlarmWord(label->TargetUnit) != 0);
            continue;
        }
        const TDev* device = label->TargetDevice;
        QString text = MapNoDeviceText;
        if (device) {
            text = QStringLiteral(" ");
            if (device->LoggerIndex >= 0 && !readings.empty()) {
                std::int16_t value = 0;
                int exponent = 0;
                text = device->Reading(readings, value, exponent, 1)
                    ? ReadingText(value, exponent, device->UnitsChar())
                    : NoReadingText;
            }
        }
        label->SetValueText(text);
    }
}

} // namespace Quorvel1
