#pragma once
// One setting declared once: a section of a store, a key and a default, so
// reading or writing it is one call. The bindings own neither the section
// nor the store; both must outlive them.
#include "settings/IniExt.h"

namespace Quorvel1 {

class TIniSection {
public:
    TIniSection(QString name, TIniExt& store) : name_(std::move(name)), store_(&store) {}

    const QString& Name() const { return name_; }
    TIniExt& Store() const { return *store_; }

private:
    QString name_;
    TIniExt* store_;
};

class TIniString {
public:
    TIniString(const TIniSection& section, QString key, QString defaultValue)
        : section_(&section), key_(std::move(key)), default_(std::move(defaultValue)) {}

    QString Read() const;
    void Write(const QString& value) const;
    void SetDefault(const QString& value) { default_ = value; }
    const QString& Key() const { return key_; }
    const QString& Default() const { return default_; }

private:
    const TIniSection* section_;
    QString key_;
    QString default_;
};

class TIniInt {
public:
    TIniInt(const TIniSection& section, QString key, int32_t defaultValue)
        : section_(&section), key_(std::move(key)), default_(defaultValue) {}

    int32_t Read() const;
    void Write(int32_t value) const;
    const QString& Key() const { return key_; }
    int32_t Default() const { return default_; }

private:
    const TIniSection* section_;
    QString key_;
    int32_t default_;
};

class TIniBool {
public:
    TIniBool(const TIniSection& section, QString key, bool defaultValue)
        : section_(&section), key_(std::move(key)), default_(defaultValue) {}

    bool Read() const;
    void Write(bool value) const;
    const QString& Key() const { return key_; }
    bool Default() const { return default_; }

private:
    const TIniSection* section_;
    QString key_;
    bool default_;
};

} // namespace Quorvel1
