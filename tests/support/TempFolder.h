#pragma once
// A fresh folder per test, removed with the fixture.
#include <QString>
#include <QTemporaryDir>

namespace QuorvelTest {

class TempFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace QuorvelTest
