#pragma once
#include <QMainWindow>

namespace Quorvel1 {

// The main window frame. Menus, tabs and the status bar come alive with the
// controller that drives them.
class TFQw : public QMainWindow {
    Q_OBJECT
public:
    explicit TFQw(QWidget* parent = nullptr);
};

} // namespace Quorvel1
