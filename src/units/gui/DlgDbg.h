#pragma once
// The memory viewer "Debug": single bytes or words of the RAM or EE memory
// of any unit, or of the interface unit (0), read into a log (newest line
// first) and changed one at a time. While it is shown the background jobs
// are paused, so the window has the link to itself.
#include "units/DbgMemory.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;

namespace Quorvel1 {

class TPelkThread;
class TRunnerPause;

class TdlgDbg : public QDialog {
    Q_OBJECT
public:
    using ErrorHook = std::function<void(const QString&)>;

    static constexpr const char* BaseCaption = "Debug";
    static constexpr const char* InitialAddress = "x18";

    // `reportError` shows the message of an action that failed (a bad
    // number, a link error); the log and fields keep what they had.
    TdlgDbg(TPelkThread& runner, ErrorHook reportError, QWidget* parent = nullptr);
    ~TdlgDbg() override;

    void Goto();
    void Next();
    void Refresh();
    void SetVal();
    // What choosing unit `unit` in the unit box does.
    void SelectUnit(int unit);

    QLineEdit* AddressField() const { return edAddress; }
    QLineEdit* ValueField() const { return edValue; }
    QCheckBox* SizeBox() const { return cbSize; }
    QCheckBox* MemBox() const { return cbMem; }
    QComboBox* UnitBox() const { return cbUnit; }
    QPushButton* SetValButton() const { return buttSetVal; }
    QPlainTextEdit* Log() const { return mmLog; }
    QLabel* Status() const { return lblStatus; }
    QMenu* Popup() const { return popup_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ReadAt(std::uint16_t address, bool replace);
    void AddLine(const QString& line, bool replace);
    void Act(const std::function<void()>& action);
    void PopupOpening();
    void SetStatus(const QString& text);

    TPelkThread& runner_;
    ErrorHook reportError_;
    TDbgMemory memory_;
    std::unique_ptr<TRunnerPause> pause_;

    QLineEdit* edAddress = nullptr;
    QLineEdit* edValue = nullptr;
    QCheckBox* cbSize = nullptr;
    QCheckBox* cbMem = nullptr;
    QComboBox* cbUnit = nullptr;
    QPushButton* buttGoto = nullptr;
    QPushButton* buttNext = nullptr;
    QPushButton* buttRefresh = nullptr;
    QPushButton* buttSetVal = nullptr;
    QPlainTextEdit* mmLog = nullptr;
    QLabel* lblStatus = nullptr;
    QMenu* popup_ = nullptr;
    QAction* actByte = nullptr;
    QAction* actWord = nullptr;
    QAction* actRam = nullptr;
    QAction* actEe = nullptr;
};

} // namespace Quorvel1
