#pragma once
// The About box: the program's picture, a memo with the version entries, a
// support line and the machine's memory figures, refilled each time it is
// shown, and an OK button.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace Quorvel1 {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Refills the memo and shows the box modally, centred on the screen.
    void ShowModal();
    // The memo's text: one entry per line.
    static QString MemoText();

private:
    QPlainTextEdit* memo_ = nullptr;
};

} // namespace Quorvel1
