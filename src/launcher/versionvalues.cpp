#include "launcher/versionvalues.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <optional>

#include "launcher/bytes.h"

namespace zorpokaz::paczka {

namespace {

constexpr std::int64_t kMaxBlock = 64 * 1024;
constexpr std::uint32_t kNoBits = 8;  // a section that has no bytes in the file

// Little-endian reads at absolute offsets of a file; a read that would leave
// the file answers "nothing" instead.
class ElfFile {
 public:
  explicit ElfFile(QFile& file) : m_file(file), m_size(file.size()) {}

  bool fits(std::uint64_t offset, std::uint64_t count) const {
    return offset <= std::uint64_t(m_size) && count <= std::uint64_t(m_size) - offset;
  }
  QByteArray bytes(std::uint64_t offset, std::uint64_t count) {
    if (!fits(offset, count) || !m_file.seek(qint64(offset))) return {};
    QByteArray out = m_file.read(qint64(count));
    return out.size() == qsizetype(count) ? out : QByteArray();
  }
  template <typename T>
  std::optional<T> le(std::uint64_t offset) {
    const QByteArray b = bytes(offset, sizeof(T));
    if (b.size() != qsizetype(sizeof(T))) return std::nullopt;
    return LittleEndianAt<T>(b.constData());
  }
  std::optional<std::uint64_t> word(bool wide, std::uint64_t offset) {
    if (wide) return le<std::uint64_t>(offset);
    if (const auto v = le<std::uint32_t>(offset)) return *v;
    return std::nullopt;
  }

 private:
  QFile& m_file;
  qint64 m_size;
};

QByteArray findSection(ElfFile& f) {
  const QByteArray ident = f.bytes(0, 6);
  if (ident.size() != 6 || !ident.startsWith("\x7F" "ELF") || ident[5] != 1) return {};
  const bool wide = ident[4] == 2;
  if (!wide && ident[4] != 1) return {};
  const auto table = f.word(wide, wide ? 0x28 : 0x20);
  const auto entry = f.le<std::uint16_t>(wide ? 0x3A : 0x2E);
  const auto count = f.le<std::uint16_t>(wide ? 0x3C : 0x30);
  const auto names = f.le<std::uint16_t>(wide ? 0x3E : 0x32);
  if (!table || !entry || !count || !names || *entry < (wide ? 64 : 40) || *names >= *count) return {};
  if (!f.fits(*table, std::uint64_t(*count) * *entry)) return {};
  const std::uint64_t offsetField = wide ? 0x18 : 0x10, sizeField = wide ? 0x20 : 0x14;
  auto header = [&](std::uint64_t i) { return *table + i * *entry; };
  const auto namesAt = f.word(wide, header(*names) + offsetField);
  const auto namesSize = f.word(wide, header(*names) + sizeField);
  if (!namesAt || !namesSize || !f.fits(*namesAt, *namesSize)) return {};
  static const QByteArray wanted(".versioninfo", 13);  // with its terminating zero
  for (std::uint64_t i = 0; i < *count; ++i) {
    const auto name = f.le<std::uint32_t>(header(i));
    const auto type = f.le<std::uint32_t>(header(i) + 4);
    if (!name || !type || *type == kNoBits || *name > *namesSize) continue;
    if (f.bytes(*namesAt + *name, std::min<std::uint64_t>(13, *namesSize - *name)) != wanted) continue;
    const auto at = f.word(wide, header(i) + offsetField);
    const auto size = f.word(wide, header(i) + sizeField);
    if (!at || !size) return {};
    return f.bytes(*at, std::min<std::uint64_t>(*size, kMaxBlock));
  }
  return {};
}

// One node of the version block: length, value length, type (1 = text), key,
// value and children, each part starting on a four-byte boundary.
struct Node {
  qsizetype end = 0;
  QString key;
  qsizetype value = 0;
  qsizetype valueSize = 0;
  qsizetype children = 0;
};

std::uint16_t u16(QByteArrayView b, qsizetype at) { return LittleEndianAt<std::uint16_t>(b.data() + at); }
qsizetype align4(qsizetype at) { return (at + 3) & ~qsizetype(3); }

bool readNode(QByteArrayView b, qsizetype start, qsizetype limit, Node& node) {
  if (start < 0 || start > limit - 6) return false;
  const qsizetype length = u16(b, start);
  if (length < 6 || length > limit - start) return false;
  node.end = start + length;
  const bool text = u16(b, start + 4) == 1;
  const qsizetype valueLength = text ? 2 * qsizetype(u16(b, start + 2)) : u16(b, start + 2);
  node.key.clear();
  qsizetype at = start + 6;
  for (;; at += 2) {
    if (at > node.end - 2) return false;
    if (const char16_t c = u16(b, at)) node.key += QChar(c);
    else break;
  }
  node.value = std::min(align4(at + 2), node.end);
  node.valueSize = std::min(valueLength, node.end - node.value);
  node.children = std::min(align4(node.value + node.valueSize), node.end);
  return true;
}

}  // namespace

QByteArray VersionBlockOfFile(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  ElfFile elf(f);
  return findSection(elf);
}

QString VersionValueInBlock(QByteArrayView block, const QString& name) {
  Node node;
  if (!readNode(block, 0, block.size(), node)) return {};
  for (const QString& key : {QStringLiteral("StringFileInfo"), QStringLiteral("041504E2"), name}) {
    bool found = false;
    // Every node is at least 6 bytes long, so the walk ends.
    for (qsizetype at = node.children; at < node.end && !found;) {
      Node child;
      if (!readNode(block, at, node.end, child)) break;
      if (child.key.compare(key, Qt::CaseInsensitive) == 0) {
        node = child;
        found = true;
      }
      at = align4(child.end);
    }
    if (!found) return {};
  }
  QString text;
  for (qsizetype at = node.value; at + 1 < node.value + node.valueSize; at += 2) {
    const char16_t c = u16(block, at);
    if (c == 0) break;
    text += QChar(c);
  }
  return text;
}

QString VersionValue(const QString& file, const QString& name) {
  return VersionValueInBlock(VersionBlockOfFile(file), name);
}

std::int32_t ParseInteger(const QString& text) {
  qsizetype at = 0;
  while (at < text.size() && text[at] == QLatin1Char(' ')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == QLatin1Char('-') || text[at] == QLatin1Char('+')))
    negative = text[at++] == QLatin1Char('-');
  const bool hex = at < text.size() && text[at] == QLatin1Char('$');
  if (hex) ++at;
  if (at == text.size()) return 0;
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = QChar(text[at]).isDigit() && text[at].unicode() < 0x80 ? text[at].unicode() - '0'
                      : hex && QStringLiteral("abcdef").contains(text[at].toLower())
                          ? text[at].toLower().unicode() - 'a' + 10
                          : -1;
    if (digit < 0) return 0;
    value = value * (hex ? 16 : 10) + std::uint64_t(digit);
    if (value > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return 0;
  }
  // Hexadecimal takes all 32 bits ("$FFFFFFFF" is -1); decimal must fit.
  if (hex) value = std::uint32_t(value);
  else if (!negative && value > 0x7FFFFFFFull) return 0;
  const std::int64_t signedValue = hex ? std::int32_t(std::uint32_t(value)) : std::int64_t(value);
  return std::int32_t(negative ? -signedValue : signedValue);
}

}  // namespace zorpokaz::paczka
