#include "app/gui/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Quorvel1::TFQw window;
    window.show();
    return app.exec();
}
