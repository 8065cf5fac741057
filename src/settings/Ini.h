#pragma once
// The ini-file back-end of the settings store: a site's own settings in a
// Windows-style ini file beside the site file. Every operation reads the file
// afresh and every write replaces it at once, atomically (a temporary file in
// the same folder renamed over it), so a crash never leaves half a file and
// two objects over one file never lose each other's values. The file is
// created on the first write.
#include "settings/IniExt.h"

#include <functional>
#include <optional>

namespace Quorvel1 {

class IniText;

class TIni : public TIniExt {
public:
    TIni() = default;

    // Names the file; nothing is read or created yet. Opening another file
    // simply replaces the name.
    void Open(const QString& fileName) override;
    void Close() override;
    bool IsOpen() const override;
    QString FileName() const;

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
    // The file's text; empty when there is no file or none is open, and none
    // when the file exists but cannot be read.
    std::optional<IniText> Load() const;
    IniText LoadOrEmpty() const;
    void Change(const std::function<void(IniText&)>& edit);

    std::optional<QString> fileName_;
};

} // namespace Quorvel1
