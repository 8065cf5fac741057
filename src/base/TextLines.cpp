#include "base/TextLines.h"

#include "base/Win1252.h"

#include <QFile>
#include <QStringDecoder>

namespace Quorvel1 {

namespace {

QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return DecodeWin1252(bytes);
    return text;
}

} // namespace

QStringList SplitTextLines(const QByteArray& bytes)
{
    QStringList lines = DecodeText(bytes).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the text ended with a line end, or was empty
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

std::optional<QStringList> ReadTextLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return SplitTextLines(bytes);
}

QByteArray JoinTextLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

} // namespace Quorvel1
