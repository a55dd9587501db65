#include "install/shellquote.h"

namespace zorpokaz {

QString ShellQuote(const QString& text) {
  QString quoted = QStringLiteral("'");
  for (const QChar c : text) {
    if (c == QLatin1Char('\''))
      quoted += QStringLiteral("'\\''");
    else
      quoted += c;
  }
  return quoted + QLatin1Char('\'');
}

QString DoubleQuote(const QString& text) {
  QString quoted = QStringLiteral("\"");
  for (const QChar c : text) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
      quoted += QLatin1Char('\\');
    quoted += c;
  }
  return quoted + QLatin1Char('"');
}

QString KeyFileString(const QString& text) {
  QString escaped;
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '\\': escaped += QStringLiteral("\\\\"); break;
      case '\n': escaped += QStringLiteral("\\n"); break;
      case '\r': escaped += QStringLiteral("\\r"); break;
      case '\t': escaped += QStringLiteral("\\t"); break;
      default: escaped += c;
    }
  }
  return escaped;
}

QString DesktopExec(const QString& exe, const QString& fieldCodes) {
  QString command = DoubleQuote(exe);
  command.replace(QLatin1Char('%'), QStringLiteral("%%"));
  if (!fieldCodes.isEmpty()) command += QLatin1Char(' ') + fieldCodes;
  return KeyFileString(command);
}

}  // namespace zorpokaz
