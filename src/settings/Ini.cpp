#include "settings/Ini.h"

#include "base/AtomicFile.h"
#include "settings/IniText.h"

#include <QFile>

namespace Quorvel1 {

void TIni::Open(const QString& fileName)
{
    fileName_ = fileName;
}

void TIni::Close()
{
    fileName_.reset();
}

bool TIni::IsOpen() const
{
    return fileName_.has_value();
}

QString TIni::FileName() const
{
    return fileName_.value_or(QString());
}

QString TIni::ReadString(const QString& section, const QString& key,
                         const QString& defaultValue) const
{
    return LoadOrEmpty().Value(section, key).value_or(defaultValue);
}

int32_t TIni::ReadInteger(const QString& section, const QString& key, int32_t defaultValue) const
{
    return IntegerOr(ReadString(section, key, QString()), defaultValue);
}

void TIni::WriteInteger(const QString& section, const QString& key, int32_t value)
{
    WriteString(section, key, IntegerText(value));
}

void TIni::WriteString(const QString& section, const QString& key, const QString& value)
{
    Change([&](IniText& text) { text.SetValue(section, key, value); });
}

bool TIni::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIni::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, BoolText(value));
}

void TIni::ReadSection(const QString& section, QStringList& list) const
{
    list = LoadOrEmpty().Keys(section);
}

void TIni::ReadSections(QStringList& list) const
{
    list = LoadOrEmpty().Sections();
}

void TIni::ReadSectionValues(const QString& section, QStringList& list) const
{
    const IniText text = LoadOrEmpty();
    list.clear();
    for (const QString& key : text.Keys(section))
        list.append(key + QLatin1Char('=') + text.Value(section, key).value_or(QString()));
}

void TIni::EraseSection(const QString& section)
{
    Change([&](IniText& text) { text.EraseSection(section); });
}

std::optional<IniText> TIni::Load() const
{
    if (!fileName_)
        return IniText();
    QFile file(*fileName_);
    if (!file.exists())
        return IniText();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return IniText::Parse(bytes);
}

IniText TIni::LoadOrEmpty() const
{
    return Load().value_or(IniText());
}

void TIni::Change(const std::function<void(IniText&)>& edit)
{
    if (!fileName_)
        return;
    // A file that exists but cannot be read is left alone: rewriting it from
    // an empty text would lose every other setting in it.
    std::optional<IniText> text = Load();
    if (!text)
        return;
    const QByteArray before = text->Serialise();
    edit(*text);
    const QByteArray after = text->Serialise();
    if (after != before)
        ReplaceFileAtomically(*fileName_, after);
}

} // namespace Quorvel1
