#pragma once
// Where the program's modal dialogs appear: over the middle of the main
// window they belong to.
class QWidget;

namespace Quorvel1 {

// Centres `dialog` over the window of its parent; a dialog without a parent
// stays where the window system put it.
void CentreOverMainWindow(QWidget& dialog);

} // namespace Quorvel1
