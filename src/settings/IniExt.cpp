#include "settings/IniExt.h"

namespace Quorvel1 {

QString TIniExt::IntegerText(int32_t value)
{
    return QString::number(value);
}

int32_t TIniExt::IntegerOr(const QString& text, int32_t defaultValue)
{
    bool ok = false;
    const int32_t value = text.trimmed().toInt(&ok, 10);
    return ok ? value : defaultValue;
}

QString TIniExt::BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace Quorvel1
