// The hostile printouts in tests/corpus: each is what the writer makes
// (ZP_WRITE_CORPUS=1 remakes them), and each is read and laid out within
// bounds its content justifies.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdio>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/errors.h"
#include "platform/gfx/pageimage.h"
#include "platform/files/memorystream.h"
#include "support/corpus.h"
#include "support/heapusage.h"
#include "support/loadbytes.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

QString corpusDir() { return qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/tests/corpus"; }

QByteArray inflated(const QByteArray& file) {
  MemoryStream s(file);
  auto body = OpenBodyOf(s);
  QByteArray out;
  char buf[65536];
  while (std::size_t n = body->read(buf, sizeof buf)) out.append(buf, static_cast<qsizetype>(n));
  return out;
}

TEST(Corpus, CommittedFilesAreWhatTheWriterMakes) {
  const bool write = qEnvironmentVariableIntValue("ZP_WRITE_CORPUS") == 1;
  for (const writer::CorpusFile& file : writer::makeCorpus()) {
    SCOPED_TRACE(file.fileName.toStdString());
    QFile f(corpusDir() + "/" + file.fileName);
    if (write) {
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(writer::wrapBody(file.body));
      continue;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing; remake with ZP_WRITE_CORPUS=1";
    EXPECT_TRUE(inflated(f.readAll()) == file.body) << "differs; remake with ZP_WRITE_CORPUS=1";
  }
}

struct Loaded {
  std::unique_ptr<TMLineWydruk> content = std::make_unique<TMLineWydruk>();
  double heapBytes = 0;  // taken by the model
};

Loaded load(const QString& name) {
  QFile f(corpusDir() + "/" + name);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
  const QByteArray file = f.readAll();
  Loaded loaded;
  const std::size_t before = writer::heapInUse();
  writer::loadBytes(file, *loaded.content);
  loaded.heapBytes = double(writer::heapInUse()) - double(before);
  return loaded;
}

long long fieldCount(const TMLine& block) {
  long long n = 0;
  for (const TLinie* g : {&block.Intro, &block.Heading, &block.ReservedLines, &block.Closing})
    for (const TLinia& line : g->Lines) n += static_cast<long long>(line.Fields().size());
  for (const auto& child : block.Children) n += fieldCount(*child);
  return n;
}

TEST(Corpus, TenMillionEmptyLinesTakeSixteenBytesEach) {
  Loaded l = load("empty-lines.wyd");
  ASSERT_EQ(l.content->Root.Intro.Count(), 10'000'000);
  std::printf("empty lines: %.1f bytes per line\n", l.heapBytes / 1e7);
  EXPECT_LE(l.heapBytes / 1e7, 17.0);
  l.content->Build();
  EXPECT_EQ(l.content->PageCount(), 0);  // nothing on them takes room
}

TEST(Corpus, WideLinesTakeTheirFieldsAndLittleElse) {
  Loaded l = load("wide-lines.wyd");
  const long long fields = fieldCount(l.content->Root);
  ASSERT_EQ(fields, 24'000LL * 255);
  std::printf("wide lines: %.1f bytes per field\n", l.heapBytes / double(fields));
  // The field itself, its text of one to three characters, a share of its line.
  EXPECT_LE(l.heapBytes / double(fields), sizeof(TPole) + 40.0);
}

// Rules and texts that reach far beyond the page record what a field on the
// page records, and their edges never wrap.
TEST(Corpus, FieldsFarOffThePageCostWhatFieldsOnItCost) {
  for (const char* name : {"rule-width.wyd", "double-rule.wyd", "far-fields.wyd"}) {
    Loaded l = load(name);
    l.content->Build();
    ASSERT_GE(l.content->PageCount(), 1) << name;
    for (const PageImage& page : l.content->Pages()) {
      EXPECT_LE(page.itemCount(), 2u * page.width() / 4) << name;  // a dash and a space: at least 4 px
      for (const PageImage::Item& item : page.items()) {
        if (item.kind == PageImage::ItemKind::Text) {
          EXPECT_LE(item.rect.left, item.rect.right) << name;
        } else if (item.kind == PageImage::ItemKind::Line) {
          EXPECT_LE(item.from.x(), item.to.x()) << name;
          EXPECT_LT(item.from.x(), page.width()) << name;
          EXPECT_GT(item.to.x(), 0) << name;
        }
      }
    }
  }
}

// A heading repeated on every page may multiply the layout only so far: 2^20
// lines past eight times the content's end the build.
TEST(Corpus, AHeadingRepeatedWithoutEndIsAPrintoutThatCannotBeRead) {
  Loaded l = load("repeated-heading.wyd");
  int pages = 0;
  l.content->OnPageDone = [&](TMLineWydruk&, const PageImage&) { ++pages; };
  try {
    l.content->Build();
    ADD_FAILURE() << "built";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Plik nie zawiera prawidłowego wydruku Zorela");
  }
  // 8 × 40,000 + 2^20 lines may be laid out; the first page takes the
  // heading twice (drawn, then repeated for the first child's new page) and
  // each next one once, 20,001 lines a page: the 67 pages finished stay.
  EXPECT_EQ(pages, 67);
  EXPECT_EQ(l.content->PageCount(), 67);
}

}  // namespace
}  // namespace zorpokaz
