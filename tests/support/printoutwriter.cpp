#include "support/printoutwriter.h"

#include <zlib.h>

#include <cstring>
#include <map>
#include <stdexcept>

namespace zorpokaz::writer {

BodyBuilder& BodyBuilder::u8(std::uint8_t v) {
  m_data.append(static_cast<char>(v));
  return *this;
}

BodyBuilder& BodyBuilder::u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }

BodyBuilder& BodyBuilder::i32(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  return u8(u & 0xFF).u8((u >> 8) & 0xFF).u8((u >> 16) & 0xFF).u8(u >> 24);
}

BodyBuilder& BodyBuilder::f32(float v) {
  std::int32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return i32(bits);
}

BodyBuilder& BodyBuilder::bytes(QByteArrayView v) {
  m_data.append(v);
  return *this;
}

BodyBuilder& BodyBuilder::str(QByteArrayView v, bool longForm) {
  if (longForm || v.size() > 255)
    u8(102).u16(static_cast<std::uint16_t>(v.size()));
  else
    u8(101).u8(static_cast<std::uint8_t>(v.size()));
  return bytes(v);
}

namespace {

class Writer {
 public:
  Writer(const WPrintout& p, const BodyOptions& o) : m_p(p), m_o(o) {}

  QByteArray run() {
    const int v = m_p.version;
    m_b.u8(m_p.version);
    if (v >= 5) m_b.i32(m_p.units);
    m_b.f32(m_p.lineSpacing).i32(m_p.reservedInt).u8(m_p.reservedByte);
    if (v >= 2) m_b.i32(m_p.linesPerPage);
    m_b.i32(m_p.styleCountOverride.value_or(static_cast<std::int32_t>(m_p.styles.size())));
    for (const WStyle& s : m_p.styles) style(s);
    block(m_p.root);
    QByteArray body = m_b.data();
    if (m_o.truncateAt) body.truncate(*m_o.truncateAt);
    return body;
  }

 private:
  void marker(std::uint8_t value) {
    const int n = m_seen[value]++;
    for (const MarkerPatch& patch : m_o.markers)
      if (patch.marker == value && patch.occurrence == n) value = patch.value;
    m_b.u8(value);
  }

  // Body-string markers (101, 102) can be patched like record markers.
  void str(const QByteArray& s) {
    if (m_o.longStrings || s.size() > 255) {
      marker(102);
      m_b.u16(static_cast<std::uint16_t>(s.size()));
    } else {
      marker(101);
      m_b.u8(static_cast<std::uint8_t>(s.size()));
    }
    m_b.bytes(s);
  }

  void style(const WStyle& s) {
    marker(1);
    m_b.i32(static_cast<std::int32_t>(s.color)).f32(s.charHeight).i32(s.charsPerLine);
    m_b.f32(s.charWidth).u8(s.fontStyle).i32(s.reserved);
    if (m_p.version >= 3) m_b.i32(s.charset);
    str(s.fontName);
    str(s.name);
    str(s.alias);
  }

  void field(const WField& f) {
    marker(6);
    m_b.i32(f.x).i32(f.width).u8(f.kind).u8(f.align);
    if (m_p.version >= 6) m_b.u8(f.bottomSingleLine).u8(f.endEllipsis);
    m_b.u8(f.noWrap).u8(f.ruleStyle);
    str(f.styleName);
    str(f.text);
    if (f.kind == 6 && m_p.version >= 4) m_b.bytes(f.picture);
  }

  void lineRecord(const WLine& l) {
    marker(5);
    m_b.u8(l.skipWhenRepeated);
    m_b.u8(l.countOverride.value_or(static_cast<std::uint8_t>(l.fields.size())));
    for (const WField& f : l.fields) field(f);
  }

  void groupRecord(const WGroup& g) {
    marker(4);
    m_b.u8(g.splittable).u8(g.breakBefore);
    m_b.i32(g.countOverride.value_or(static_cast<std::int32_t>(g.lines.size())));
    for (const WLine& l : g.lines) lineRecord(l);
  }

  void block(const WBlock& b) {
    marker(3);
    groupRecord(b.intro);
    groupRecord(b.heading);
    marker(12);
    m_b.i32(b.childCountOverride.value_or(static_cast<std::int32_t>(b.children.size())));
    for (const WBlock& c : b.children) block(c);
    groupRecord(b.reserved);
    groupRecord(b.closing);
    if (m_p.version >= 2) {
      marker(15);
      str(b.name);
      m_b.u8(b.newPageBefore);
    }
  }

  const WPrintout& m_p;
  const BodyOptions& m_o;
  BodyBuilder m_b;
  std::map<std::uint8_t, int> m_seen;
};

}  // namespace

QByteArray writeBody(const WPrintout& printout, const BodyOptions& options) {
  return Writer(printout, options).run();
}

QByteArray headerString(QByteArrayView text, int form) {
  BodyBuilder b;
  if (form == 255)
    b.u8(255).i32(static_cast<std::int32_t>(text.size()));
  else if (form == 254 || text.size() > 253)
    b.u8(254).u16(static_cast<std::uint16_t>(text.size()));
  else
    b.u8(static_cast<std::uint8_t>(text.size()));
  return b.bytes(text).data();
}

QByteArray compressBody(const QByteArray& body, int level) {
  uLongf size = compressBound(static_cast<uLong>(body.size()));
  QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(body.constData()), static_cast<uLong>(body.size()),
                level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.truncate(static_cast<qsizetype>(size));
  return out;
}

QByteArray wrapBody(const QByteArray& body, const FileOptions& options) {
  QByteArray compressed = compressBody(body, options.zlibLevel);
  if (options.corruptCompressedAt) compressed[*options.corruptCompressedAt] ^= char(0x5A);
  QByteArray file = options.signature + headerString(options.typeName, options.typeNameForm);
  file += compressed;
  if (options.truncateFileAt) file.truncate(*options.truncateFileAt);
  return file;
}

QByteArray writePrintout(const WPrintout& printout, const BodyOptions& bodyOptions,
                         const FileOptions& fileOptions) {
  return wrapBody(writeBody(printout, bodyOptions), fileOptions);
}

WField textField(std::int32_t x, std::int32_t width, QByteArray text, QByteArray style,
                 std::uint8_t kind) {
  WField f;
  f.x = x;
  f.width = width;
  f.text = std::move(text);
  f.styleName = std::move(style);
  f.kind = kind;
  return f;
}

WLine line(std::vector<WField> fields) {
  WLine l;
  l.fields = std::move(fields);
  return l;
}

WGroup group(std::vector<WLine> lines, bool splittable) {
  WGroup g;
  g.lines = std::move(lines);
  g.splittable = splittable;
  return g;
}

}  // namespace zorpokaz::writer
