#include "app/WindowPlacement.h"

#include "settings/IniExt.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr int NoPosition = -1;

qint64 OverlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Moves `size` at `topLeft` so that it lies wholly inside `bounds`.
QRect KeptInside(QPoint topLeft, QSize size, const QRect& bounds)
{
    size = size.boundedTo(bounds.size());
    const int left = std::clamp(topLeft.x(), bounds.left(), bounds.left() + bounds.width() - size.width());
    const int top = std::clamp(topLeft.y(), bounds.top(), bounds.top() + bounds.height() - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace

TWindowPlacement TWindowPlacement::Read(TIniExt& store, const QString& section)
{
    TWindowPlacement placement;
    const int width = store.ReadInteger(section, KeyWidth, NoPosition);
    const int height = store.ReadInteger(section, KeyHeight, NoPosition);
    if (width <= 0 || height <= 0)
        return placement;
    placement.Normal = QRect(store.ReadInteger(section, KeyLeft, 0),
                             store.ReadInteger(section, KeyTop, 0), width, height);
    placement.Maximised =
        store.ReadString(section, KeyState, StateNormal) == QLatin1String(StateMaximised);
    placement.Monitor = store.ReadString(section, KeyMonitor, QString());
    return placement;
}

void TWindowPlacement::Write(TIniExt& store, const QString& section) const
{
    store.WriteString(section, KeyState, Maximised ? StateMaximised : StateNormal);
    store.WriteInteger(section, KeyLeft, Normal.left());
    store.WriteInteger(section, KeyTop, Normal.top());
    store.WriteInteger(section, KeyWidth, Normal.width());
    store.WriteInteger(section, KeyHeight, Normal.height());
    store.WriteString(section, KeyMonitor, Monitor);
}

QRect TWindowPlacement::FitToScreens(const QRect& area, const QString& monitor,
                                     const QList<TScreenArea>& screens)
{
    Q_ASSERT(!screens.isEmpty());
    const TScreenArea* chosen = nullptr;
    for (const TScreenArea& screen : screens) {
        if (!monitor.isEmpty() && screen.Name == monitor)
            chosen = &screen;
    }
    if (!chosen) {
        qint64 best = 0;
        for (const TScreenArea& screen : screens) {
            const qint64 overlap = OverlapArea(area, screen.Available);
            if (overlap > best) {
                best = overlap;
                chosen = &screen;
            }
        }
    }
    if (!chosen)
        chosen = &screens.front();
    return KeptInside(area.topLeft(), area.size(), chosen->Available);
}

QRect TWindowPlacement::InitialArea(const QRect& available, const QSize& design)
{
    const QSize roomy(available.width() * 2 / 3, available.height() * 3 / 4);
    const QSize size = roomy.expandedTo(design).boundedTo(available.size());
    const QPoint centred(available.left() + (available.width() - size.width()) / 2,
                         available.top() + (available.height() - size.height()) / 2);
    return QRect(centred, size);
}

} // namespace Quorvel1
