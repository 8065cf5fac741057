#pragma once
// The registry back-end of the settings store, over QSettings in the native
// format of the user's scope. A key path of the form
// "Software\<organisation>\<application>\<group>" names the settings file of
// that organisation and application
// ($XDG_CONFIG_HOME/<organisation>/<application>.conf) and the group in it;
// each section is a group under that one and each key a text value in it, so
// "LocalPort" of "Comms" under "Software\Mestra Apps\Quorvel\Settings" is
// "Settings/Comms/LocalPort". Every write is synced to the file at once, as a
// registry write would be.
#include "settings/IniExt.h"

#include <memory>

class QSettings;

namespace Quorvel1 {

class TRegIni : public TIniExt {
public:
    explicit TRegIni(const QString& keyPath);
    ~TRegIni() override;
    TRegIni(const TRegIni&) = delete;
    TRegIni& operator=(const TRegIni&) = delete;

    void Open(const QString& keyPath) override;
    void Close() override;
    bool IsOpen() const override;

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    int32_t ReadInteger(const QString& section, const QString& key,
                        int32_t defaultValue) const override;
    void WriteInteger(const QString& section, const QString& key, int32_t value) override;
    void WriteString(const QString& section, const QString& key, const QString& value) override;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const override;
    void WriteBool(const QString& section, const QString& key, bool value) override;

    void ReadSection(const QString& section, QStringList& list) const override;
    void ReadSections(QStringList& list) const override;
    void ReadSectionValues(const QString& section, QStringList& list) const override;
    void EraseSection(const QString& section) override;

private:
    QString GroupOf(const QString& section) const;
    QString PathOf(const QString& section, const QString& key) const;
    QStringList ChildKeys(const QString& group) const;
    QStringList ChildGroups(const QString& group) const;

    std::unique_ptr<QSettings> settings_;
    QString topGroup_;
};

} // namespace Quorvel1
