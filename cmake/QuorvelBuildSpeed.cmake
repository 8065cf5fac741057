# Build speed: the Qt and standard headers every file includes are compiled
# once per library as a precompiled header, and a library's sources are built
# in unity batches. QUORVEL_UNITY=OFF builds file by file (to check that each
# file includes what it uses).
option(QUORVEL_UNITY "Build the libraries and tests in unity batches" ON)

set(QUORVEL_PCH_CORE
  <QByteArray> <QString> <QStringList> <QList> <QFile> <QDir> <QFileInfo>
  <QDateTime> <QObject> <QCoreApplication>
  <algorithm> <array> <atomic> <chrono> <cstdint> <cstring> <functional>
  <map> <memory> <mutex> <optional> <stdexcept> <string> <thread> <vector>)
set(QUORVEL_PCH_GUI ${QUORVEL_PCH_CORE}
  <QApplication> <QWidget> <QDialog> <QLabel> <QPushButton> <QLineEdit>
  <QComboBox> <QCheckBox> <QBoxLayout> <QMessageBox> <QMainWindow> <QTimer>)
set(QUORVEL_PCH_TEST ${QUORVEL_PCH_CORE} <QTemporaryDir> <gtest/gtest.h>)
set(QUORVEL_PCH_GUITEST ${QUORVEL_PCH_GUI} <QTemporaryDir> <gtest/gtest.h>)

# kind: CORE, GUI, TEST or GUITEST (the header set); NO_UNITY keeps the
# target file by file.
#
# The test programs take the precompiled header of the support library they
# link (quorvel_testsupport, quorvel_testmain_gui), built with the same flags,
# instead of each compiling its own.
set(QUORVEL_PCH_REUSE_TEST quorvel_testsupport)
set(QUORVEL_PCH_REUSE_GUITEST quorvel_testmain_gui)

function(quorvel_speed_up target kind)
  if(DEFINED QUORVEL_PCH_REUSE_${kind} AND NOT target STREQUAL QUORVEL_PCH_REUSE_${kind}
     AND TARGET ${QUORVEL_PCH_REUSE_${kind}})
    target_precompile_headers(${target} REUSE_FROM ${QUORVEL_PCH_REUSE_${kind}})
  else()
    target_precompile_headers(${target} PRIVATE ${QUORVEL_PCH_${kind}})
  endif()
  if(QUORVEL_UNITY AND NOT "NO_UNITY" IN_LIST ARGN)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 12)
  endif()
endfunction()
