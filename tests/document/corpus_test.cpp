// The hostile printouts in tests/corpus: each is what the writer makes
// (ZP_WRITE_CORPUS=1 remakes them), and each is read and laid out within
// bounds its content justifies.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"
#include "support/corpus.h"
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

}  // namespace
}  // namespace zorpokaz
