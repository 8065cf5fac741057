#include "app/QuorvelView.h"

namespace Quorvel1 {

int NegativeAnswer(int flags)
{
    switch (flags & MessageFlags::ButtonsMask) {
    case MessageFlags::YesNo:
    case MessageFlags::YesNoCancel:
        return MessageAnswer::No;
    case MessageFlags::OkCancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace Quorvel1
