#pragma once
// The three small dialogs that edit one setting of a unit's definition file:
// a number ("Enter New Value"), one option ("Select New Value") and a set of
// flags ("Select New Value", a check box per option). Each shows the
// setting's name and description. TADFDialogEditor puts them behind the
// settings' editing interface.
#include "site/ADFSettings.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;

namespace Quorvel1 {

// Name, description and (but for the mask dialog) the old value above the
// dialog's own controls, OK (default) and Cancel (Escape) below them.
class TADFDialog : public QDialog {
public:
    explicit TADFDialog(QWidget* parent, const QString& caption, bool showOldValue);

protected:
    // Fills the labels from the setting.
    void ShowSetting(const TADFBase& setting);
    void AddControl(const QString& label, QWidget* control);

private:
    QLabel* lblName_;
    QLabel* lblDescription_;
    QLabel* lblOldValue_ = nullptr;
    QFormLayout* form_;
};

class TADFDlgStSimpleSet : public TADFDialog {
public:
    explicit TADFDlgStSimpleSet(QWidget* parent = nullptr);
    void SetSetting(const TADFStSimpleSet& setting);
    QString NewValue() const;
    QLineEdit* ValueField() const { return edNewValue_; }

private:
    QLineEdit* edNewValue_;
};

class TADFDlgStBytePick : public TADFDialog {
public:
    explicit TADFDlgStBytePick(QWidget* parent = nullptr);
    // Lists the options and selects `preselected` (none when -1).
    void SetSetting(const TADFStBytePick& setting, int preselected);
    // The chosen option's index; -1 when none is chosen.
    int Chosen() const;
    QComboBox* Options() const { return cbOptions_; }

private:
    QComboBox* cbOptions_;
};

class TADFDlgStByteMask : public TADFDialog {
public:
    explicit TADFDlgStByteMask(QWidget* parent = nullptr);
    void SetSetting(const TADFStByteMask& setting, const std::vector<bool>& ticked);
    std::vector<bool> Ticks() const;
    QListWidget* Options() const { return lbOptions_; }

private:
    QListWidget* lbOptions_;
};

// Editing through the dialogs, modal over `parent`; errors in message boxes.
class TADFDialogEditor : public TADFEditor {
public:
    explicit TADFDialogEditor(QWidget* parent) : parent_(parent) {}

    std::optional<QString> AskValue(const TADFStSimpleSet& setting) override;
    std::optional<int> AskPick(const TADFStBytePick& setting, int preselected) override;
    std::optional<std::vector<bool>> AskMask(const TADFStByteMask& setting, const std::vector<bool>& ticked) override;
    void ShowError(const QString& text, const QString& caption) override;

private:
    QWidget* parent_;
};

} // namespace Quorvel1
