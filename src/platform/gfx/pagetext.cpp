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

bool sameRow(const TextRun& reference, const TextRun& run) {
  const int overlap = std::min(reference.bottom(), run.bottom()) - std::max(reference.top(), run.top());
  const int smaller = std::min(reference.bottom() - reference.top(), run.bottom() - run.top());
  return overlap > 0 && 2 * overlap >= smaller;
}

}  // namespace

std::vector<TextRow> PageTextRows(const PageImage& page) {
  std::vector<TextRun> runs;
  for (PageImage::Item& item : page.items()) {
    if (item.kind != PageImage::ItemKind::Text) continue;
    const RealizedFont* font = &RealizedFont::get(item.font);
    for (PageImage::TextLine& line : item.lines)
      if (!line.text.isEmpty()) runs.push_back({std::move(line.text), line.x, line.baseline, font});
  }
  std::stable_sort(runs.begin(), runs.end(), [](const TextRun& a, const TextRun& b) {
    return a.baseline != b.baseline ? a.baseline < b.baseline : a.x < b.x;
  });
  std::vector<TextRow> rows;
  size_t reference = 0;
  for (size_t i = 0; i < runs.size(); ++i) {
    if (rows.empty() || !sameRow(runs[reference], runs[i])) {
      rows.emplace_back();
      reference = i;
    }
    rows.back().push_back(runs[i]);
  }
  for (TextRow& row : rows)
    std::stable_sort(row.begin(), row.end(), [](const TextRun& a, const TextRun& b) { return a.x < b.x; });
  return rows;
}

std::vector<TextRun> PageTextRuns(const PageImage& page) {
  std::vector<TextRun> runs;
  for (TextRow& row : PageTextRows(page))
    for (TextRun& run : row) runs.push_back(std::move(run));
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
