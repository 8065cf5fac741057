#pragma once
// The settings store: one small interface over the user's program settings
// (TRegIni) and a site's own ini file (TIni). Every value is text; integers
// are decimal text and booleans "1" or "0". A missing value reads as the
// caller's default. Read and write failures of the back-ends are not
// reported: a setting that cannot be read is its default.
#include <QString>
#include <QStringList>

#include <cstdint>

namespace Quorvel1 {

class TIniExt {
public:
    virtual ~TIniExt() = default;

    // Opens the store named by `name`: a registry key path or an ini file name.
    virtual void Open(const QString& name) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const { return false; }

    virtual QString ReadString(const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;
    // The default also when the stored text is not a decimal int32.
    virtual int32_t ReadInteger(const QString& section, const QString& key,
                                int32_t defaultValue) const = 0;
    virtual void WriteInteger(const QString& section, const QString& key, int32_t value) = 0;
    virtual void WriteString(const QString& section, const QString& key, const QString& value) = 0;
    // True for any stored integer other than 0.
    virtual bool ReadBool(const QString& section, const QString& key, bool defaultValue) const = 0;
    virtual void WriteBool(const QString& section, const QString& key, bool value) = 0;

    // Each fills `list` afresh: the key names of a section; the section names;
    // one "key=value" text per key of a section.
    virtual void ReadSection(const QString& section, QStringList& list) const = 0;
    virtual void ReadSections(QStringList& list) const = 0;
    virtual void ReadSectionValues(const QString& section, QStringList& list) const = 0;
    virtual void EraseSection(const QString& section) = 0;

protected:
    // The value encoding both back-ends share.
    static QString IntegerText(int32_t value);
    static int32_t IntegerOr(const QString& text, int32_t defaultValue);
    static QString BoolText(bool value);
};

} // namespace Quorvel1
