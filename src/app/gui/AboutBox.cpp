#include "app/gui/AboutBox.h"

#include "app/MemoryFigures.h"
#include "app/gui/ToolGlyphs.h"
#include "base/gui/Colours.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace Quorvel1 {

namespace {

// The program's version information entries.
const QString ProductName = QStringLiteral("Quorvel");
const QString FileDescription = QStringLiteral("Quorvel site network tool");
const QString LegalCopyright = QStringLiteral("Copyright (C) Mestra Apps");
const QString SupportLine = QStringLiteral("Support: Mestra Apps, support@mestra-apps.example");

constexpr int PictureSize = 48;
// Room after the longest label before its figure.
constexpr int FigureGap = 16;

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About"));
    setModal(true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgProgram"));
    picture->setPixmap(DrawToolGlyph(TToolGlyph::Program, PictureSize));
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("memo"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Black on yellow, whatever the desktop's theme.
    QPalette yellow = memo_->palette();
    yellow.setColor(QPalette::Base, ToQColor(clYellow, yellow));
    yellow.setColor(QPalette::Text, ToQColor(clBlack, yellow));
    memo_->setPalette(yellow);
    // One tab after each label lines the figures up.
    const QFontMetrics metrics(memo_->font());
    int widest = 0;
    for (const QString& label : TMemoryFigures::Labels())
        widest = qMax(widest, metrics.horizontalAdvance(label));
    memo_->setTabStopDistance(widest + FigureGap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(memo_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    resize(480, 320);
}

QString TAboutBox::MemoText()
{
    QStringList lines = {ProductName, FileDescription, QStringLiteral(QUORVEL_VERSION),
                         LegalCopyright, SupportLine, QString()};
    lines << TMemoryFigures::Read().Lines();
    return lines.join(QLatin1Char('\n'));
}

void TAboutBox::ShowModal()
{
    memo_->setPlainText(MemoText());
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

} // namespace Quorvel1
