#include "base/gui/MessageBoxes.h"

namespace Quorvel1 {

QMessageBox::StandardButtons MessageBoxButtons(int flags)
{
    switch (flags & MessageFlags::ButtonsMask) {
    case MessageFlags::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageFlags::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageFlags::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon MessageBoxIcon(int flags)
{
    switch (flags & MessageFlags::IconMask) {
    case MessageFlags::IconError:
        return QMessageBox::Critical;
    case MessageFlags::IconQuestion:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

int MessageBoxAnswer(int button, int flags)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return NegativeAnswer(flags);
    }
}

int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, int flags)
{
    QMessageBox box(MessageBoxIcon(flags), caption, text, MessageBoxButtons(flags), parent);
    return MessageBoxAnswer(box.exec(), flags);
}

} // namespace Quorvel1
