#pragma once
// A test of one file format: the file under test, by its name, in a fresh
// folder, with the few operations such tests share.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace QuorvelTest {

class OneFileTest : public ::testing::Test {
protected:
    explicit OneFileTest(QString name) : name_(std::move(name)) {}

    QString Path() const { return folder_.file(name_); }
    void WriteFile(const QByteArray& bytes) const { ASSERT_TRUE(folder_.WriteBytes(name_, bytes)); }
    QByteArray FileBytes() const { return folder_.Bytes(name_); }
    QStringList FolderEntries() const { return folder_.Entries(); }

    TempFolder folder_;

private:
    QString name_;
};

} // namespace QuorvelTest
