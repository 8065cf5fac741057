#pragma once
// The message boxes of the controller's Report: its button and icon flags
// (MessageFlags) turned into a QMessageBox, and the button pressed turned
// back into its answer (MessageAnswer).
#include "base/MessageFlags.h"

#include <QMessageBox>

class QString;
class QWidget;

namespace Quorvel1 {

QMessageBox::StandardButtons MessageBoxButtons(int flags);
QMessageBox::Icon MessageBoxIcon(int flags);
// A box closed without a button (Escape, the title bar) answers as its
// negative button would.
int MessageBoxAnswer(int button, int flags);

// Shows the box modally over `parent` and returns the answer.
int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, int flags);

} // namespace Quorvel1
