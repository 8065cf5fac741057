#pragma once
// The logging options dialog ("Logging options"): the site's logging
// interval and its four option flags, which the next configuration upload
// gives the logger.
#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace Quorvel1 {

class TSiteExt;

class TDlgLogOpts : public QDialog {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Logging options");
    static constexpr int MaxInterval = 14400;
    static constexpr int IntervalStep = 60;

    TDlgLogOpts(TSiteExt& site, QWidget* parent = nullptr);

    // Fills the form from the site and shows it modally.
    int Execute();
    // The form from the site, as Execute shows it.
    void Load();
    // OK: the form into the site, which is then changed.
    void accept() override;

private:
    TSiteExt& site_;
    QSpinBox* seInterval = nullptr;
    QCheckBox* cbStop = nullptr;
    QCheckBox* cbAvgSensors = nullptr;
    QCheckBox* cbAvgOutputs = nullptr;
    QCheckBox* cbAvgASMs = nullptr;
};

} // namespace Quorvel1
