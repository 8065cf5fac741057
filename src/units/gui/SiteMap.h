#pragma once
// The site map of the Map tab: the site's picture with small labels placed on
// it, a painted symbol per unit and a coloured label per sensor, output and
// ASM showing the device's current reading. While connected and shown the
// labels refresh once a second and a unit with an alarm blinks red.
//
// Positions are kept in picture pixels, the labels' own coordinates; the
// control positions follow from the map's scales (per 10000) and are never
// read back, so stretching and laying out again never moves a label.
#include "logger/gui/LBLogDevs.h"

#include <QImage>
#include <QLabel>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Quorvel1 {

class TDev;
class TIniExt;
class TJpegPicture;
class TSiteExt;
class TSiteMap;

// One label of the map. The plain label (sensor, output and ASM labels) shows
// " value " on its kind's colour, with a frame: 3 pixels wide when selected,
// red while in alarm and the blink phase is on.
class TMapObject : public QLabel {
    Q_OBJECT
public:
    explicit TMapObject(TSiteMap& map);
    ~TMapObject() override;

    virtual bool IsUnit() const { return false; }
    virtual QString FormatValue(const QString& text) const { return text; }
    virtual QString KindName() const { return QString(); }
    virtual QChar KindLetter() const { return QChar(); }

    const QString& Name() const { return name_; }
    const QString& ValueText() const { return valueText_; }
    bool Alarm() const { return alarm_; }
    std::int32_t X() const { return x_; }
    std::int32_t Y() const { return y_; }

    // The first shows the name until a value comes, and sets the tooltip.
    void SetName(const QString& name);
    void SetValueText(const QString& text);
    void SetAlarm(bool alarm);
    void SetX(std::int32_t x);
    void SetY(std::int32_t y);
    void Select();
    // Moves the label to its picture position at the map's scales.
    void Place();

    // What the label shows: a unit number 1..30 (0 none) for a unit label,
    // a device of the site (or none) for the others. Set by Bind.
    int TargetUnit = 0;
    const TDev* TargetDevice = nullptr;

    // Runs on a double-click; set by the map's Load.
    std::function<void(TMapObject&)> OnDoubleClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool Blinking() const;
    bool Selected() const;
    void SetColour(std::uint32_t colour);

    TSiteMap& map_;

private:
    void FitSize();

    QString name_;
    QString valueText_;
    bool alarm_ = false;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

// A unit: a 30 x 34 painted symbol, a rounded outline with the unit's display
// and number, green, or red while its alarm blinks.
class TMapUnit : public TMapObject {
    Q_OBJECT
public:
    static constexpr int Width = 30;
    static constexpr int Height = 34;
    explicit TMapUnit(TSiteMap& map);
    bool IsUnit() const override { return true; }
    QString KindName() const override { return QStringLiteral("Unit"); }
    QChar KindLetter() const override { return u'U'; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TMapSensor : public TMapObject {
    Q_OBJECT
public:
    explicit TMapSensor(TSiteMap& map);
    QString KindName() const override { return QStringLiteral("Sensor"); }
    QChar KindLetter() const override { return u'S'; }
};

// An output shows a full or empty drive as ON or OFF.
class TMapOutput : public TMapObject {
    Q_OBJECT
public:
    explicit TMapOutput(TSiteMap& map);
    QString FormatValue(const QString& text) const override;
    QString KindName() const override { return QStringLiteral("Output"); }
    QChar KindLetter() const override { return u'O'; }
};

class TMapASM : public TMapObject {
    Q_OBJECT
public:
    explicit TMapASM(TSiteMap& map);
    QString KindName() const override { return QStringLiteral("ASM"); }
    QChar KindLetter() const override { return u'A'; }
};

// The picture control with its labels, its stretch mode and scales, the blink
// phase and the selected label.
class TSiteMap : public QLabel {
    Q_OBJECT
public:
    explicit TSiteMap(QWidget* parent);
    ~TSiteMap() override;

    int LabelCount() const { return int(labels_.size()); }
    TMapObject* Label(int index) const;
    void AddLabel(TMapObject* label);
    void ClearLabels();
    void RemoveLabel(TMapObject* label); // a label being destroyed

    // Shows `picture` 1:1 (or stretched, in stretch mode); a null image
    // removes it.
    void SetPicture(const QImage& picture);
    bool HasPicture() const { return !picture_.isNull(); }
    QSize PictureSize() const { return picture_.size(); }

    // Stretching fills the parent and scales the labels' positions with the
    // picture; without a parent or a picture nothing changes.
    void SetStretch(bool stretch);
    bool Stretch() const { return stretch_; }
    std::int32_t ScaleX() const { return scaleX_; }
    std::int32_t ScaleY() const { return scaleY_; }

    void SetBlink(bool phase);
    bool Blink() const { return blink_; }
    TMapObject* SelectedLabel() const { return selected_; }
    void SetSelectedLabel(TMapObject* label) { selected_ = label; }

private:
    std::vector<TMapObject*> labels_; // children of the map
    QImage picture_;
    bool stretch_ = false;
    std::int32_t scaleX_ = 10000;
    std::int32_t scaleY_ = 10000;
    bool blink_ = false;
    TMapObject* selected_ = nullptr;
};

// The map of the main window: loads the picture and labels from the site's
// ini file, binds the labels to units and devices and refreshes them once a
// second while active.
class TQwSiteMap : public TSiteMap {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 1000;
    using TSiteSource = std::function<const TSiteExt*()>;

    explicit TQwSiteMap(QWidget* parent);
    ~TQwSiteMap() override;

    void SetSite(TSiteSource site) { site_ = std::move(site); }
    void SetReadings(TLBLogDevsModel::TReadingsSource readings) { readings_ = std::move(readings); }
    // Opens the unit view of a unit label's unit on a double-click.
    void SetShowUnit(std::function<void(int)> showUnit) { showUnit_ = std::move(showUnit); }

    // Reads the picture and labels; `siteFolder` is where a relative picture
    // path is looked for. Without a store, or when the picture cannot be
    // read, there is no map and LoadError says why.
    void Load(const TIniExt* store, const QString& siteFolder);
    bool MapPresent() const { return present_; }
    const QString& LoadError() const { return loadError_; }
    // Points each label at its unit or device.
    void Bind();
    // The timer runs only while active: connected with the Map tab showing.
    void SetActive(bool active);
    bool Active() const { return active_; }
    bool TimerRunning() const { return timer_.isActive(); }
    // One timer tick: refresh the labels and blink.
    void Tick();
    // Values and alarms of all labels from the site and the readings.
    void Refresh();

private:
    TMapObject* MakeLabel(QChar kind);

    TSiteSource site_;
    TLBLogDevsModel::TReadingsSource readings_;
    std::function<void(int)> showUnit_;
    bool present_ = false;
    bool active_ = false;
    bool phase_ = false;
    QString loadError_;
    QTimer timer_;
    std::unique_ptr<TJpegPicture> jpeg_;
};

} // namespace Quorvel1
