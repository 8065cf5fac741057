#pragma once
// A temporary folder for site files, with small helpers to write hand-made
// files and read back what the site wrote. Loading a site makes its folder
// the current folder; the fixture puts the test's current folder back.
#include "ByteStreams.h"

#include "support/TempFolder.h"

#include "site/SiteExt.h"

#include <QDir>

#include <gtest/gtest.h>

namespace SiteTest {

class SiteFileFixture : public ::testing::Test {
protected:
    ~SiteFileFixture() override { QDir::setCurrent(startFolder_); }

    QString Path(const QString& name) const { return folder_.file(name); }
    QString Folder() const { return folder_.path(); }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(QuorvelTest::WriteFileBytes(path, bytes)) << path.toStdString();
    }
    static QByteArray ReadFile(const QString& path) { return QuorvelTest::FileBytes(path); }

private:
    QString startFolder_ = QDir::currentPath();
    QuorvelTest::TempFolder folder_;
};

} // namespace SiteTest
