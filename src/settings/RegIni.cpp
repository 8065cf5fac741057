#include "settings/RegIni.h"

#include <QSettings>

namespace Quorvel1 {

namespace {

const QString SoftwareRoot = QStringLiteral("Software");

// QSettings reads an unquoted value with commas in a hand-edited file as a
// list; the registry would have given the text as it stands.
QString TextOf(const QVariant& value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

TRegIni::TRegIni(const QString& keyPath)
{
    Open(keyPath);
}

TRegIni::~TRegIni() = default;

void TRegIni::Open(const QString& keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(SoftwareRoot, Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.isEmpty()) {
        Close();
        return;
    }
    const QString organisation = parts.takeFirst();
    const QString application = parts.isEmpty() ? QString() : parts.takeFirst();
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            organisation, application);
    topGroup_ = parts.join(QLatin1Char('/'));
}

void TRegIni::Close()
{
    settings_.reset();
    topGroup_.clear();
}

bool TRegIni::IsOpen() const
{
    return settings_ != nullptr;
}

QString TRegIni::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const QString path = PathOf(section, key);
    if (path.isEmpty() || !settings_->contains(path))
        return defaultValue;
    return TextOf(settings_->value(path));
}

int32_t TRegIni::ReadInteger(const QString& section, const QString& key,
                             int32_t defaultValue) const
{
    return IntegerOr(ReadString(section, key, QString()), defaultValue);
}

void TRegIni::WriteInteger(const QString& section, const QString& key, int32_t value)
{
    WriteString(section, key, IntegerText(value));
}

void TRegIni::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString path = PathOf(section, key);
    if (path.isEmpty())
        return;
    // Always a QString, so the file holds the text and reads back as text.
    settings_->setValue(path, QVariant(value));
    settings_->sync();
}

bool TRegIni::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TRegIni::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, BoolText(value));
}

void TRegIni::ReadSection(const QString& section, QStringList& list) const
{
    const QString group = GroupOf(section);
    list = group.isEmpty() ? QStringList() : ChildKeys(group);
}

void TRegIni::ReadSections(QStringList& list) const
{
    list = settings_ ? ChildGroups(topGroup_) : QStringList();
}

void TRegIni::ReadSectionValues(const QString& section, QStringList& list) const
{
    QStringList keys;
    ReadSection(section, keys);
    list.clear();
    for (const QString& key : keys)
        list.append(key + QLatin1Char('=') + ReadString(section, key, QString()));
}

void TRegIni::EraseSection(const QString& section)
{
    const QString group = GroupOf(section);
    if (group.isEmpty())
        return;
    settings_->remove(group);
    settings_->sync();
}

// Empty when no store is open or the section has no name: an empty name
// would otherwise address the top group itself (and erase every section).
QString TRegIni::GroupOf(const QString& section) const
{
    if (!settings_ || section.isEmpty())
        return QString();
    return topGroup_.isEmpty() ? section : topGroup_ + QLatin1Char('/') + section;
}

QString TRegIni::PathOf(const QString& section, const QString& key) const
{
    const QString group = GroupOf(section);
    if (group.isEmpty() || key.isEmpty())
        return QString();
    return group + QLatin1Char('/') + key;
}

QStringList TRegIni::ChildKeys(const QString& group) const
{
    settings_->beginGroup(group);
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    return keys;
}

QStringList TRegIni::ChildGroups(const QString& group) const
{
    settings_->beginGroup(group);
    const QStringList groups = settings_->childGroups();
    settings_->endGroup();
    return groups;
}

} // namespace Quorvel1
