// Test entry point: every test program runs with its own program folder and
// settings folder, so no test touches the user's files or settings.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>

#ifdef QUORVEL_GUI_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVEL_HOME", (home.path() + "/home").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("HOME", (home.path() + "/user").toUtf8());
#ifdef QUORVEL_GUI_TESTS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
