#pragma once
// Each settings test starts from an empty program settings file and can look
// at what reached the disk, read through a copy so that no settings object
// cached in this process can answer for the file.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QVariant>

namespace QuorvelTest {

class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }

    static QString SettingsFile()
    {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Mestra Apps/Quorvel.conf";
    }

    QVariant OnDisk(const QString& key)
    {
        const QString copy = folder_.file(QString("copy%1.conf").arg(++copies_));
        if (!QFile::copy(SettingsFile(), copy))
            return QVariant();
        return QSettings(copy, QSettings::IniFormat).value(key);
    }

    QStringList AllKeysOnDisk()
    {
        const QString copy = folder_.file(QString("copy%1.conf").arg(++copies_));
        if (!QFile::copy(SettingsFile(), copy))
            return QStringList();
        return QSettings(copy, QSettings::IniFormat).allKeys();
    }

    // Writes as another program (or a hand edit) would.
    static void StoreText(const QString& key, const QString& text)
    {
        QSettings settings("Mestra Apps", "Quorvel");
        settings.setValue(key, text);
        settings.sync();
    }

private:
    static void ClearSettings()
    {
        QSettings settings("Mestra Apps", "Quorvel");
        settings.clear();
        settings.sync();
    }

    TempFolder folder_;
    int copies_ = 0;
};

} // namespace QuorvelTest
