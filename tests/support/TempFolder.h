#pragma once
// A fresh folder per test, removed with the fixture, with the few file
// operations the file-format tests share.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace QuorvelTest {

// Writes the whole file at `path`; false when it could not be written whole.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
// The bytes of the file at `path`; empty when it is missing or unreadable.
QByteArray FileBytes(const QString& path);

class TempFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    // Writes the whole file; false when it could not be written whole.
    bool WriteBytes(const QString& name, const QByteArray& bytes) const;
    // The file's bytes; empty when it is missing or unreadable.
    QByteArray Bytes(const QString& name) const;
    // Every file in the folder, hidden and temporary ones included.
    QStringList Entries() const;

private:
    QTemporaryDir dir_;
};

} // namespace QuorvelTest
