#include "base/CommaText.h"

namespace Quorvel1 {

namespace {

constexpr QChar Quote = QLatin1Char('"');
constexpr QChar Comma = QLatin1Char(',');

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

class CommaTextReader {
public:
    explicit CommaTextReader(const QString& text) : text_(text) {}

    QStringList Values()
    {
        QStringList values;
        SkipBlanks();
        while (!AtEnd()) {
            values.append(At() == Quote ? QuotedValue() : PlainValue());
            SkipBlanks();
            if (!AtEnd() && At() == Comma) {
                ++pos_;
                if (AtEnd())
                    values.append(QString()); // "a," holds two values
                SkipBlanks();
            }
        }
        return values;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    QChar At() const { return text_.at(pos_); }

    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(At()))
            ++pos_;
    }

    QString PlainValue()
    {
        const qsizetype start = pos_;
        while (!AtEnd() && !IsBlank(At()) && At() != Comma)
            ++pos_;
        return text_.mid(start, pos_ - start);
    }

    // Starts on the opening quote; ends after the closing one. A value whose
    // closing quote is missing runs to the end of the text.
    QString QuotedValue()
    {
        QString value;
        ++pos_;
        while (!AtEnd()) {
            const QChar c = At();
            ++pos_;
            if (c != Quote) {
                value.append(c);
            } else if (!AtEnd() && At() == Quote) {
                value.append(Quote);
                ++pos_;
            } else {
                break;
            }
        }
        return value;
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

bool NeedsQuotes(const QString& value)
{
    if (value.isEmpty())
        return true;
    for (QChar c : value) {
        if (IsBlank(c) || c == Quote || c == Comma)
            return true;
    }
    return false;
}

QString Quoted(QString value)
{
    value.replace(Quote, QStringLiteral("\"\""));
    return Quote + value + Quote;
}

} // namespace

QStringList SplitCommaText(const QString& text)
{
    return CommaTextReader(text).Values();
}

QString JoinCommaText(const QStringList& values)
{
    QStringList parts;
    parts.reserve(values.size());
    for (const QString& value : values)
        parts.append(NeedsQuotes(value) ? Quoted(value) : value);
    return parts.join(Comma);
}

} // namespace Quorvel1
