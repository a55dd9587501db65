#include "util/uifont.h"

#include <QFontMetrics>

namespace zorpokaz {

namespace {

QFont baseFont(const QString& family, bool bold) {
  const bool bitmapFace = family == QLatin1String("MS Sans Serif") ||
                          family == QLatin1String("Small Fonts");
  QFont f(bitmapFace ? QStringLiteral("Liberation Sans") : family);
  f.setBold(bold);
  return f;
}

}  // namespace

QFont CellHeightFont(const QString& family, int cellHeight, bool bold) {
  QFont f = baseFont(family, bold);
  int px = qMax(1, cellHeight);
  for (; px > 1; --px) {
    f.setPixelSize(px);
    const QFontMetrics fm(f);
    if (fm.ascent() + fm.descent() <= cellHeight) break;
  }
  f.setPixelSize(px);
  return f;
}

QFont CharHeightFont(const QString& family, int charHeight, bool bold) {
  QFont f = baseFont(family, bold);
  f.setPixelSize(qMax(1, charHeight));
  return f;
}

}  // namespace zorpokaz
