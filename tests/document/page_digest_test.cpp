// The pages of every sample and of the benchmarks' long printouts, pinned by
// a digest per page at two resolutions: work on the reader, the layout or the
// drawing must record exactly the same pages. After a change that is meant to
// alter pages (a remade sample, a new font rule), ZP_WRITE_GOLDEN=1 remakes
// the lists; review their diff.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"
#include "support/benchprintouts.h"
#include "support/pagedigest.h"

namespace zorpokaz {
namespace {

QString sourceDir() { return qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()); }

// A printout opened for reading: its bytes' stream and the body's inflater.
struct Opened {
  std::unique_ptr<Stream> source;
  std::unique_ptr<ZDecompressionStream> body;
};
using OpenFn = std::function<Opened()>;

// "<name> <dpi> <page> <digest>" for every page of the printout, the digest
// cut to `digestChars` characters.
void appendDigests(QStringList& lines, const QString& name, const OpenFn& open, int digestChars = 64) {
  for (int dpi : {96, 120}) {
    TMLineWydruk content;
    content.Resolution = dpi;
    content.KeepPages = false;
    Opened opened = open();
    content.LoadFromStream(*opened.body);
    int number = 0;
    content.OnPageDone = [&](TMLineWydruk&, const PageImage& page) {
      const QString digest = QString::fromLatin1(writer::pageDigest(page)).left(digestChars);
      lines << QStringLiteral("%1 %2 %3 %4").arg(name).arg(dpi).arg(++number).arg(digest);
    };
    content.Build();
  }
}

OpenFn openBytes(QByteArray file) {
  return [file] {
    Opened opened{std::make_unique<MemoryStream>(file), nullptr};
    opened.body = OpenBodyOf(*opened.source);
    return opened;
  };
}

void compareWithGolden(const QString& listName, const QStringList& made) {
  ASSERT_FALSE(made.isEmpty());
  QFile f(sourceDir() + "/tests/document/data/" + listName);
  if (qEnvironmentVariableIntValue("ZP_WRITE_GOLDEN") == 1) {
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    f.write((made.join('\n') + '\n').toUtf8());
    return;
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << "missing; make it with ZP_WRITE_GOLDEN=1";
  const QStringList expected = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(made.size(), expected.size()) << "page count changed";
  int shown = 0;
  for (qsizetype i = 0; i < std::min(made.size(), expected.size()); ++i) {
    if (made[i] == expected[i]) continue;
    ADD_FAILURE() << "now " << made[i].toStdString() << ", was " << expected[i].toStdString();
    if (++shown == 20) break;
  }
}

TEST(PageDigests, EverySamplePageIsRecordedAsBefore) {
  QStringList lines;
  const QDir samples(sourceDir() + "/samples");
  for (const QString& name : samples.entryList({"*.wyd"}, QDir::Files, QDir::Name))
    appendDigests(lines, name, [path = samples.filePath(name)] {
      OpenedBody file = OpenBody(path);
      return Opened{std::move(file.File), std::move(file.Body)};
    });
  compareWithGolden("sample-page-digests.txt", lines);
}

// The printouts whose speed and memory the benchmarks measure, a few hundred
// pages of each: an optimisation must leave every one of their pages as it was.
TEST(PageDigests, EveryPageOfTheBenchmarkPrintoutsIsRecordedAsBefore) {
  QStringList lines;
  appendDigests(lines, "dense-ledger", openBytes(writer::denseLedgerFile(300, 1)), 16);
  appendDigests(lines, "read-bench", openBytes(writer::writePrintout(writer::readBenchPrintout(4))), 16);
  compareWithGolden("bench-page-digests.txt", lines);
}

}  // namespace
}  // namespace zorpokaz
