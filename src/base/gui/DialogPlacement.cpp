#include "base/gui/DialogPlacement.h"

#include <QWidget>

namespace Quorvel1 {

void CentreOverMainWindow(QWidget& dialog)
{
    const QWidget* parent = dialog.parentWidget();
    const QWidget* main = parent ? parent->window() : nullptr;
    if (!main)
        return;
    const QRect area = main->geometry();
    dialog.move(area.left() + area.width() / 2 - dialog.width() / 2,
                area.top() + area.height() / 2 - dialog.height() / 2);
}

} // namespace Quorvel1
