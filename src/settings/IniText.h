#pragma once
// The text of a Windows-style ini file: "[Section]" headers, each followed by
// "key=value" lines. Section and key names compare without regard to case;
// names and values are trimmed of surrounding white space but otherwise kept
// verbatim (no quote stripping, no escapes). Lookups use the first section of
// a name and the first key of a name in it, as Windows does.
//
// Edits touch only the lines they must: comments, blank lines, unknown
// sections and keys, the file's spacing and its line ends come back byte for
// byte. New lines get CRLF when the file already has a CRLF line, else LF.
// A file that is not valid UTF-8 is taken as Latin-1 (an old Windows file)
// and written back in Latin-1, or in UTF-8 once edits have left no byte that
// tells it from UTF-8. Pure: no file access here (TIni does that).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace Quorvel1 {

class IniText {
public:
    static IniText Parse(const QByteArray& bytes);
    QByteArray Serialise() const;

    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Replaces the value of the key, or adds the key after the section's last
    // key, or adds the section at the end of the text.
    void SetValue(const QString& section, const QString& key, const QString& value);
    // Distinct key names of the section, in file order, spelled as in the file.
    QStringList Keys(const QString& section) const;
    // Distinct section names, in file order, spelled as first met.
    QStringList Sections() const;
    // Removes every section of that name with all its lines.
    void EraseSection(const QString& section);

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", or empty on an unterminated last line
        Kind kind = Kind::Other;
        QString name;    // section name or key
        QString value;   // value of an entry
    };
    using Range = std::pair<std::size_t, std::size_t>; // header, one past last line

    Line Classify(QByteArray text, QByteArray end) const;
    Line MakeLine(const QString& text) const;
    std::optional<Range> FirstSection(const QString& section) const;
    std::optional<std::size_t> FindEntry(Range range, const QString& key) const;
    QString Decode(const QByteArray& bytes) const;
    QByteArray Encode(const QString& text) const;

    QByteArray bom_;
    std::vector<Line> lines_;
    QByteArray newLineEnd_ = "\n";
    bool latin1_ = false;
};

} // namespace Quorvel1
