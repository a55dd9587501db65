// The pages of every sample, pinned by a digest per page at two resolutions:
// work on the reader, the layout or the drawing must record exactly the same
// pages. After a change that is meant to alter pages (a remade sample, a new
// font rule), ZP_WRITE_GOLDEN=1 remakes the list; review its diff.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "support/pagedigest.h"

namespace zorpokaz {
namespace {

QString sourceDir() { return qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()); }

// "<sample> <dpi> <page> <digest>" for every page of every committed sample.
QStringList digestLines() {
  QStringList lines;
  const QDir samples(sourceDir() + "/samples");
  for (const QString& name : samples.entryList({"*.wyd"}, QDir::Files, QDir::Name)) {
    for (int dpi : {96, 120}) {
      TMLineWydruk content;
      content.Resolution = dpi;
      OpenedBody body = OpenBody(samples.filePath(name));
      content.LoadFromStream(*body.Body);
      content.Build();
      int number = 0;
      for (const PageImage& page : content.Pages())
        lines << QStringLiteral("%1 %2 %3 %4").arg(name).arg(dpi).arg(++number).arg(QString::fromLatin1(writer::pageDigest(page)));
    }
  }
  return lines;
}

TEST(PageDigests, EverySamplePageIsRecordedAsBefore) {
  const QString golden = sourceDir() + "/tests/document/data/sample-page-digests.txt";
  const QStringList made = digestLines();
  ASSERT_FALSE(made.isEmpty());
  QFile f(golden);
  if (qEnvironmentVariableIntValue("ZP_WRITE_GOLDEN") == 1) {
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    f.write((made.join('\n') + '\n').toUtf8());
    return;
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << "missing; make it with ZP_WRITE_GOLDEN=1";
  const QStringList expected = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(made.size(), expected.size()) << "page count changed";
  for (qsizetype i = 0; i < std::min(made.size(), expected.size()); ++i)
    EXPECT_EQ(made[i].toStdString(), expected[i].toStdString());
}

}  // namespace
}  // namespace zorpokaz
