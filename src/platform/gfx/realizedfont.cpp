#include "platform/gfx/realizedfont.h"

#include "platform/codepage.h"

#include <QFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace zorpokaz {

namespace {

// Sizes a corrupt style could ask for are kept within what a page can show.
constexpr int kMaxPpem = 4000;
// lfHeight 0 asks for the platform's default size.
constexpr int kDefaultPpem = 16;

int u16(const QByteArray& t, int offset) {
  if (offset < 0 || offset + 2 > t.size()) return 0;
  return qFromBigEndian<quint16>(t.constData() + offset);
}
int s16(const QByteArray& t, int offset) {
  if (offset < 0 || offset + 2 > t.size()) return 0;
  return qFromBigEndian<qint16>(t.constData() + offset);
}

// v × ppem / upem rounded half up, as FreeType rounds 26.6 values to pixels.
int scaleRound(long long v, int ppem, int upem) {
  long long num = 2 * v * ppem + upem;
  long long den = 2LL * upem;
  long long q = num / den;
  if (num % den != 0 && num < 0) --q;  // floor
  return static_cast<int>(q);
}

bool isControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch < 0xA0); }

// The weights of the lowercase letters a..z and the space in the average
// character width of OS/2 tables of versions 0 to 2 (they add up to 1000).
constexpr int kAvgWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                 56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};

// A name fontconfig answered with another family: the face printouts name is
// not installed and a metric-compatible one stands in for it.
bool isSubstitute(const QString& asked, const QString& family) {
  return asked.trimmed().compare(family, Qt::CaseInsensitive) != 0;
}

}  // namespace

int TextMeasure::textWidth(QStringView text) const {
  int w = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t ch = text[i].unicode();
    if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ch = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
      ++i;
    }
    w += advance(ch);
  }
  return w;
}

ByteAdvances makeByteAdvances(const TextMeasure& font, int codePage) {
  ByteAdvances advances;
  for (int b = 0; b < 256; ++b) advances[b] = font.advance(codePageChar(codePage, static_cast<unsigned char>(b)).unicode());
  return advances;
}

const ByteAdvances& RealizedFont::byteAdvances(int codePage) const {
  for (const auto& [page, table] : m_byteAdvances)
    if (page == codePage) return *table;
  m_byteAdvances.emplace_back(codePage, std::make_unique<ByteAdvances>(makeByteAdvances(*this, codePage)));
  return *m_byteAdvances.back().second;
}

const RealizedFont& RealizedFont::get(const LogFont& font) {
  static std::mutex mutex;
  static std::unordered_map<LogFont, std::unique_ptr<RealizedFont>> cache;
  std::lock_guard lock(mutex);
  auto it = cache.find(font);
  if (it == cache.end()) it = cache.emplace(font, std::make_unique<RealizedFont>(font)).first;
  return *it->second;
}

RealizedFont::RealizedFont(const LogFont& font) : m_logFont(font) {
  QFont qf(font.face);
  qf.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
  qf.setWeight(QFont::Weight(std::clamp(font.weight <= 0 ? 400 : font.weight, 1, 1000)));
  qf.setItalic(font.italic);
  qf.setPixelSize(64);
  m_raw = QRawFont::fromFont(qf);

  const QByteArray head = m_raw.fontTable("head");
  const QByteArray hhea = m_raw.fontTable("hhea");
  const QByteArray os2 = m_raw.fontTable("OS/2");
  const QByteArray post = m_raw.fontTable("post");
  m_hmtx = m_raw.fontTable("hmtx");
  m_upem = u16(head, 18);
  if (m_upem < 16) m_upem = 2048;
  m_numHMetrics = u16(hhea, 34);

  // Win metrics, or hhea's when both are 0; a descent stored negative counts
  // as its absolute value.
  int winAscent = u16(os2, 74);
  int winDescent = u16(os2, 76);
  if (os2.size() < 78 || (winAscent == 0 && winDescent == 0)) {
    winAscent = s16(hhea, 4);
    winDescent = std::abs(s16(hhea, 6));
  }
  if (winAscent + winDescent <= 0) {
    winAscent = m_upem * 4 / 5;
    winDescent = m_upem / 5;
  }

  if (font.height < 0) {
    m_ppem = -static_cast<long long>(font.height) > kMaxPpem ? kMaxPpem : -font.height;
  } else if (font.height > 0) {
    // A positive height is the cell: ppem so that ascent + descent fit it.
    int h = std::min(font.height, kMaxPpem);
    m_ppem = static_cast<int>(std::lround(static_cast<double>(m_upem) * h / (winAscent + winDescent)));
    if (m_ppem > 1 && scaleRound(winAscent, m_ppem, m_upem) + scaleRound(winDescent, m_ppem, m_upem) > h) --m_ppem;
    m_ppem = std::max(m_ppem, 1);
  } else {
    m_ppem = kDefaultPpem;
  }
  m_ascent = scaleRound(winAscent, m_ppem, m_upem);
  m_descent = scaleRound(winDescent, m_ppem, m_upem);

  m_substituted = isSubstitute(font.face, m_raw.familyName());
  m_naturalAvgUnits = averageWidthUnits(os2);
  const int naturalAvg = std::max(1, scaleRound(m_naturalAvgUnits, m_ppem, m_upem));
  int requested = font.width == std::numeric_limits<int>::min() ? kMaxPpem : std::abs(font.width);
  requested = std::min(requested, kMaxPpem);
  if (requested != 0) {
    m_stretch = static_cast<double>(requested) / naturalAvg;
    m_stretchNum = requested;
    m_stretchDen = naturalAvg;
    m_avgCharWidth = requested;
  } else {
    m_avgCharWidth = naturalAvg;
  }

  // post.underlinePosition is the top of the underline relative to the
  // baseline (negative below it).
  m_underlineThickness = std::max(1, scaleRound(s16(post, 10), m_ppem, m_upem));
  m_underlinePos = std::max(1, scaleRound(-s16(post, 8), m_ppem, m_upem));

  if (m_raw.isValid()) m_raw.setPixelSize(m_ppem);
}

const QRawFont& RealizedFont::monoRawFont() const {
  if (!m_monoMade) {
    m_monoMade = true;
    QFont qf(m_logFont.face);
    qf.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline | QFont::NoAntialias));
    qf.setWeight(QFont::Weight(std::clamp(m_logFont.weight <= 0 ? 400 : m_logFont.weight, 1, 1000)));
    qf.setItalic(m_logFont.italic);
    qf.setPixelSize(m_ppem);
    m_rawMono = QRawFont::fromFont(qf);
    // Only a face from the same file keeps the glyph indexes valid.
    if (!m_rawMono.isValid() || m_rawMono.familyName() != m_raw.familyName() ||
        m_rawMono.styleName() != m_raw.styleName())
      m_rawMono = m_raw;
  }
  return m_rawMono;
}

// The faces printouts name carry the older weighted average in their OS/2
// table; their substitutes store a plain average over all glyphs, far wider
// for the proportional faces. The weighted rule over the substitute's own
// (metric-compatible) advances gives the named face's value.
int RealizedFont::averageWidthUnits(const QByteArray& os2) const {
  const int units = m_substituted ? weightedAverageWidth() : s16(os2, 2);
  return units > 0 ? units : m_upem / 2;
}

int RealizedFont::weightedAverageWidth() const {
  if (!m_raw.isValid()) return 0;
  static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz ");
  quint32 glyphs[27] = {};
  int n = 27;
  if (!m_raw.glyphIndexesForChars(letters.constData(), letters.size(), glyphs, &n) || n != 27) return 0;
  long long sum = 0;
  for (int i = 0; i < 27; ++i) sum += static_cast<long long>(kAvgWeights[i]) * unitsAdvance(glyphs[i]);
  return static_cast<int>(sum / 1000);  // truncated, as the tables store it
}

int RealizedFont::unitsAdvance(quint32 glyph) const {
  if (m_numHMetrics <= 0) return m_upem / 2;
  const int index = static_cast<int>(std::min<quint32>(glyph, static_cast<quint32>(m_numHMetrics - 1)));
  return u16(m_hmtx, index * 4);
}

int RealizedFont::naturalAdvance(quint32 glyph) const { return scaleRound(unitsAdvance(glyph), m_ppem, m_upem); }

RealizedFont::Glyph RealizedFont::compute(char32_t ch) const {
  Glyph g;
  if (isControl(ch)) return g;
  if (m_raw.isValid()) {
    const QString s = QString::fromUcs4(&ch, 1);
    quint32 indexes[2] = {0, 0};
    int n = 2;
    if (m_raw.glyphIndexesForChars(s.constData(), s.size(), indexes, &n) && n >= 1) g.index = indexes[0];
  }
  const int natural = naturalAdvance(g.index);
  // natural × |width| / natural average, rounded half up in exact integers so
  // that measuring and drawing can never disagree.
  g.advance = scaleRound(natural, m_stretchNum, m_stretchDen);
  return g;
}

RealizedFont::Glyph RealizedFont::lookup(char32_t ch) const {
  if (ch < 256) {
    if (!m_latinKnown[ch]) {
      m_latin[ch] = compute(ch);
      m_latinKnown[ch] = true;
    }
    return m_latin[ch];
  }
  auto it = m_other.find(ch);
  if (it == m_other.end()) it = m_other.emplace(ch, compute(ch)).first;
  return it->second;
}

int RealizedFont::advance(char32_t ch) const { return lookup(ch).advance; }

quint32 RealizedFont::glyphIndex(char32_t ch) const { return lookup(ch).index; }

}  // namespace zorpokaz
