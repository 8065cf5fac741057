#pragma once
// What every test program's entry point does first: its own program folder
// and settings folders under `home`, so no test touches the user's files or
// settings.
#include <QTemporaryDir>
#include <QtGlobal>

namespace QuorvelTest {

inline void UseOwnFolders(const QTemporaryDir& home)
{
    qputenv("QUORVEL_HOME", (home.path() + "/home").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("HOME", (home.path() + "/user").toUtf8());
}

} // namespace QuorvelTest
