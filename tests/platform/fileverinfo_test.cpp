#include "platform/tfileverinfo.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/files/memorystream.h"
#include "support/cirequire.h"
#include "support/pefixture.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using fixtures::VersionValues;

#define REQUIRE_MINGW() ZP_REQUIRE(fixtures::MingwMissing().toStdString())

std::string errorOf(const QByteArray& bytes, const QString& name = QStringLiteral("p.exe")) {
  MemoryStream stream(bytes);
  try {
    TFileVerInfo info(stream, name);
  } catch (const EFileVerInfoError& e) {
    return e.what();
  }
  return {};
}

QByteArray le32(std::uint32_t v) {
  QByteArray b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char((v >> (8 * i)) & 0xFF);
  return b;
}

void put32(QByteArray& b, qsizetype at, std::uint32_t v) { b.replace(at, 4, le32(v)); }

TEST(FileVerInfo, ReadsPeAndElfAlike) {
  REQUIRE_MINGW();
  VersionValues values;
  values.rozmiar0 = "0041472";
  values.rozmiar = "316128";
  for (const QByteArray& file : {fixtures::BuildPe(values), fixtures::BuildElf(values)}) {
    MemoryStream stream(file);
    TFileVerInfo info(stream, "p.exe");
    EXPECT_EQ(info.Language(), 0x0415);
    EXPECT_EQ(info.CodePage(), 0x04E2);
    EXPECT_EQ(info.StringByIndex(2), QStringLiteral("Przeglądarka Zorela 2001"));
    EXPECT_EQ(info.StringByIndex(0), "Zorel");
    EXPECT_EQ(info.StringByIndex(3), "2.2.1.0");
    EXPECT_EQ(info.StringByName("Rozmiar0"), "0041472");
    EXPECT_EQ(info.StringByName("rozmiar"), "316128");  // keys ignore letter case
    EXPECT_EQ(info.StringByName("Comments"), "");
    EXPECT_EQ(info.StringByIndex(8), "");
    EXPECT_EQ(info.StringByIndex(-1), "");
    EXPECT_EQ(info.Block(), fixtures::VersionBlockOf(values));
  }
}

TEST(FileVerInfo, OpensFilesByName) {
  REQUIRE_MINGW();
  QTemporaryDir dir;
  const QString path = dir.filePath("paczka.exe");
  fixtures::WriteFile(path, fixtures::BuildPe({}));
  EXPECT_EQ(TFileVerInfo(path).StringByIndex(2), QStringLiteral("Przeglądarka Zorela 2001"));
  try {
    TFileVerInfo missing(dir.filePath("brak.exe"));
    FAIL();
  } catch (const EFileVerInfoError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Niedostępna informacja o wersji\r(plik: " + dir.filePath("brak.exe").toStdString() + ")");
  }
}

TEST(FileVerInfo, StringsFollowTheFirstTranslation) {
  REQUIRE_MINGW();
  VersionValues english;
  english.language = 0x0409;
  english.codePage = 1200;
  MemoryStream stream(fixtures::BuildPe(english));
  TFileVerInfo info(stream, "p.exe");
  EXPECT_EQ(info.Language(), 0x0409);
  EXPECT_EQ(info.StringByIndex(2), "");  // the strings are in 041504E2, not 040904b0
}

TEST(FileVerInfo, FilesWithoutAUsableResource) {
  REQUIRE_MINGW();
  VersionValues noTranslation;
  noTranslation.translation = false;
  const std::string none = "Niedostępna informacja o wersji\r(plik: p.exe)";
  const std::string noLanguage = "Brak informacji o wersji językowej\r(plik: p.exe)";
  const struct {
    const char* what;
    QByteArray bytes;
    std::string error;
  } cases[] = {
      {"empty file", QByteArray(), none},
      {"a printout", writer::wrapBody(QByteArray(10, 'x')), none},
      {"MZ only", QByteArray("MZ") + QByteArray(100, '\0'), none},
      {"PE without a translation", fixtures::BuildPe(noTranslation), noLanguage},
      {"ELF without a translation", fixtures::BuildElf(noTranslation), noLanguage},
      {"truncated PE", fixtures::BuildPe({}).left(2000), none},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(c.bytes), c.error) << c.what;
}

// The resource entries of the stub, found by their contents: the data entry
// (RVA, size of the block) and the directory entries of type 16 and id 1.
TEST(FileVerInfo, LyingResourceOffsets) {
  REQUIRE_MINGW();
  const QByteArray good = fixtures::BuildPe({});
  const QByteArray block = fixtures::VersionBlockOf({});
  const qsizetype dataEntry = good.indexOf(le32(std::uint32_t(block.size()))) - 4;
  ASSERT_GT(dataEntry, 0);
  QByteArray outside = good;
  put32(outside, dataEntry, 0x7FFFFFF0u);
  EXPECT_EQ(errorOf(outside), "Błąd odczytu informacji o wersji\r(plik: p.exe)");
  QByteArray tooLong = good;
  put32(tooLong, dataEntry + 4, 0x7FFFFFF0u);
  EXPECT_EQ(errorOf(tooLong), "Błąd odczytu informacji o wersji\r(plik: p.exe)");

  // A sub-directory that points back at the root: the walk never loops.
  const qsizetype typeEntry = good.indexOf(le32(16) + QByteArray::fromHex("18000080"));
  ASSERT_GT(typeEntry, 0) << "type entry not where windres puts it";
  QByteArray loop = good;
  put32(loop, typeEntry + 4, 0x80000000u);
  EXPECT_EQ(errorOf(loop), "Niedostępna informacja o wersji\r(plik: p.exe)");

  QByteArray damagedBlock = good;
  const qsizetype blockAt = good.indexOf(block);
  ASSERT_GT(blockAt, 0);
  damagedBlock[blockAt] = char(0xFF);  // the root claims more than the block holds
  damagedBlock[blockAt + 1] = char(0xFF);
  EXPECT_EQ(errorOf(damagedBlock), "Brak informacji o wersji językowej\r(plik: p.exe)");
}

// Every 32-bit field of the headers and the resource section overwritten with
// values that lie: the reader answers or refuses, it never crashes or reads
// outside the data (run under the address sanitizer).
TEST(FileVerInfo, SurvivesEveryOverwrittenField) {
  REQUIRE_MINGW();
  const QByteArray good = fixtures::BuildPe({});
  const qsizetype blockAt = good.indexOf(fixtures::VersionBlockOf({}));
  ASSERT_GT(blockAt, 0);
  QList<qsizetype> offsets;
  for (qsizetype at = 0; at < 0x400; at += 2) offsets << at;
  for (qsizetype at = (blockAt - 0x200) & ~3; at < good.size(); at += 2) offsets << at;
  int refused = 0;
  for (const qsizetype at : offsets)
    for (const std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFF8u, 0x80000000u, 0x10u}) {
      if (at + 4 > good.size()) continue;
      QByteArray bad = good;
      put32(bad, at, value);
      if (!errorOf(bad).empty()) ++refused;
    }
  EXPECT_GT(refused, 0);

  // The same for every field of an ELF file's headers and section table.
  const QByteArray elf = fixtures::BuildElf({});
  refused = 0;
  for (qsizetype at = 0; at + 4 <= elf.size(); at += 2)
    for (const std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFF8u, 0xFFFFu, 0x40u}) {
      QByteArray bad = elf;
      put32(bad, at, value);
      if (!errorOf(bad).empty()) ++refused;
    }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace zorpokaz
