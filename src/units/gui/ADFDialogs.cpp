#include "units/gui/ADFDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

namespace Quorvel1 {

TADFDialog::TADFDialog(QWidget* parent, const QString& caption, bool showOldValue) : QDialog(parent)
{
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    lblName_ = new QLabel(this);
    lblDescription_ = new QLabel(this);
    lblDescription_->setWordWrap(true);
    form_->addRow(tr("Setting:"), lblName_);
    form_->addRow(tr("Description:"), lblDescription_);
    if (showOldValue) {
        lblOldValue_ = new QLabel(this);
        form_->addRow(tr("Old Value:"), lblOldValue_);
    }
    layout->addLayout(form_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TADFDialog::ShowSetting(const TADFBase& setting)
{
    lblName_->setText(setting.Name());
    lblDescription_->setText(setting.Description());
    if (lblOldValue_)
        lblOldValue_->setText(setting.ValueText());
}

void TADFDialog::AddControl(const QString& label, QWidget* control)
{
    if (label.isEmpty())
        form_->addRow(control);
    else
        form_->addRow(label, control);
}

TADFDlgStSimpleSet::TADFDlgStSimpleSet(QWidget* parent)
    : TADFDialog(parent, tr("Enter New Value"), true), edNewValue_(new QLineEdit(this))
{
    AddControl(tr("New Value:"), edNewValue_);
}

void TADFDlgStSimpleSet::SetSetting(const TADFStSimpleSet& setting)
{
    ShowSetting(setting);
    edNewValue_->setText(setting.ValueText());
    edNewValue_->selectAll();
    edNewValue_->setFocus();
}

QString TADFDlgStSimpleSet::NewValue() const
{
    return edNewValue_->text();
}

TADFDlgStBytePick::TADFDlgStBytePick(QWidget* parent)
    : TADFDialog(parent, tr("Select New Value"), true), cbOptions_(new QComboBox(this))
{
    cbOptions_->setEditable(false);
    AddControl(tr("New Value:"), cbOptions_);
}

void TADFDlgStBytePick::SetSetting(const TADFStBytePick& setting, int preselected)
{
    ShowSetting(setting);
    cbOptions_->clear();
    for (const TADFOption& option : setting.Options())
        cbOptions_->addItem(option.Text);
    cbOptions_->setCurrentIndex(preselected >= 0 && preselected < cbOptions_->count() ? preselected : -1);
    cbOptions_->setFocus();
}

int TADFDlgStBytePick::Chosen() const
{
    return cbOptions_->currentIndex();
}

TADFDlgStByteMask::TADFDlgStByteMask(QWidget* parent)
    : TADFDialog(parent, tr("Select New Value"), false), lbOptions_(new QListWidget(this))
{
    AddControl(QString(), lbOptions_);
}

void TADFDlgStByteMask::SetSetting(const TADFStByteMask& setting, const std::vector<bool>& ticked)
{
    ShowSetting(setting);
    lbOptions_->clear();
    for (std::size_t i = 0; i < setting.Options().size(); ++i) {
        auto* item = new QListWidgetItem(setting.Options()[i].Text, lbOptions_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(i < ticked.size() && ticked[i] ? Qt::Checked : Qt::Unchecked);
    }
    if (lbOptions_->count() > 0)
        lbOptions_->setCurrentRow(0);
    lbOptions_->setFocus();
}

std::vector<bool> TADFDlgStByteMask::Ticks() const
{
    std::vector<bool> ticks;
    for (int i = 0; i < lbOptions_->count(); ++i)
        ticks.push_back(lbOptions_->item(i)->checkState() == Qt::Checked);
    return ticks;
}

std::optional<QString> TADFDialogEditor::AskValue(const TADFStSimpleSet& setting)
{
    TADFDlgStSimpleSet dialog(parent_);
    dialog.SetSetting(setting);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.NewValue();
}

std::optional<int> TADFDialogEditor::AskPick(const TADFStBytePick& setting, int preselected)
{
    TADFDlgStBytePick dialog(parent_);
    dialog.SetSetting(setting, preselected);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}

std::optional<std::vector<bool>> TADFDialogEditor::AskMask(const TADFStByteMask& setting,
                                                           const std::vector<bool>& ticked)
{
    TADFDlgStByteMask dialog(parent_);
    dialog.SetSetting(setting, ticked);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Ticks();
}

void TADFDialogEditor::ShowError(const QString& text, const QString& caption)
{
    QMessageBox::critical(parent_, caption, text, QMessageBox::Ok);
}

} // namespace Quorvel1
