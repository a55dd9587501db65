// The printouts in samples/ are made by the writer from the models in
// tests/support/samples.cpp. They must never drift from those models:
// ZP_WRITE_SAMPLES=1 remakes them, otherwise they are compared (header bytes
// and inflated body, so another zlib build does not matter) and read back.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"
#include "support/samples.h"

namespace zorpokaz {
namespace {

QString samplesDir() {
  const QString root = qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath());
  return root + "/samples";
}

// The signature and type name, and the inflated body.
std::pair<QByteArray, QByteArray> split(const QByteArray& file) {
  MemoryStream s(file);
  auto body = OpenBodyOf(s);
  const QByteArray header = file.left(s.position());
  QByteArray inflated;
  char buf[65536];
  while (std::size_t n = body->read(buf, sizeof buf)) inflated.append(buf, static_cast<qsizetype>(n));
  return {header, inflated};
}

TEST(Samples, CommittedFilesAreWhatTheWriterMakes) {
  const bool write = qEnvironmentVariableIntValue("ZP_WRITE_SAMPLES") == 1;
  for (const writer::Sample& sample : writer::makeSamples()) {
    SCOPED_TRACE(sample.fileName.toStdString());
    const QByteArray made = writer::writePrintout(sample.printout);
    QFile f(samplesDir() + "/" + sample.fileName);
    if (write) {
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(made);
      continue;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing; remake with ZP_WRITE_SAMPLES=1";
    EXPECT_EQ(split(f.readAll()), split(made)) << "differs; remake with ZP_WRITE_SAMPLES=1";
  }
}

TEST(Samples, EveryCommittedSampleReads) {
  const QStringList files = QDir(samplesDir()).entryList({"*.wyd"}, QDir::Files);
  EXPECT_EQ(files.size(), static_cast<int>(writer::makeSamples().size()));
  for (const QString& name : files) {
    TMLineWydruk content;
    OpenedBody opened = OpenBody(samplesDir() + "/" + name);
    EXPECT_TRUE(content.LoadFromStream(*opened.Body)) << name.toStdString();
    EXPECT_GT(content.TotalLines(), 0) << name.toStdString();
  }
}

}  // namespace
}  // namespace zorpokaz
