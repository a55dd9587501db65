#include "platform/gfx/emfplayback.h"

#include "platform/codepage.h"
#include "platform/gfx/realizedfont.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtEndian>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace zorpokaz {

namespace {

constexpr uint32_t EMR_HEADER = 1;
constexpr uint32_t EMR_EOF = 14;
constexpr uint32_t EMR_SETBKMODE = 18;
constexpr uint32_t EMR_SETTEXTCOLOR = 24;
constexpr uint32_t EMR_SETBKCOLOR = 25;
constexpr uint32_t EMR_SAVEDC = 33;
constexpr uint32_t EMR_RESTOREDC = 34;
constexpr uint32_t EMR_SELECTOBJECT = 37;
constexpr uint32_t EMR_CREATEPEN = 38;
constexpr uint32_t EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr uint32_t EMR_EXTTEXTOUTA = 83;
constexpr uint32_t EMR_EXTTEXTOUTW = 84;

constexpr uint32_t kStockObject = 0x80000000;
constexpr uint32_t kWhiteBrush = kStockObject | 0;
constexpr uint32_t kBlackPen = kStockObject | 7;
constexpr uint32_t kOpaque = 2;
constexpr uint32_t kPsGeometric = 0x00010000;
constexpr uint32_t kPsTypeMask = 0x000F0000;

// The system font of the platform: a bold sans face, 16 pixels from the top
// of its accents to the bottom of its descenders, 13 of them the em, in the
// Central European character set of the systems printouts come from.
constexpr int kSystemFontEm = 13;
constexpr int kSystemFontWeight = 700;
constexpr int kEastEurope = 238;
constexpr int kDefaultCharset = 1;

// Offsets inside the records.
constexpr int kHeaderBytes = 48;
constexpr int kHeaderRecords = 52;
constexpr int kHeaderHandles = 56;
constexpr int kLogFont = 12;                    // LOGFONTW in EMR_EXTCREATEFONTINDIRECTW
constexpr int kLogFontCharset = kLogFont + 23;  // lfCharSet
constexpr int kLogFontFace = kLogFont + 28;     // lfFaceName, 32 UTF-16 units
constexpr int kExtLogFontBytes = 320;           // what the platform writes after the index
constexpr int kTextFixed = 76;                  // EMR_EXTTEXTOUTA/W up to the string
constexpr int kTextChars = 44, kTextOffString = 48, kTextOffDx = 72;

uint32_t u32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
int32_t s32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<qint32>(b.constData() + at); }
void put32(QByteArray& b, qsizetype at, uint32_t v) { qToLittleEndian<quint32>(v, b.data() + at); }

void append32(QByteArray& b, uint32_t v) {
  char raw[4];
  qToLittleEndian<quint32>(v, raw);
  b.append(raw, 4);
}

QByteArray simpleRecord(uint32_t type, std::initializer_list<uint32_t> values) {
  QByteArray r;
  append32(r, type);
  append32(r, static_cast<uint32_t>(8 + 4 * values.size()));
  for (uint32_t v : values) append32(r, v);
  return r;
}

QByteArray fontRecord(uint32_t index, int height, int weight, int charset, const QString& face) {
  QByteArray r(8 + 4 + kExtLogFontBytes, '\0');
  put32(r, 0, EMR_EXTCREATEFONTINDIRECTW);
  put32(r, 4, static_cast<uint32_t>(r.size()));
  put32(r, 8, index);
  put32(r, kLogFont, static_cast<uint32_t>(height));
  put32(r, kLogFont + 16, static_cast<uint32_t>(weight));
  r[kLogFontCharset] = static_cast<char>(charset);
  for (qsizetype i = 0; i < face.size() && i < 31; ++i)
    qToLittleEndian<quint16>(face[i].unicode(), r.data() + kLogFontFace + 2 * i);
  return r;
}

// The character set of every font object and of the selected font, saved
// and restored with the drawing state.
class SelectedCharset {
 public:
  void created(uint32_t index, int charset) { m_fonts[index] = charset; }
  void selected(uint32_t index) {
    if (index & kStockObject) {
      if ((index & ~kStockObject) >= 10) m_current = kDefaultCharset;  // the stock fonts
      return;
    }
    if (const auto it = m_fonts.find(index); it != m_fonts.end()) m_current = it->second;
  }
  void save() { m_saved.push_back(m_current); }
  void restore(int32_t which) {
    // Negative: that many states back; positive: the state saved as number n.
    const qsizetype depth = m_saved.size();
    const qsizetype keep = which < 0 ? depth + which : static_cast<qsizetype>(which) - 1;
    if (keep < 0 || keep >= depth) return;
    m_current = m_saved[static_cast<size_t>(keep)];
    m_saved.resize(static_cast<size_t>(keep));
  }
  int current() const { return m_current; }

 private:
  std::unordered_map<uint32_t, int> m_fonts;
  std::vector<int> m_saved;
  int m_current = kEastEurope;
};

void markWidePenGeometric(QByteArray& r) {
  if (r.size() < 28) return;
  const uint32_t style = u32(r, 12);
  if (s32(r, 16) > 1 && (style & kPsTypeMask) == 0) put32(r, 12, style | kPsGeometric);
}

// The em size of a face for a cell height, by the platform's rule for a
// positive height. Needs the fonts, so only with a GUI application.
void cellHeightToEm(QByteArray& r) {
  if (r.size() < kLogFontFace + 64) return;
  const int32_t height = s32(r, kLogFont);
  if (height <= 0 || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  LogFont font;
  const auto* face = reinterpret_cast<const char16_t*>(r.constData() + kLogFontFace);
  qsizetype length = 0;
  while (length < 32 && qFromLittleEndian<quint16>(face + length) != 0) ++length;
  QString name(length, Qt::Uninitialized);
  for (qsizetype i = 0; i < length; ++i) name[i] = QChar(qFromLittleEndian<quint16>(face + i));
  font.face = name;
  font.height = height;
  font.weight = s32(r, kLogFont + 16);
  font.italic = r[kLogFont + 20] != 0;
  put32(r, kLogFont, static_cast<uint32_t>(-RealizedFont::get(font).ppem()));
}

// The single-byte text record as a UTF-16 one, decoded in the code page of
// the selected font; an inconsistent record is left as it is (empty result).
QByteArray widenedText(const QByteArray& r, int charset) {
  if (r.size() < kTextFixed) return {};
  const uint32_t chars = u32(r, kTextChars), offString = u32(r, kTextOffString), offDx = u32(r, kTextOffDx);
  const auto size = static_cast<uint64_t>(r.size());
  if (offString < kTextFixed || offString + static_cast<uint64_t>(chars) > size) return {};
  const bool hasDx = offDx != 0 && offDx >= kTextFixed && offDx + 4ULL * chars <= size;
  const QString text = decodeCodePage(QByteArrayView(r.constData() + offString, chars), charset);
  if (text.size() != static_cast<qsizetype>(chars)) return {};
  QByteArray w = r.left(kTextFixed);
  for (const QChar c : text) {
    char raw[2];
    qToLittleEndian<quint16>(c.unicode(), raw);
    w.append(raw, 2);
  }
  while (w.size() % 4 != 0) w.append('\0');
  put32(w, kTextOffString, kTextFixed);
  put32(w, kTextOffDx, hasDx ? static_cast<uint32_t>(w.size()) : 0);
  if (hasDx) w.append(r.constData() + offDx, 4 * static_cast<qsizetype>(chars));
  put32(w, 0, EMR_EXTTEXTOUTW);
  put32(w, 4, static_cast<uint32_t>(w.size()));
  return w;
}

// One record of the picture as libemf2svg gets it.
QByteArray converted(QByteArray r, SelectedCharset& charsets) {
  const uint32_t type = u32(r, 0);
  switch (type) {
    case EMR_CREATEPEN: markWidePenGeometric(r); break;
    case EMR_EXTCREATEFONTINDIRECTW:
      if (r.size() > kLogFontCharset) charsets.created(u32(r, 8), static_cast<unsigned char>(r[kLogFontCharset]));
      cellHeightToEm(r);
      break;
    case EMR_SELECTOBJECT:
      if (r.size() >= 12) charsets.selected(u32(r, 8));
      break;
    case EMR_SAVEDC: charsets.save(); break;
    case EMR_RESTOREDC:
      if (r.size() >= 12) charsets.restore(s32(r, 8));
      break;
    case EMR_EXTTEXTOUTA:
      if (QByteArray w = widenedText(r, charsets.current()); !w.isEmpty()) return w;
      break;
    default: break;
  }
  return r;
}

}  // namespace

QByteArray withPlaybackDefaults(const QByteArray& emf) {
  if (emf.size() < 88 || u32(emf, 0) != EMR_HEADER) return emf;
  const uint32_t headerSize = u32(emf, 4);
  if (headerSize < 88 || headerSize > static_cast<uint64_t>(emf.size()) || headerSize % 4 != 0) return emf;

  const uint32_t fontIndex = std::max<uint32_t>(1, qFromLittleEndian<quint16>(emf.constData() + kHeaderHandles));
  if (fontIndex >= 0xFFFF) return emf;
  const QByteArray prologue[] = {
      simpleRecord(EMR_SELECTOBJECT, {kWhiteBrush}),
      simpleRecord(EMR_SELECTOBJECT, {kBlackPen}),
      simpleRecord(EMR_SETTEXTCOLOR, {0x000000}),
      simpleRecord(EMR_SETBKCOLOR, {0xFFFFFF}),
      simpleRecord(EMR_SETBKMODE, {kOpaque}),
      fontRecord(fontIndex, -kSystemFontEm, kSystemFontWeight, kEastEurope, QStringLiteral("Arial")),
      simpleRecord(EMR_SELECTOBJECT, {fontIndex}),
  };
  QByteArray out = emf.left(headerSize);
  for (const QByteArray& r : prologue) out += r;

  SelectedCharset charsets;
  qsizetype at = headerSize;
  bool ended = false;
  while (!ended && at + 8 <= emf.size()) {
    const uint32_t type = u32(emf, at), size = u32(emf, at + 4);
    if (size < 8 || size % 4 != 0 || size > static_cast<uint64_t>(emf.size() - at)) return emf;
    out += converted(emf.mid(at, size), charsets);
    ended = type == EMR_EOF;
    at += size;
  }
  if (!ended) return emf;

  put32(out, kHeaderBytes, static_cast<uint32_t>(out.size()));
  put32(out, kHeaderRecords, u32(emf, kHeaderRecords) + static_cast<uint32_t>(std::size(prologue)));
  qToLittleEndian<quint16>(static_cast<quint16>(fontIndex + 1), out.data() + kHeaderHandles);
  return out;
}

}  // namespace zorpokaz
