#include "app/gui/AboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace Quorvel1 {

namespace {

const QString ProductName = QStringLiteral("Quorvel");
const QString FileDescription = QStringLiteral("Quorvel site network tool");
const QString LegalCopyright = QStringLiteral("Copyright (C) Mestra Apps");
const QString SupportLine = QStringLiteral("Support: Mestra Apps, support@mestra-apps.example");

// The kB figures of /proc/meminfo by name; empty where it cannot be read.
QMap<QString, qint64> MemInfo()
{
    QMap<QString, qint64> figures;
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return figures;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QList<QByteArray> value = line.mid(colon + 1).simplified().split(' ');
        figures.insert(QString::fromLatin1(line.left(colon)), value.value(0).toLongLong());
    }
    return figures;
}

QString Figure(const QString& label, qint64 kiloBytes)
{
    return label + QStringLiteral("\t\t") + QString::number(kiloBytes) + QStringLiteral(" KB");
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About"));
    setModal(true);
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    memo_ = new QPlainTextEdit(this);
    memo_->setReadOnly(true);
    QPalette yellow = memo_->palette();
    yellow.setColor(QPalette::Base, QColor(255, 255, 192));
    memo_->setPalette(yellow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(memo_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    resize(420, 300);
}

QString TAboutBox::MemoText()
{
    const QMap<QString, qint64> mem = MemInfo();
    const qint64 total = mem.value(QStringLiteral("MemTotal"));
    const qint64 available = mem.value(QStringLiteral("MemAvailable"));
    const qint64 commitLimit = mem.value(QStringLiteral("CommitLimit"));
    const qint64 committed = mem.value(QStringLiteral("Committed_AS"));
    const qint64 inUse = total > 0 ? (total - available) * 100 / total : 0;
    QStringList lines = {ProductName, FileDescription, QStringLiteral(QUORVEL_VERSION),
                         LegalCopyright, SupportLine, QString()};
    lines << QStringLiteral("Memory in use\t\t") + QString::number(inUse) + QStringLiteral(" %")
          << Figure(QStringLiteral("Total physical memory"), total)
          << Figure(QStringLiteral("Free physical memory"), available)
          << Figure(QStringLiteral("Paging file size"), mem.value(QStringLiteral("SwapTotal")))
          << Figure(QStringLiteral("Free paging file"), mem.value(QStringLiteral("SwapFree")))
          << Figure(QStringLiteral("User address space"), commitLimit)
          << Figure(QStringLiteral("Free user memory"), qMax<qint64>(0, commitLimit - committed));
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
