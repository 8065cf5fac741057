#pragma once
// Where the main window opens: the state and position it was closed with,
// kept in the settings under the window's section, put back on the screens
// there are now. A window saved on a monitor that has since gone, or partly
// off the screens, comes back whole on a screen that is there.
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

namespace Quorvel1 {

class TIniExt;

// A screen as the window system has it now: its name and the part of it
// windows may use (without panels and docks).
struct TScreenArea {
    QString Name;
    QRect Available;
};

struct TWindowPlacement {
    // Keys under the window's section of the settings.
    static constexpr const char* KeyState = "State";
    static constexpr const char* KeyLeft = "Left";
    static constexpr const char* KeyTop = "Top";
    static constexpr const char* KeyWidth = "Width";
    static constexpr const char* KeyHeight = "Height";
    static constexpr const char* KeyMonitor = "Monitor";
    static constexpr const char* StateNormal = "Normal";
    static constexpr const char* StateMaximised = "Maximized";

    QRect Normal;          // the window's area when not maximised; null when none is stored
    bool Maximised = false;
    QString Monitor;       // the screen it was on

    // Empty placement (a null Normal) when the section holds no position.
    static TWindowPlacement Read(TIniExt& store, const QString& section);
    void Write(TIniExt& store, const QString& section) const;

    // The area to open in: on the saved monitor when it is still there,
    // else on the screen the area overlaps most, else on the first screen;
    // made no larger than that screen's available area and moved wholly
    // inside it. `screens` must not be empty.
    static QRect FitToScreens(const QRect& area, const QString& monitor,
                              const QList<TScreenArea>& screens);
    // The first area of a window that was never placed: large enough to show
    // the tabs' lists (two thirds of the width, three quarters of the
    // height), never smaller than `design` unless the screen is, and centred.
    static QRect InitialArea(const QRect& available, const QSize& design);
};

} // namespace Quorvel1
