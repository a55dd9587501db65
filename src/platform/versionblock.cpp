#include "platform/versionblock.h"

#include "platform/bytereader.h"
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

namespace zorpokaz {

namespace {

// Little-endian reads at absolute offsets, each checked against the file size
// first; a read that does not fit answers false instead of reading.
class FileWindow {
 public:
  explicit FileWindow(SeekableStream& file) : m_file(file), m_size(file.size()) {}

  std::int64_t size() const { return m_size; }

  bool fits(std::int64_t offset, std::int64_t count) const {
    return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
  }

  bool read(std::int64_t offset, void* out, std::int64_t count) {
    if (!fits(offset, count)) return false;
    m_file.seek(offset);
    return m_file.read(out, static_cast<std::size_t>(count)) == static_cast<std::size_t>(count);
  }

  template <typename T>
  std::optional<T> le(std::int64_t offset) {
    unsigned char bytes[sizeof(T)];
    if (!read(offset, bytes, sizeof bytes)) return std::nullopt;
    return LittleEndianAt<T>(bytes);
  }

 private:
  SeekableStream& m_file;
  std::int64_t m_size;
};

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVersionInfoId = 1;
constexpr std::uint32_t kHighBit = 0x80000000u;

struct PeSection {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

// A PE image as far as the resource lookup needs it.
struct PeImage {
  std::uint32_t resourceRva = 0;
  std::vector<PeSection> sections;

  // File offset of [rva, rva + count) when the whole range lies in the raw
  // data of one section.
  std::optional<std::int64_t> fileOffset(std::uint32_t rva, std::int64_t count) const {
    for (const PeSection& s : sections) {
      const std::int64_t from = std::int64_t(rva) - s.virtualAddress;
      if (from < 0 || from >= s.rawSize) continue;
      if (count > std::int64_t(s.rawSize) - from) return std::nullopt;
      return std::int64_t(s.rawOffset) + from;
    }
    return std::nullopt;
  }
  // Raw extent of the section that holds `rva`.
  std::optional<std::pair<std::int64_t, std::int64_t>> sectionOf(std::uint32_t rva) const {
    for (const PeSection& s : sections) {
      const std::int64_t from = std::int64_t(rva) - s.virtualAddress;
      if (from >= 0 && from < s.rawSize)
        return std::pair{std::int64_t(s.rawOffset) + from, std::int64_t(s.rawSize) - from};
    }
    return std::nullopt;
  }
};

bool readPeHeaders(FileWindow& f, PeImage& image) {
  if (f.le<std::uint16_t>(0) != std::uint16_t(0x5A4D)) return false;  // "MZ"
  const auto peOffset = f.le<std::uint32_t>(0x3C);
  if (!peOffset || f.le<std::uint32_t>(*peOffset) != std::uint32_t(0x00004550)) return false;
  const std::int64_t coff = std::int64_t(*peOffset) + 4;
  const auto sectionCount = f.le<std::uint16_t>(coff + 2);
  const auto optionalSize = f.le<std::uint16_t>(coff + 16);
  const std::int64_t opt = coff + 20;
  const auto magic = f.le<std::uint16_t>(opt);
  if (!sectionCount || !optionalSize || !magic) return false;
  std::int64_t countAt = 0;
  if (*magic == 0x10B)
    countAt = 92;
  else if (*magic == 0x20B)
    countAt = 108;
  else
    return false;
  const auto dirCount = f.le<std::uint32_t>(opt + countAt);
  const std::int64_t resourceDir = opt + countAt + 4 + 2 * 8;
  if (!dirCount || *dirCount < 3 || resourceDir + 8 > opt + *optionalSize) return false;
  const auto rva = f.le<std::uint32_t>(resourceDir);
  if (!rva || *rva == 0) return false;
  image.resourceRva = *rva;
  const std::int64_t table = opt + *optionalSize;
  if (!f.fits(table, std::int64_t(*sectionCount) * 40)) return false;
  for (int i = 0; i < *sectionCount; ++i) {
    const std::int64_t at = table + std::int64_t(i) * 40;
    PeSection s;
    s.virtualAddress = f.le<std::uint32_t>(at + 12).value_or(0);
    s.rawSize = f.le<std::uint32_t>(at + 16).value_or(0);
    s.rawOffset = f.le<std::uint32_t>(at + 20).value_or(0);
    image.sections.push_back(s);
  }
  return true;
}

// The resource directory: every offset in it is relative to its root and must
// stay inside the section that holds the root.
struct ResourceTree {
  FileWindow& f;
  std::int64_t root = 0;
  std::int64_t extent = 0;

  bool inside(std::uint32_t offset, std::int64_t count) const {
    return count <= extent && std::int64_t(offset) <= extent - count;
  }

  // Entry value of the directory at `dir` whose id is `id`; any id when
  // `id` is empty (the first entry), preferring `preferred` if present.
  std::optional<std::uint32_t> find(std::uint32_t dir, std::optional<std::uint32_t> id,
                                    std::uint32_t preferred = 0) {
    if (!inside(dir, 16)) return std::nullopt;
    const auto named = f.le<std::uint16_t>(root + dir + 12);
    const auto ids = f.le<std::uint16_t>(root + dir + 14);
    if (!named || !ids) return std::nullopt;
    const std::int64_t count = std::int64_t(*named) + *ids;
    if (!inside(dir + 16, count * 8)) return std::nullopt;
    std::optional<std::uint32_t> first;
    for (std::int64_t i = 0; i < count; ++i) {
      const std::int64_t entry = root + dir + 16 + i * 8;
      const std::uint32_t name = f.le<std::uint32_t>(entry).value_or(kHighBit);
      const std::uint32_t value = f.le<std::uint32_t>(entry + 4).value_or(0);
      if (!first) first = value;
      if (name & kHighBit) continue;  // a named entry never matches an id
      if (id ? name == *id : name == preferred) return value;
    }
    if (id) return std::nullopt;
    return first;
  }
};

VersionBlockLocation findInPe(FileWindow& f) {
  PeImage image;
  if (!readPeHeaders(f, image)) return {};
  const auto section = image.sectionOf(image.resourceRva);
  if (!section) return {};
  ResourceTree tree{f, section->first, section->second};
  // Exactly three levels: type, name, language. Only the first two may be
  // directories and only the third a data entry, so no offset can loop.
  const auto type = tree.find(0, kRtVersion);
  if (!type || !(*type & kHighBit)) return {};
  const auto name = tree.find(*type & ~kHighBit, kVersionInfoId);
  if (!name || !(*name & kHighBit)) return {};
  const auto language = tree.find(*name & ~kHighBit, std::nullopt, 0);
  if (!language || (*language & kHighBit) || !tree.inside(*language, 16)) return {};
  const auto dataRva = f.le<std::uint32_t>(tree.root + *language);
  const auto dataSize = f.le<std::uint32_t>(tree.root + *language + 4);
  if (!dataRva || !dataSize || *dataSize == 0) return {};
  VersionBlockLocation where;
  where.size = *dataSize;
  if (const auto offset = image.fileOffset(*dataRva, *dataSize); offset && f.fits(*offset, *dataSize))
    where.offset = *offset;
  else
    where.inFile = false;
  return where;
}

// The section header table of a little-endian ELF file (32 or 64 bits) and
// its section-name table, both checked to lie in the file.
struct ElfSections {
  FileWindow& f;
  bool wide = false;
  std::int64_t table = 0;
  std::int64_t entSize = 0;
  std::uint64_t count = 0;
  std::uint64_t strOff = 0;
  std::uint64_t strSize = 0;

  std::optional<std::uint64_t> word(std::int64_t at) const {
    if (wide) return f.le<std::uint64_t>(at);
    if (auto v = f.le<std::uint32_t>(at)) return *v;
    return std::nullopt;
  }
  std::int64_t header(std::uint64_t index) const { return table + std::int64_t(index) * entSize; }
  std::int64_t offsetField() const { return wide ? 0x18 : 0x10; }
  std::int64_t sizeField() const { return wide ? 0x20 : 0x14; }

  bool read() {
    unsigned char ident[6];
    if (!f.read(0, ident, sizeof ident)) return false;
    if (ident[0] != 0x7F || ident[1] != 'E' || ident[2] != 'L' || ident[3] != 'F') return false;
    wide = ident[4] == 2;
    if ((ident[4] != 1 && !wide) || ident[5] != 1) return false;  // little-endian only
    const auto shoff = word(wide ? 0x28 : 0x20);
    const auto ent = f.le<std::uint16_t>(wide ? 0x3A : 0x2E);
    const auto count16 = f.le<std::uint16_t>(wide ? 0x3C : 0x30);
    const auto strIndex16 = f.le<std::uint16_t>(wide ? 0x3E : 0x32);
    if (!shoff || !ent || !count16 || !strIndex16 || *ent < (wide ? 64 : 40)) return false;
    const std::uint64_t fileSize = std::uint64_t(f.size());
    if (*shoff > fileSize) return false;
    table = std::int64_t(*shoff);
    entSize = *ent;
    count = *count16;
    std::uint64_t strIndex = *strIndex16;
    if (count == 0) count = word(table + sizeField()).value_or(0);  // extended numbering
    if (strIndex == 0xFFFF) strIndex = f.le<std::uint32_t>(table + (wide ? 0x28 : 0x18)).value_or(0xFFFFFFFFu);
    if (count == 0 || count > fileSize / std::uint64_t(entSize) || !f.fits(table, std::int64_t(count) * entSize))
      return false;
    if (strIndex >= count) return false;
    const auto off = word(header(strIndex) + offsetField());
    const auto size = word(header(strIndex) + sizeField());
    if (!off || !size || *off > fileSize || *size > fileSize - *off) return false;
    strOff = *off;
    strSize = *size;
    return true;
  }

  // Whether section `index` holds data in the file under `name`.
  template <std::size_t N>
  bool is(std::uint64_t index, const char (&name)[N]) const {
    const auto nameOff = f.le<std::uint32_t>(header(index));
    const auto type = f.le<std::uint32_t>(header(index) + 4);
    if (!nameOff || !type || *type == 8 /* SHT_NOBITS */) return false;
    if (*nameOff > strSize || N > strSize - *nameOff) return false;
    char got[N];
    return f.read(std::int64_t(strOff + *nameOff), got, N) && std::equal(got, got + N, name);
  }
};

VersionBlockLocation findInElf(FileWindow& f) {
  ElfSections sections{f};
  if (!sections.read()) return {};
  for (std::uint64_t i = 0; i < sections.count; ++i) {
    if (!sections.is(i, ".versioninfo")) continue;
    const auto offset = sections.word(sections.header(i) + sections.offsetField());
    const auto size = sections.word(sections.header(i) + sections.sizeField());
    if (!offset || !size || *size == 0) return {};
    VersionBlockLocation where;
    where.size = std::int64_t(std::min<std::uint64_t>(*size, std::uint64_t(INT64_MAX)));
    if (*offset <= std::uint64_t(f.size()) && f.fits(std::int64_t(*offset), where.size))
      where.offset = std::int64_t(*offset);
    else
      where.inFile = false;
    return where;
  }
  return {};
}

std::uint16_t u16At(QByteArrayView block, qsizetype at) { return LittleEndianAt<std::uint16_t>(block.data() + at); }

qsizetype align4(qsizetype offset) { return (offset + 3) & ~qsizetype(3); }

}  // namespace

VersionBlockLocation FindVersionBlock(SeekableStream& file) {
  FileWindow f(file);
  VersionBlockLocation where = findInPe(f);
  if (where.size == 0) where = findInElf(f);
  return where;
}

bool ReadVersionNode(QByteArrayView block, qsizetype start, qsizetype limit, VersionNode& node) {
  limit = std::min(limit, block.size());
  if (start < 0 || start > limit - 6) return false;
  const qsizetype length = u16At(block, start);
  if (length < 6 || length > limit - start) return false;
  node.start = start;
  node.end = start + length;
  const std::uint16_t valueLength = u16At(block, start + 2);
  node.isText = u16At(block, start + 4) == 1;
  node.key.clear();
  qsizetype at = start + 6;
  for (;; at += 2) {
    if (at > node.end - 2) return false;  // the key never ends
    const std::uint16_t c = u16At(block, at);
    if (c == 0) break;
    node.key += QChar(c);
  }
  node.valueStart = std::min(align4(at + 2), node.end);
  node.valueSize = std::min<qsizetype>(node.isText ? 2 * qsizetype(valueLength) : valueLength,
                                       node.end - node.valueStart);
  node.childrenStart = std::min(align4(node.valueStart + node.valueSize), node.end);
  return true;
}

bool QueryVersionValue(QByteArrayView block, const QString& subBlock, VersionNode& found) {
  VersionNode node;
  if (!ReadVersionNode(block, 0, block.size(), node)) return false;
  const QStringList path = subBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  for (const QString& key : path) {
    bool matched = false;
    // Every child is at least 6 bytes long, so this walk always ends.
    for (qsizetype at = node.childrenStart; at < node.end;) {
      VersionNode child;
      if (!ReadVersionNode(block, at, node.end, child)) break;
      if (child.key.compare(key, Qt::CaseInsensitive) == 0) {
        node = child;
        matched = true;
        break;
      }
      at = align4(child.end);
    }
    if (!matched) return false;
  }
  found = node;
  return true;
}

}  // namespace zorpokaz
