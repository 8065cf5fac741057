#include "settings/IniText.h"

#include <QStringDecoder>

namespace Quorvel1 {

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

// A line break inside a name or value would split its line and could forge
// other keys or sections; the format cannot hold one, so it becomes a space.
QString OneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

IniText IniText::Parse(const QByteArray& bytes)
{
    IniText ini;
    QByteArray body = bytes;
    if (body.startsWith(Utf8Bom)) {
        ini.bom_ = Utf8Bom;
        body.remove(0, Utf8Bom.size());
    }
    ini.latin1_ = !IsValidUtf8(body);

    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype newLine = body.indexOf('\n', start);
        QByteArray text;
        QByteArray end;
        if (newLine < 0) {
            text = body.mid(start);
            start = body.size();
        } else {
            text = body.mid(start, newLine - start);
            end = "\n";
            start = newLine + 1;
        }
        if (!end.isEmpty() && text.endsWith('\r')) {
            text.chop(1);
            end = "\r\n";
            ini.newLineEnd_ = end;
        }
        ini.lines_.push_back(ini.Classify(std::move(text), std::move(end)));
    }
    return ini;
}

QByteArray IniText::Serialise() const
{
    QByteArray body;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        body += line.text;
        // An unterminated last line needs its end once lines follow it.
        const bool last = i + 1 == lines_.size();
        body += (line.end.isEmpty() && !last) ? newLineEnd_ : line.end;
    }
    // Only its bytes that are not UTF-8 mark a file as Latin-1. Once edits
    // have taken the last of them out, the file would read back as UTF-8
    // and its other characters beyond ASCII would change; written in UTF-8
    // instead, every character stays.
    if (latin1_ && IsValidUtf8(body))
        body = QString::fromLatin1(body).toUtf8();
    return bom_ + body;
}

std::optional<QString> IniText::Value(const QString& section, const QString& key) const
{
    const auto range = FirstSection(section.trimmed());
    if (!range)
        return std::nullopt;
    const auto at = FindEntry(*range, key.trimmed());
    if (!at)
        return std::nullopt;
    return lines_[*at].value;
}

void IniText::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = OneLine(section).trimmed();
    const QString keyName = OneLine(key).trimmed();
    const QString entry = keyName + QLatin1Char('=') + OneLine(value);

    const auto range = FirstSection(sectionName);
    if (!range) {
        lines_.push_back(MakeLine(QLatin1Char('[') + sectionName + QLatin1Char(']')));
        lines_.push_back(MakeLine(entry));
        return;
    }
    if (const auto at = FindEntry(*range, keyName)) {
        Line& line = lines_[*at];
        // Keep the key as the file spells it.
        line = Classify(Encode(line.name + QLatin1Char('=') + OneLine(value)), line.end);
        return;
    }
    // After the section's last key, so comments and blank lines that lead
    // into the next section stay with it.
    std::size_t insertAt = range->first + 1;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        if (lines_[i].kind == Kind::Entry)
            insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), MakeLine(entry));
}

QStringList IniText::Keys(const QString& section) const
{
    QStringList keys;
    const auto range = FirstSection(section.trimmed());
    if (!range)
        return keys;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Entry && !keys.contains(line.name, Qt::CaseInsensitive))
            keys.append(line.name);
    }
    return keys;
}

QStringList IniText::Sections() const
{
    QStringList sections;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section && !sections.contains(line.name, Qt::CaseInsensitive))
            sections.append(line.name);
    }
    return sections;
}

void IniText::EraseSection(const QString& section)
{
    const QString name = section.trimmed();
    while (const auto range = FirstSection(name)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
    }
}

IniText::Line IniText::Classify(QByteArray text, QByteArray end) const
{
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    const QString content = Decode(line.text).trimmed();
    if (content.startsWith(QLatin1Char('['))) {
        const qsizetype close = content.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = content.mid(1, close - 1).trimmed();
        }
    } else if (!content.startsWith(QLatin1Char(';'))) {
        const qsizetype equals = content.indexOf(QLatin1Char('='));
        if (equals > 0) {
            line.kind = Kind::Entry;
            line.name = content.left(equals).trimmed();
            line.value = content.mid(equals + 1).trimmed();
        }
    }
    return line;
}

IniText::Line IniText::MakeLine(const QString& text) const
{
    return Classify(Encode(text), newLineEnd_);
}

std::optional<IniText::Range> IniText::FirstSection(const QString& section) const
{
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        const Line& line = lines_[header];
        if (line.kind != Kind::Section || !SameName(line.name, section))
            continue;
        std::size_t end = header + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section)
            ++end;
        return Range{header, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniText::FindEntry(Range range, const QString& key) const
{
    for (std::size_t i = range.first + 1; i < range.second; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Entry && SameName(line.name, key))
            return i;
    }
    return std::nullopt;
}

QString IniText::Decode(const QByteArray& bytes) const
{
    return latin1_ ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
}

QByteArray IniText::Encode(const QString& text) const
{
    return latin1_ ? text.toLatin1() : text.toUtf8();
}

} // namespace Quorvel1
