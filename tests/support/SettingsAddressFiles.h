#pragma once
// Hand-written settings-address files in the test program's own program
// folder, removed again when the fixture ends.
#include "site/ConfigBlock.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace QuorvelTest {

class SettingsAddressFiles : public ::testing::Test {
protected:
    ~SettingsAddressFiles() override
    {
        for (const QString& path : written_)
            QFile::remove(path);
    }

    void WriteSettingsAddressFile(std::uint16_t appId, const QByteArray& text)
    {
        const QString path = Quorvel1::TConfigBlock::SettingsAddressPath(appId);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(text), text.size());
        written_.append(path);
    }

private:
    QStringList written_;
};

} // namespace QuorvelTest
