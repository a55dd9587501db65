// The printouts in samples/ are made by the writer from the models in
// tests/support/samples.cpp. They must never drift from those models:
// ZP_WRITE_SAMPLES=1 remakes them, otherwise they are compared (header bytes
// and inflated body, so another zlib build does not matter) and read back.
#include <QDir>
#include <QFile>
#include <QRect>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"
#include "support/loadbytes.h"
#include "support/samples.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/realizedfont.h"

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

// Where a laid-out line of text puts ink: its advance width from its left
// edge, from the font's ascent above the baseline to its descent below, cut
// to the field's rectangle where the text is clipped.
QRect inkBox(const PageImage::Item& item, const PageImage::TextLine& line) {
  const RealizedFont& font = RealizedFont::get(item.font);
  const int width = font.textWidth(line.text.trimmed());
  const QRect box(line.x, line.baseline - font.ascent(), width, font.height());
  if (item.flags & DT_NOCLIP) return box;
  const PxRect& r = item.rect;
  return box.intersected(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

// What a user of a sample sees: no text lies over another field's text, no
// letter comes out as a character its code page lacks, and each sample shows
// what it is meant to show.
TEST(Samples, LookLikeRealPrintouts) {
  for (const writer::Sample& sample : writer::makeSamples()) {
    SCOPED_TRACE(sample.fileName.toStdString());
    TMLineWydruk content;
    writer::loadBytes(writer::writePrintout(sample.printout), content);
    content.Build();
    ASSERT_FALSE(content.Pages().empty());
    QString firstPage;
    for (size_t page = 0; page < content.Pages().size(); ++page) {
      std::vector<std::pair<int, QRect>> boxes;  // item index, ink
      const auto items = content.Pages()[page].items();
      for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != PageImage::ItemKind::Text) continue;
        EXPECT_FALSE(items[i].text.contains(QChar(0xFFFD))) << items[i].text.toStdString();
        for (const auto& line : items[i].lines) {
          if (page == 0) firstPage += line.text + QLatin1Char('\n');
          if (!line.text.trimmed().isEmpty()) boxes.emplace_back(static_cast<int>(i), inkBox(items[i], line));
        }
      }
      for (size_t a = 0; a < boxes.size(); ++a)
        for (size_t b = a + 1; b < boxes.size(); ++b)
          if (boxes[a].first != boxes[b].first) {
            EXPECT_FALSE(boxes[a].second.intersects(boxes[b].second))
                << "page " << page + 1 << ": \"" << items[boxes[a].first].text.toStdString() << "\" and \""
                << items[boxes[b].first].text.toStdString() << "\" overlap";
          }
    }
    if (sample.fileName == "stara-wersja.wyd") {
      EXPECT_TRUE(firstPage.contains(QStringLiteral("Wypłata zaliczki na podróż służbową")));
    }
    if (sample.fileName == "ksiega.wyd") {
      EXPECT_FALSE(firstPage.contains(QStringLiteral("ciąg dalszy"))) << "nothing continues on page 1";
      EXPECT_TRUE(firstPage.contains(QStringLiteral("Konto 201-01")));
    }
    if (sample.fileName == "obrazek.wyd") {
      const auto items = content.Pages()[0].items();
      const auto picture = std::find_if(items.begin(), items.end(),
                                        [](const auto& i) { return i.kind == PageImage::ItemKind::Picture; });
      ASSERT_NE(picture, items.end());
      EXPECT_TRUE(picture->picture.isRenderable());
      EXPECT_GT(picture->picture.bytes().size(), 1000) << "a drawing, not a placeholder";
    }
  }
}

}  // namespace
}  // namespace zorpokaz
