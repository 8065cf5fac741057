#pragma once
// The logger information dialog ("Logger information"): ten lines about the
// logger, the link's error counts and the clocks, refreshed by the logger
// information job for as long as the dialog is open.
#include <QDialog>

#include <cstdint>
#include <functional>

class QListWidget;

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TDjLogInfo;
class TLogIF;
class TPelkThread;
struct TLogInfo;

class TDlgLogInf : public QDialog {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Logger information");

    // `localNow`: the local time for the lines, counted like a UTC stamp.
    TDlgLogInf(const Pelk::TMestraIF& link, std::function<std::uint32_t()> localNow,
               QWidget* parent = nullptr);

    // Makes the lines of `info`, replacing the list's in one step.
    void ShowInfo(const TLogInfo& info);
    QStringList Lines() const;

    // Shows the dialog modally with a logger information job feeding it; the
    // job is released when the dialog closes and shows nothing after that.
    // `shown`, when given, is called with the dialog once it is made (tests).
    static void ShowLogInfo(TPelkThread& runner, TLogIF& log, QWidget* parent,
                            const std::function<void(TDlgLogInf&, TDjLogInfo&)>& shown = {});

private:
    const Pelk::TMestraIF& link_;
    std::function<std::uint32_t()> localNow_;
    QListWidget* lbInfo = nullptr;
};

} // namespace Quorvel1
