#include "settings/IniBindings.h"

namespace Quorvel1 {

QString TIniString::Read() const
{
    return section_->Store().ReadString(section_->Name(), key_, default_);
}

void TIniString::Write(const QString& value) const
{
    section_->Store().WriteString(section_->Name(), key_, value);
}

int32_t TIniInt::Read() const
{
    return section_->Store().ReadInteger(section_->Name(), key_, default_);
}

void TIniInt::Write(int32_t value) const
{
    section_->Store().WriteInteger(section_->Name(), key_, value);
}

bool TIniBool::Read() const
{
    return section_->Store().ReadBool(section_->Name(), key_, default_);
}

void TIniBool::Write(bool value) const
{
    section_->Store().WriteBool(section_->Name(), key_, value);
}

} // namespace Quorvel1
