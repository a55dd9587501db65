#include "cli/elfneeded.h"

#include <cstdint>
#include <optional>

#include "platform/bytereader.h"

namespace zorpokaz::cli {

namespace {

constexpr std::uint32_t kShtDynamic = 6;
constexpr std::uint64_t kDtNull = 0;
constexpr std::uint64_t kDtNeeded = 1;

// The words of a 32- or 64-bit ELF file; nullopt past its end.
struct ElfBytes {
  ByteReader bytes;
  bool wide = false;

  std::optional<std::uint64_t> word(std::uint64_t at) const {
    if (wide) return bytes.u64(at);
    const auto narrow = bytes.u32(at);
    return narrow ? std::optional<std::uint64_t>(*narrow) : std::nullopt;
  }
};

struct Section {
  std::uint32_t type = 0;
  std::uint64_t offset = 0, size = 0;
  std::uint32_t link = 0;
};

std::optional<Section> sectionAt(const ElfBytes& f, std::uint64_t header) {
  const auto type = f.bytes.u32(header + 4);
  const auto offset = f.word(header + (f.wide ? 0x18 : 0x10));
  const auto size = f.word(header + (f.wide ? 0x20 : 0x14));
  const auto link = f.bytes.u32(header + (f.wide ? 0x28 : 0x18));
  if (!type || !offset || !size || !link) return std::nullopt;
  return Section{std::uint32_t(*type), *offset, *size, std::uint32_t(*link)};
}

// The zero-terminated name at `at` of the string table, which must end in it.
QString nameIn(const ElfBytes& f, const Section& strings, std::uint64_t at) {
  const auto table = f.bytes.slice(strings.offset, strings.size);
  if (at >= strings.size || !table) return {};
  const qsizetype end = table->indexOf('\0', qsizetype(at));
  return end < 0 ? QString() : QString::fromUtf8(table->sliced(qsizetype(at), end - qsizetype(at)));
}

}  // namespace

QStringList NeededLibraries(QByteArrayView elf) {
  ElfBytes f{ByteReader(elf)};
  if (elf.size() < 0x40 || !elf.startsWith("\x7F" "ELF") || elf[5] != 1 || (elf[4] != 1 && elf[4] != 2)) return {};
  f.wide = elf[4] == 2;
  const auto table = f.word(f.wide ? 0x28 : 0x20);
  const auto entSize = f.bytes.u16(f.wide ? 0x3A : 0x2E);
  const auto count = f.bytes.u16(f.wide ? 0x3C : 0x30);
  if (!table || !entSize || !count || *entSize < (f.wide ? 64u : 40u)) return {};
  QStringList needed;
  for (std::uint64_t i = 0; i < *count; ++i) {
    const auto dynamic = sectionAt(f, *table + i * *entSize);
    if (!dynamic || dynamic->type != kShtDynamic || dynamic->link >= *count) continue;
    const auto strings = sectionAt(f, *table + dynamic->link * *entSize);
    if (!strings) continue;
    const std::uint64_t entry = f.wide ? 16 : 8;
    for (std::uint64_t at = 0; at + entry <= dynamic->size; at += entry) {
      const auto tag = f.word(dynamic->offset + at);
      const auto value = f.word(dynamic->offset + at + entry / 2);
      if (!tag || !value || *tag == kDtNull) break;
      if (*tag != kDtNeeded) continue;
      const QString name = nameIn(f, *strings, *value);
      if (!name.isEmpty()) needed << name;
    }
    break;  // a program has one dynamic section
  }
  return needed;
}

}  // namespace zorpokaz::cli
