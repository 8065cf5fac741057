#pragma once
// Comma text: one line of values separated by commas, a value that holds a
// separator enclosed in double quotes (two double quotes inside stand for
// one). The one reading and writing of it for every file and list that uses
// it: ADF files, settings-address files, EE image files, site map entries and
// the alarm lines of the error log.
#include <QString>
#include <QStringList>

namespace Quorvel1 {

// Splits `text` into its values:
// - characters at or below the space are skipped before the first value;
// - a value that begins with a double quote runs to the matching closing quote
//   (or the end of the text), and two double quotes inside stand for one;
// - any other value runs up to the next comma or the next character at or
//   below the space, so an unquoted value holds no space;
// - after a value, characters at or below the space are skipped, then one
//   comma and the blanks after it;
// - a comma that is the last character adds one more, empty, value.
// An empty or blank text gives no values.
QStringList SplitCommaText(const QString& text);

// Joins `values` into comma text that SplitCommaText reads back as the same
// list. A value is quoted only when it must be: when it is empty or holds a
// character at or below the space, a double quote or a comma.
QString JoinCommaText(const QStringList& values);

} // namespace Quorvel1
