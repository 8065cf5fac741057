#include "app/gui/MainWindow.h"

namespace Quorvel1 {

TFQw::TFQw(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle("Quorvel - Untitled");
    resize(800, 600);
}

} // namespace Quorvel1
