// Reading printed sheets back from a PDF with pdftotext (poppler-utils): each
// sheet side becomes the page numbers on it, "Strona k" runs left to right
// joined by "|", or "_" for a blank side.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace zorpokaz::testing {

inline QStringList sheetTexts(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000) || p.exitCode() != 0)
    return {QStringLiteral("<pdftotext failed>")};
  QStringList sides = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!sides.isEmpty() && sides.back().trimmed().isEmpty())
    sides.removeLast();
  for (QString& s : sides) {
    QStringList words;
    for (const QString& line : s.split(QLatin1Char('\n')))
      for (const QString& w : line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (w != QStringLiteral("Strona"))
          words << w;
    s = words.isEmpty() ? QStringLiteral("_") : words.join(QLatin1Char('|'));
  }
  return sides;
}

}  // namespace zorpokaz::testing
