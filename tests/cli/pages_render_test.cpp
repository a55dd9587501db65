// zorpokaz-cli pages and render, run as a user runs them.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/benchprintouts.h"
#include "support/clirun.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;

using CliRun = testcli::CliResult;

CliRun cli(const QStringList& args) { return testcli::RunCli(args); }

class PagesRender : public ::testing::Test {
 protected:
  // Three pages: each intro group starts a new page; a rule and a page number on each.
  void SetUp() override {
    WPrintout p;
    for (int i = 0; i < 3; ++i) {
      WBlock b;
      WField rule = textField(0, 6000, "", "Domyslny", 4);
      b.intro = group({line({textField(0, 6000, "Strona %n", "Domyslny", 2)}), line({rule})});
      b.intro.breakBefore = true;
      p.root.children.push_back(b);
    }
    m_file = m_dir.filePath("trzy.wyd");
    QFile f(m_file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writePrintout(p));
  }
  QTemporaryDir m_dir;
  QString m_file;
};

TEST_F(PagesRender, PagesJsonDescribesEveryItem) {
  for (int dpi : {96, 120}) {
    CliRun r = cli({"pages", m_file, "--json", "--dpi", QString::number(dpi)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QByteArray()) << "nothing on stderr when all went well";
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(doc["dpi"].toInt(), dpi);
    EXPECT_EQ(doc["width"].toInt(), dpi == 96 ? 1429 : 1786);
    EXPECT_EQ(doc["height"].toInt(), dpi == 96 ? 2000 : 2500);
    const QJsonArray pages = doc["pages"].toArray();
    ASSERT_EQ(pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const QJsonObject page = pages[i].toObject();
      EXPECT_EQ(page["number"].toInt(), i + 1);
      const QJsonArray items = page["items"].toArray();
      ASSERT_EQ(items.size(), 2);
      const QJsonObject text = items[0].toObject();
      EXPECT_EQ(text["kind"].toString(), "text");
      EXPECT_EQ(text["text"].toString(), QString("Strona %1").arg(i + 1));
      EXPECT_EQ(text["rect"].toArray().size(), 4);
      EXPECT_EQ(text["color"].toString(), "#000000");
      EXPECT_EQ(text["font"].toObject()["face"].toString(), "Courier New");
      EXPECT_EQ(text["font"].toObject()["used"].toString(), "Liberation Mono");
      EXPECT_LT(text["font"].toObject()["height"].toInt(), 0);
      ASSERT_EQ(text["lines"].toArray().size(), 1);
      EXPECT_EQ(text["lines"].toArray()[0].toObject()["text"].toString(), QString("Strona %1").arg(i + 1));
      const QJsonObject rule = items[1].toObject();
      EXPECT_EQ(rule["kind"].toString(), "line");
      EXPECT_EQ(rule["from"].toArray()[1].toInt(), rule["to"].toArray()[1].toInt());
      EXPECT_EQ(rule["to"].toArray()[0].toInt(), 900);  // 6000 units × 0.15
    }
  }
}

TEST_F(PagesRender, RenderWritesPngsAndAPdf) {
  const QString pngDir = m_dir.filePath("png");
  CliRun r = cli({"render", m_file, "--png", pngDir, "--pages", "1, 3"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.err, QByteArray());
  EXPECT_EQ(QDir(pngDir).entryList(QDir::Files), (QStringList{"page-0001.png", "page-0003.png"}));
  QImage page(pngDir + "/page-0003.png");
  ASSERT_EQ(page.size(), QSize(1429, 2000));
  EXPECT_EQ(page.pixelColor(1400, 1990), QColor(Qt::white));
  int dark = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 900; ++x) dark += qGray(page.pixel(x, y)) < 128;
  EXPECT_GT(dark, 100);  // the page number and the rule are there

  const QString pdf = m_dir.filePath("out.pdf");
  r = cli({"render", m_file, "-o", pdf, "--margins", "5,5,5,5"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.err, QByteArray());
  QFile f(pdf);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 3);
}

TEST_F(PagesRender, BadArgumentsAndBadFiles) {
  struct Case {
    QStringList args;
    int status;
    const char* message;
  };
  const QString missing = m_dir.filePath("brak.wyd");
  const Case cases[] = {
      {{"render", m_file}, 1, "either -o"},
      {{"render", m_file, "--png", m_dir.path(), "--pages", "2-9"}, 1, "przekracza"},
      {{"render", m_file, "--png", m_dir.path(), "--margins", "1,2,3"}, 1, "--margins"},
      {{"pages", m_file, "--dpi", "abc"}, 1, "--dpi"},
      {{"pages"}, 1, "one printout"},
      {{"pages", missing}, 2, "Cannot open file"},
      {{"render", missing, "-o", m_dir.filePath("x.pdf")}, 2, "Cannot open file"},
  };
  for (const Case& c : cases) {
    CliRun r = cli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.message)) << r.err.toStdString();
  }
}

// A typeface that is not installed is drawn by another one; the dump says
// which, so a user can see why the printout looks different.
TEST_F(PagesRender, PagesJsonNamesTheFaceThatDrewTheText) {
  WPrintout p;
  WStyle missing;
  missing.name = "Brak";
  missing.fontName = "Zorel Nieistniejacy Kroj";
  WStyle arial = missing;
  arial.name = "Arial";
  arial.fontName = "Arial";
  p.styles = {missing, arial};
  p.root.intro = group({line({textField(0, 3000, "A", "Brak"), textField(3000, 3000, "B", "Arial")})});
  const QString file = m_dir.filePath("kroje.wyd");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(writePrintout(p));
  f.close();
  const CliRun r = cli({"pages", file, "--json"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonArray items = QJsonDocument::fromJson(r.out).object()["pages"].toArray()[0].toObject()["items"].toArray();
  ASSERT_EQ(items.size(), 2);
  const QJsonObject first = items[0].toObject()["font"].toObject();
  EXPECT_EQ(first["face"].toString(), QString::fromUtf8("Zorel Nieistniejacy Kroj"));
  EXPECT_FALSE(first["used"].toString().isEmpty());
  EXPECT_NE(first["used"].toString(), first["face"].toString());
  EXPECT_EQ(items[1].toObject()["font"].toObject()["used"].toString(), "Liberation Sans");
}

// Page numbers on each sheet side of a PDF, as pdftotext reads them.
std::vector<QStringList> sidesOf(const QString& pdf) {
  std::vector<QStringList> sides;
  for (int side = 1;; ++side) {
    QProcess p;
    p.start("pdftotext", {"-f", QString::number(side), "-l", QString::number(side), "-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) break;
    QStringList numbers;
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    qsizetype at = 0;
    while ((at = text.indexOf("Strona ", at)) >= 0) {
      at += 7;
      qsizetype end = at;
      while (end < text.size() && text[end].isDigit()) ++end;
      numbers << text.mid(at, end - at);
    }
    sides.push_back(numbers);
  }
  return sides;
}

// Five pages printed in the print modes: the PDF holds the sheet sides in the
// order they would reach the printer.
TEST(RenderSheets, PrintModesOrderTheSheetSides) {
  QTemporaryDir dir;
  WPrintout p;
  for (int i = 0; i < 5; ++i) {
    WBlock b;
    b.intro = group({line({textField(0, 6000, "Strona %n", "Domyslny", 2)})});
    b.intro.breakBefore = true;
    p.root.children.push_back(b);
  }
  const QString file = dir.filePath("piec.wyd");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(writePrintout(p));
  f.close();
  struct Case {
    QStringList options;
    std::vector<QStringList> sides;
  };
  const Case cases[] = {
      {{"--mode", "normal", "--reverse"}, {{"5"}, {"4"}, {"3"}, {"2"}, {"1"}}},
      {{"--mode", "booklet"}, {{"2"}, {"4", "5"}, {"1"}, {"3"}}},
      {{"--mode", "normal", "--mono", "--bitmap", "--pages", "2-3"}, {{}, {}}},  // bitmaps carry no text
  };
  for (const Case& c : cases) {
    const QString pdf = dir.filePath("arkusze.pdf");
    const CliRun r = cli(QStringList{"render", file, "-o", pdf} + c.options);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(sidesOf(pdf), c.sides) << c.options.join(' ').toStdString();
  }
  EXPECT_EQ(cli({"render", file, "--png", dir.path(), "--mode", "booklet"}).status, 1);
  EXPECT_EQ(cli({"render", file, "-o", dir.filePath("x.pdf"), "--mode", "poster"}).status, 1);
}

// A page set is answered from the pages up to its last one: the pages are
// those a full layout gives, and a set the printout cannot satisfy gets the
// error it gets after a full layout, whichever of its pages is wrong first.
TEST(PagesSets, ThePagesAndTheErrorsOfAFullLayout) {
  QTemporaryDir dir;
  const QString file = dir.filePath("ksiega.wyd");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(denseLedgerFile(30));
  f.close();

  const CliRun all = cli({"pages", file, "--json"});
  ASSERT_EQ(all.status, 0) << all.err.toStdString();
  const QJsonArray every = QJsonDocument::fromJson(all.out).object()["pages"].toArray();
  ASSERT_EQ(every.size(), 30);
  const CliRun some = cli({"pages", file, "--json", "--pages", " 6-7, 2 "});
  ASSERT_EQ(some.status, 0) << some.err.toStdString();
  const QJsonArray chosen = QJsonDocument::fromJson(some.out).object()["pages"].toArray();
  ASSERT_EQ(chosen.size(), 3);
  EXPECT_EQ(chosen[0], every[1]);
  EXPECT_EQ(chosen[1], every[5]);
  EXPECT_EQ(chosen[2], every[6]);
  const CliRun summary = cli({"pages", file, "--pages", "30"});
  EXPECT_TRUE(summary.out.startsWith("1 page(s) of 1429 x 2000 px at 96 dpi\npage 30: ")) << summary.out.toStdString();

  const QString full = dir.filePath("full");
  const QString one = dir.filePath("one");
  ASSERT_EQ(cli({"render", file, "--png", full, "--pages", "1-3"}).status, 0);
  ASSERT_EQ(cli({"render", file, "--png", one, "--pages", "3"}).status, 0);
  QFile a(full + "/page-0003.png");
  QFile b(one + "/page-0003.png");
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
  EXPECT_EQ(QDir(one).entryList(QDir::Files), QStringList{"page-0003.png"});

  const struct {
    const char* set;
    const char* message;
  } errors[] = {
      {"31", "Podany numer strony (31) przekracza"},
      {"5, 0", "Podany numer strony (0) jest za mały"},
      {"31, 0", "Podany numer strony (31) przekracza"},
      {"0, 31", "Podany numer strony (0) jest za mały"},
      {"4, 2-4", "Strona 4 jest podana kilka razy"},
      {"6-4", "Podany zakres stron (6-4) jest nieprawidłowy"},
      {"x", "Podane numery stron (x) są nieprawidłowe"},
      {" ", "Nie podano zestawu stron"},
  };
  for (const auto& e : errors) {
    for (const char* command : {"pages", "render"}) {
      QStringList args{command, file, "--pages", e.set};
      if (QByteArray(command) == "render") args << "--png" << dir.filePath("bad");
      const CliRun r = cli(args);
      EXPECT_EQ(r.status, 1) << command << " " << e.set;
      EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(e.message))) << command << " " << r.err.toStdString();
    }
  }
  EXPECT_FALSE(QDir(dir.filePath("bad")).exists()) << "nothing is written for a set that fails";
}

// The dump of every sample parses, has at least one page, and is the same on
// a second run (nothing depends on addresses, time or hash order).
TEST(PagesSamples, JsonIsCompleteAndRepeatable) {
  const QString dir = qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/samples";
  const QStringList files = QDir(dir).entryList({"*.wyd"}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& name : files) {
    const CliRun first = cli({"pages", dir + "/" + name, "--json"});
    const CliRun second = cli({"pages", dir + "/" + name, "--json"});
    ASSERT_EQ(first.status, 0) << name.toStdString() << first.err.toStdString();
    EXPECT_EQ(first.err, QByteArray()) << name.toStdString();
    EXPECT_EQ(first.out, second.out) << name.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(first.out).object();
    EXPECT_GE(doc["pages"].toArray().size(), 1) << name.toStdString();
  }
}

}  // namespace
}  // namespace zorpokaz
