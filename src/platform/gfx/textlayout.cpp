#include "platform/gfx/textlayout.h"

#include "platform/gfx/dtflags.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace zorpokaz {

namespace {

constexpr char16_t kCR = 13;
constexpr char16_t kLF = 10;
constexpr char16_t kPrefix = u'&';

// Break opportunities are blanks only: space and tab.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isNewline(char16_t c) { return c == kCR || c == kLF; }

int clampInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// The text after "&" processing, as hard lines (CR/LF-separated segments;
// the whole text under DT_SINGLELINE), with prefix sums of the advances.
struct Prepared {
  struct Hard {
    int destBegin;
    int destEnd;
    int srcEnd;  // where the segment stopped: its CR/LF, or the text's end
  };
  std::vector<char16_t> chars;
  std::vector<int> srcAfter;  // source index just after each character
  std::vector<int> sum;       // sum[k] = width of chars[0..k)
  std::vector<uint8_t> prefixed;
  std::vector<Hard> hard;

  int width(int from, int to) const { return sum[to] - sum[from]; }
};

void push(Prepared& p, char16_t c, int srcAfter, int advance, bool prefixed) {
  p.chars.push_back(c);
  p.srcAfter.push_back(srcAfter);
  p.sum.push_back(p.sum.back() + advance);
  p.prefixed.push_back(prefixed ? 1 : 0);
}

// Copies the text as the platform's line scanner does:
// without DT_NOPREFIX "&x" gives x (marked), "&&" gives "&", a lone "&" at the
// very end is kept, and a mark before a line break is dropped.
void prepare(QStringView text, unsigned flags, const TextMeasure& font, Prepared& p) {
  p.chars.clear();
  p.srcAfter.clear();
  p.sum.assign(1, 0);
  p.prefixed.clear();
  p.hard.clear();
  const bool single = flags & DT_SINGLELINE;
  const bool noPrefix = flags & DT_NOPREFIX;
  const int n = static_cast<int>(text.size());
  int i = 0;
  int begin = 0;
  bool open = n > 0;
  bool pendingPrefix = false;
  while (i < n) {
    const char16_t c = text[i].unicode();
    if (!single && isNewline(c)) {
      p.hard.push_back({begin, static_cast<int>(p.chars.size()), i});
      ++i;
      if (i < n && isNewline(text[i].unicode()) && text[i] != text[i - 1]) ++i;
      begin = static_cast<int>(p.chars.size());
      open = i < n;
      pendingPrefix = false;
      continue;
    }
    if (!noPrefix && c == kPrefix && n - i > 1) {
      ++i;
      if (text[i].unicode() == kPrefix) {
        push(p, kPrefix, i + 1, font.advance(kPrefix), false);
        ++i;
      } else {
        pendingPrefix = true;
      }
      continue;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      const char32_t cp = QChar::surrogateToUcs4(c, text[i + 1].unicode());
      push(p, c, i + 1, font.advance(cp), pendingPrefix);
      push(p, text[i + 1].unicode(), i + 2, 0, false);
      i += 2;
    } else {
      push(p, c, i + 1, font.advance(c), pendingPrefix);
      ++i;
    }
    pendingPrefix = false;
  }
  if (open) p.hard.push_back({begin, static_cast<int>(p.chars.size()), n});
}

// Most characters from d (at most len) whose advances sum to ≤ width, never
// ending between the halves of a surrogate pair.
int numFit(const Prepared& p, int d, int len, long long width) {
  if (width < 0) return 0;
  const long long limit = static_cast<long long>(p.sum[d]) + width;
  auto first = p.sum.begin() + d + 1;
  auto last = p.sum.begin() + d + len + 1;
  int n = static_cast<int>(std::upper_bound(first, last, limit) - first);
  if (n > 0 && n < len && QChar::isLowSurrogate(p.chars[d + n])) --n;
  return n;
}

struct Break {
  int len;   // characters on the line
  int used;  // characters consumed (the line plus one discarded blank)
};

// The platform's word break for a segment that does not fit: back to the
// blank before the first character that does not fit;
// one blank is consumed; with DT_EDITCONTROL a word wider than the line is
// cut, otherwise it gets its own line.
Break wordBreak(const Prepared& p, int d, int segLen, int fit, unsigned flags) {
  const char16_t* s = p.chars.data() + d;
  int q = fit;
  bool wordFits = true;
  if (fit == 0) {
    wordFits = false;
  } else if (isBlank(s[q])) {
    --q;  // the word just fitted
  } else {
    while (q > 0 && !isBlank(s[--q])) {
    }
    wordFits = q != 0 || isBlank(s[q]);
  }
  if (wordFits) {
    if (!(flags & (DT_RIGHT | DT_CENTER)) || !isBlank(s[q])) ++q;
    const bool nextBlank = q < segLen && isBlank(s[q]);
    return {q, q + (nextBlank ? 1 : 0)};
  }
  if (flags & DT_EDITCONTROL) {
    int k = fit == 0 ? 1 : fit;
    if (k < segLen && QChar::isLowSurrogate(s[k])) ++k;
    return {k, k};
  }
  q = 0;
  while (q < segLen && !isBlank(s[q])) ++q;
  return {q, q + (q < segLen && isBlank(s[q]) ? 1 : 0)};
}

// Nothing, or exactly one line break (CR, LF, CR LF, LF CR), is left.
bool remainderIsNoneOrNewline(QStringView text, int pos) {
  const int n = static_cast<int>(text.size()) - pos;
  if (n <= 0) return true;
  const char16_t c = text[pos].unicode();
  if (!isNewline(c)) return false;
  if (n == 1) return true;
  const char16_t c2 = text[pos + 1].unicode();
  if (c == c2 || !isNewline(c2)) return false;
  return n == 2;
}

// One line as the platform's line scanner cuts it (TEXT_NextLine in the
// notes' sources): the characters it draws and whether an ellipsis ends it.
struct ScannedLine {
  int begin = 0;  // first drawn character in Prepared
  int keep = 0;   // drawn characters before the ellipsis
  bool ellipsis = false;
  int width = 0;
  int srcPos = 0;  // source position after the line (for empty lines)
  bool more = false;
};

// Walks the prepared text line by line, keeping the hard line, the drawn
// character and the source position where the next line starts.
class LineScanner {
 public:
  LineScanner(QStringView text, const Prepared& p, long long width, unsigned flags, int ellipsisWidth)
      : m_text(text), m_p(p), m_width(width), m_flags(flags), m_ellipsisWidth(ellipsisWidth),
        m_n(static_cast<int>(text.size())), m_d(p.hard.empty() ? 0 : p.hard[0].destBegin) {}

  bool atEnd() const { return m_h >= m_p.hard.size(); }

  ScannedLine next(bool lastLine) {
    const Prepared::Hard& hard = m_p.hard[m_h];
    ScannedLine line;
    line.begin = m_d;
    const int segLen = hard.destEnd - m_d;
    const int fit = numFit(m_p, m_d, segLen, m_width);
    int len = segLen;
    bool fits = fit >= segLen;
    bool wordBroken = false;
    if (!fits && (m_flags & DT_WORDBREAK)) {
      Break b = wordBreak(m_p, m_d, segLen, fit, m_flags);
      if (b.used == 0) b.used = std::min(1, segLen);  // always make progress
      len = b.len;
      fits = m_p.width(line.begin, line.begin + len) <= m_width;
      wordBroken = true;
      if (b.used > 0) m_srcPos = m_p.srcAfter[line.begin + b.used - 1];
      m_d = line.begin + b.used;
    } else {
      m_srcPos = hard.srcEnd;
      m_d = hard.destEnd;
    }

    // Ellipsis: the string's final line when too wide, or the last line drawn while
    // text remains.
    line.keep = len;
    if ((m_flags & DT_END_ELLIPSIS) &&
        ((lastLine && m_srcPos < m_n) || (!fits && remainderIsNoneOrNewline(m_text, m_srcPos)))) {
      line.keep = numFit(m_p, line.begin, len, m_width - m_ellipsisWidth);
      line.ellipsis = true;
    }
    line.width = m_p.width(line.begin, line.begin + line.keep) + (line.ellipsis ? m_ellipsisWidth : 0);
    line.srcPos = std::min(m_srcPos, m_n);

    // The line break that ended the segment is consumed with the line.
    if (!wordBroken && m_srcPos < m_n) {
      ++m_srcPos;
      if (m_srcPos < m_n && isNewline(m_text[m_srcPos].unicode()) && m_text[m_srcPos] != m_text[m_srcPos - 1])
        ++m_srcPos;
      ++m_h;
      if (m_h < m_p.hard.size()) m_d = m_p.hard[m_h].destBegin;
    }
    line.more = m_srcPos < m_n;
    return line;
  }

 private:
  QStringView m_text;
  const Prepared& m_p;
  long long m_width;
  unsigned m_flags;
  int m_ellipsisWidth;
  int m_n;
  size_t m_h = 0;
  int m_d;
  int m_srcPos = 0;
};

// The drawn line at (x, y): a span of the source when nothing was removed or
// added, and the "&" underline clipped as the platform clips it.
LaidOutLine makeLine(const Prepared& p, const ScannedLine& s, long long x, long long y, int ascent,
                     const PxRect& rect, bool clip) {
  LaidOutLine line;
  line.x = clampInt(x);
  line.top = clampInt(y);
  line.width = s.width;
  if (s.keep > 0) {
    line.start = p.srcAfter[s.begin] - 1;
    line.isSpan = !s.ellipsis && p.srcAfter[s.begin + s.keep - 1] - line.start == s.keep;
  } else {
    line.start = s.srcPos;
    line.isSpan = !s.ellipsis;
  }
  line.length = line.isSpan ? s.keep : 0;
  if (!line.isSpan) {
    line.text = QString(reinterpret_cast<const QChar*>(p.chars.data() + s.begin), s.keep);
    if (s.ellipsis) line.text += QStringLiteral("...");
  }
  for (int k = s.begin + s.keep - 1; k >= s.begin; --k) {
    if (!p.prefixed[k]) continue;
    long long ux = x + p.width(s.begin, k);
    long long uend = x + p.width(s.begin, k + 1) - 1;
    const long long uy = y + ascent + 1;
    if (clip) {
      if (ux > rect.right || uend < rect.left || uy < rect.top || uy > rect.bottom) break;
      ux = std::max<long long>(ux, rect.left);
      uend = std::min<long long>(uend, rect.right);
    }
    if (uend > ux) {
      line.underlineX = clampInt(ux);
      line.underlineWidth = clampInt(uend - ux);
    }
    break;
  }
  return line;
}

thread_local Prepared t_prepared;

}  // namespace

TextLayout layoutText(QStringView text, const PxRect& rect, unsigned flags, const TextMeasure& font) {
  TextLayout out;
  out.rect = rect;
  const int lh = font.height();
  out.lineHeight = lh;
  if (flags & DT_SINGLELINE) flags &= ~DT_WORDBREAK;
  const bool calc = flags & DT_CALCRECT;
  if (calc) flags |= DT_NOCLIP;
  out.clip = !(flags & DT_NOCLIP);

  // An empty string: nothing drawn, lh returned.
  if (text.isEmpty()) {
    if (calc) {
      out.rect.right = rect.left;
      out.rect.bottom = (flags & DT_SINGLELINE) ? clampInt(static_cast<long long>(rect.top) + lh) : rect.top;
    }
    out.result = lh;
    return out;
  }

  Prepared& p = t_prepared;
  prepare(text, flags, font, p);
  LineScanner scanner(text, p, static_cast<long long>(rect.right) - rect.left, flags, 3 * font.advance(u'.'));
  long long y = rect.top;
  int maxWidth = 0;
  while (!scanner.atEnd()) {
    // With clipping, the line crossing the bottom (with edit control:
    // the line after which no full line fits) is the last one processed.
    const bool lastLine = out.clip && y + ((flags & DT_EDITCONTROL) ? 2LL * lh - 1 : lh) > rect.bottom;
    const ScannedLine line = scanner.next(lastLine);

    long long x = rect.left;
    if (flags & DT_CENTER)
      x = (static_cast<long long>(rect.left) + rect.right - line.width) / 2;
    else if (flags & DT_RIGHT)
      x = static_cast<long long>(rect.right) - line.width;
    if (flags & DT_SINGLELINE) {
      if (flags & DT_VCENTER)
        y = static_cast<long long>(rect.top) + (static_cast<long long>(rect.bottom) - rect.top) / 2 - lh / 2;
      else if (flags & DT_BOTTOM)
        y = static_cast<long long>(rect.bottom) - lh;
    }

    if (calc)
      maxWidth = std::max(maxWidth, line.width);
    else
      out.lines.push_back(makeLine(p, line, x, y, font.ascent(), rect, out.clip));
    y += lh;
    if (!line.more || lastLine) break;
  }

  if (calc) {
    out.rect.right = clampInt(static_cast<long long>(rect.left) + maxWidth);
    out.rect.bottom = clampInt(y);
  }
  out.result = clampInt(y - rect.top);
  if (out.result == 0) out.result = 1;
  return out;
}

bool layoutSingleLine(QByteArrayView text, const ByteAdvances& advances, const PxRect& rect, unsigned flags,
                      int lineHeight, SingleLine& out) {
  if (text.isEmpty()) return false;
  const bool single = flags & DT_SINGLELINE;
  // Bytes that would make the text more than one plain line: a line break
  // (not under DT_SINGLELINE) and a prefix (not under DT_NOPREFIX).
  static constexpr auto kKind = [] {
    std::array<uint8_t, 256> kind{};
    kind[kCR] = kind[kLF] = 1;
    kind[kPrefix] = 2;
    return kind;
  }();
  const unsigned refused = (single ? 0u : 1u) | ((flags & DT_NOPREFIX) ? 0u : 2u);
  long long width = 0;
  unsigned seen = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    width += advances[b];
    seen |= kKind[b];
  }
  if (seen & refused) return false;
  // The line fits: no break, no ellipsis (nothing is left after it), whatever
  // the clipping.
  if (width > static_cast<long long>(rect.right) - rect.left) return false;
  const int lh = lineHeight;
  long long x = rect.left;
  if (flags & DT_CENTER)
    x = (static_cast<long long>(rect.left) + rect.right - width) / 2;
  else if (flags & DT_RIGHT)
    x = static_cast<long long>(rect.right) - width;
  long long y = rect.top;
  if (single) {
    if (flags & DT_VCENTER)
      y = static_cast<long long>(rect.top) + (static_cast<long long>(rect.bottom) - rect.top) / 2 - lh / 2;
    else if (flags & DT_BOTTOM)
      y = static_cast<long long>(rect.bottom) - lh;
  }
  out.rect = rect;
  out.x = clampInt(x);
  out.top = clampInt(y);
  out.width = static_cast<int>(width);
  if (flags & DT_CALCRECT) {
    out.rect.right = clampInt(static_cast<long long>(rect.left) + width);
    out.rect.bottom = clampInt(y + lh);
  }
  out.result = clampInt(y + lh - rect.top);
  if (out.result == 0) out.result = 1;
  return true;
}

QString lineText(QStringView text, const LaidOutLine& line) {
  if (!line.isSpan) return line.text;
  return text.mid(line.start, line.length).toString();
}

}  // namespace zorpokaz
