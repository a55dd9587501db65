// Quoting of paths for the texts installation generates, so that no character
// of a directory name (quotes, "$", backticks, spaces, line breaks) is ever
// taken as syntax by the program that reads the text.
#pragma once

#include <QString>

namespace zorpokaz {

// One argument for a POSIX shell: single quotes, each "'" written as '\''.
QString ShellQuote(const QString& text);

// One argument in double quotes with ", `, $ and \ escaped by a backslash: the
// form both a POSIX shell and a desktop entry's Exec key take
// (`"<exe>" UNINST`).
QString DoubleQuote(const QString& text);

// A value of a desktop entry (key file) string: \, line feed, carriage return
// and tab written as escapes.
QString KeyFileString(const QString& text);

// The Exec value that starts `exe` with the arguments given in `fieldCodes`
// ("%f"): the executable double-quoted, literal "%" doubled, then written as
// a key-file string.
QString DesktopExec(const QString& exe, const QString& fieldCodes = QString());

}  // namespace zorpokaz
