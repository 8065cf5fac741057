#pragma once
// Message box flags and answers, and the status bar's panel numbers: the
// values the commands, the jobs' questions and the windows have always used.

namespace Quorvel1 {

namespace MessageFlags {
constexpr int Ok = 0x00;
constexpr int OkCancel = 0x01;
constexpr int YesNoCancel = 0x03;
constexpr int YesNo = 0x04;
constexpr int ButtonsMask = 0x0F;
constexpr int IconError = 0x10;
constexpr int IconQuestion = 0x20;
constexpr int IconMask = 0xF0;
} // namespace MessageFlags

namespace MessageAnswer {
constexpr int None = 0; // nothing was shown (automatic mode)
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MessageAnswer

// The "no" answer of a message box with these flags: No for the Yes/No
// kinds, Cancel for OK/Cancel, OK when OK is the only button. A box closed
// without a button gives it, and so does a run without a display.
constexpr int NegativeAnswer(int flags)
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

// Status bar panels.
namespace StatusPanel {
constexpr int Status = 0;     // hints and job status texts
constexpr int LinkStatus = 1; // OFFLINE, LOCAL or REMOTE
constexpr int Spare = 2;      // the program's version
} // namespace StatusPanel

} // namespace Quorvel1
