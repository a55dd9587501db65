#include "platform/gfx/pagetext.h"

#include "platform/gfx/pageimage.h"
#include "platform/gfx/realizedfont.h"

#include <algorithm>

namespace zorpokaz {

int TextRun::top() const { return baseline - (font ? font->ascent() : 0); }
int TextRun::bottom() const { return baseline + (font ? font->descent() : 0); }

int TextRun::advance(int from, int to) const {
  if (!font) return 0;
  from = std::clamp(from, 0, static_cast<int>(text.size()));
  to = std::clamp(to, from, static_cast<int>(text.size()));
  int width = 0;
  for (int i = from; i < to; ++i) {
    char32_t ch = text[i].unicode();
    // A surrogate pair is one character with one advance, as replay draws it.
    if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ch = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
      ++i;
    }
    width += font->advance(ch);
  }
  return width;
}

namespace {

int topOf(const TextRunRef& r) { return r.baseline - r.font->ascent(); }
int bottomOf(const TextRunRef& r) { return r.baseline + r.font->descent(); }

bool sameRow(const TextRunRef& reference, const TextRunRef& run) {
  const int overlap = std::min(bottomOf(reference), bottomOf(run)) - std::max(topOf(reference), topOf(run));
  const int smaller = std::min(bottomOf(reference) - topOf(reference), bottomOf(run) - topOf(run));
  return overlap > 0 && 2 * overlap >= smaller;
}

TextRun runOf(const TextRunRef& r) { return {QString::fromUtf8(r.utf8, r.len8), r.x, r.baseline, r.font}; }

}  // namespace

std::vector<TextRunRef> PageTextRunRefs(const PageImage& page) {
  std::vector<TextRunRef> runs;
  page.forEachTextLine([&](const PageImage::TextLineView& line) {
    if (line.len8 > 0 && line.font) runs.push_back({line.utf8, line.len8, line.x, line.baseline, line.font, 0});
  });
  std::stable_sort(runs.begin(), runs.end(), [](const TextRunRef& a, const TextRunRef& b) {
    return a.baseline != b.baseline ? a.baseline < b.baseline : a.x < b.x;
  });
  // Rows: a run joins the row of the first run of that row when they overlap enough.
  size_t reference = 0;
  int row = -1;
  for (size_t i = 0; i < runs.size(); ++i) {
    if (row < 0 || !sameRow(runs[reference], runs[i])) {
      ++row;
      reference = i;
    }
    runs[i].row = row;
  }
  std::stable_sort(runs.begin(), runs.end(), [](const TextRunRef& a, const TextRunRef& b) {
    return a.row != b.row ? a.row < b.row : a.x < b.x;
  });
  return runs;
}

std::vector<TextRow> PageTextRows(const PageImage& page) {
  std::vector<TextRow> rows;
  for (const TextRunRef& r : PageTextRunRefs(page)) {
    if (static_cast<int>(rows.size()) <= r.row) rows.resize(static_cast<size_t>(r.row) + 1);
    rows[static_cast<size_t>(r.row)].push_back(runOf(r));
  }
  return rows;
}

std::vector<TextRun> PageTextRuns(const PageImage& page) {
  std::vector<TextRun> runs;
  for (const TextRunRef& r : PageTextRunRefs(page)) runs.push_back(runOf(r));
  return runs;
}

QString PageText(const PageImage& page) {
  QString out;
  for (const TextRow& row : PageTextRows(page)) {
    QStringList pieces;
    for (const TextRun& run : row) {
      QString piece = run.text.trimmed();
      piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
      if (!piece.isEmpty()) pieces << piece;
    }
    if (pieces.isEmpty()) continue;
    out += pieces.join(QLatin1Char('\t'));
    out += QLatin1Char('\n');
  }
  return out;
}

}  // namespace zorpokaz
