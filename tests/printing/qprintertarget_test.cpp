// The print job through a real QPrinter writing PDF files, one per document,
// read back with pdftotext: the sheet sequence is checked by the text on each
// sheet, so what the printer would get is checked without paper.
#include "printing/qprintertarget.h"

#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/cirequire.h"

#include "sheets/pagesnapshot.h"
#include "sheets/printjob.h"
#include "printing/pdftext.h"
#include "printing/testpages.h"

namespace zorpokaz {
namespace {

struct PdfRun {
  QTemporaryDir dir;
  QPrinter printer{QPrinter::HighResolution};
  QStringList files;
  PageImageList pages;
  QStringList errors;

  explicit PdfRun(int n) : pages(testing::makeTextPages(n)) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(150);
    printer.setPageSize(QPageSize(QPageSize::A4));
  }

  // "title: side side ..." per document that exists on disk.
  QStringList print(const PrintJobSettings& settings, PageList list, bool turn = true) {
    QPrinterTarget target(printer);
    target.documentFile = [this](const QString& title) {
      files << dir.filePath(QStringLiteral("doc%1.pdf").arg(files.size() + 1));
      titles << title;
      return files.back();
    };
    PrintJobHooks hooks;
    hooks.askAnotherCopy = [] { return true; };
    hooks.askBooklet = [](int, int) { return true; };
    hooks.askTurnStack = [turn] { return turn; };
    hooks.stepProgress = [] {};
    hooks.cancelRequested = [] { return false; };
    hooks.reportError = [this](const std::exception& e) { errors << e.what(); };
    hooks.pumpEvents = [] {};
    const PageSnapshot source(pages, MarginsMM{10, 15, 10, 25});
    PrintJob job(target, source, QStringLiteral("raport"), settings, hooks);
    job.ComputeRects();
    job.PrintCopies(list);
    QStringList out;
    for (int i = 0; i < files.size(); ++i)
      if (QFile::exists(files[i]))
        out << titles[i] + ": " + testing::sheetTexts(files[i]).join(QLatin1Char(' '));
    return out;
  }

  QStringList titles;
};

PageList all(int n) {
  PageList l;
  for (int p = 1; p <= n; ++p)
    l.push_back(p);
  return l;
}

TEST(QPrinterTarget, SheetsOfEveryModeReachThePdfInOrder) {
  ZP_REQUIRE(fixtures::ToolMissing({"pdftotext"}, "poppler-utils"));
  struct Case {
    SheetOptions sheet;
    int pages;
    QStringList expected;
  };
  const Case cases[] = {
      {{PrintMode::Normalnie, false, true}, 3, {"raport: 3 2 1"}},
      {{PrintMode::Normalnie, true, false}, 3, {"raport (1): 2 _", "raport (2): 1 3"}},
      {{PrintMode::Zmniejszone, false, false}, 5, {"raport: 1|2 3|4 5"}},
      {{PrintMode::Ksiazeczka, false, false}, 8, {"raport (1): 2|7 4|5", "raport (2): 8|1 6|3"}},
      {{PrintMode::Ksiazeczka, false, true}, 5, {"raport (1): 2 4|5", "raport (2): 3 1"}},
  };
  for (const Case& c : cases) {
    PdfRun run(c.pages);
    PrintJobSettings settings;
    settings.sheet = c.sheet;
    EXPECT_EQ(run.print(settings, all(c.pages)), c.expected) << c.expected.join(" / ").toStdString();
    EXPECT_TRUE(run.errors.isEmpty());
  }
}

TEST(QPrinterTarget, LandscapeSheetsForTheHalfSheetModes) {
  PdfRun run(2);
  QPrinterTarget target(run.printer);
  target.setOrientation(SheetOrientation::Landscape);
  const PrinterMetrics m = target.metrics();
  EXPECT_GT(m.physicalWidth, m.physicalHeight);
  EXPECT_EQ(m.dpiX, 150);
  // A4 at 150 dpi.
  EXPECT_NEAR(m.physicalWidth, 1754, 1);
  EXPECT_NEAR(m.physicalHeight, 1240, 1);
  target.setOrientation(SheetOrientation::Portrait);
  EXPECT_NEAR(target.metrics().physicalWidth, 1240, 1);
}

TEST(QPrinterTarget, AbandonedDocumentLeavesNoFile) {
  PdfRun run(4);
  PrintJobSettings settings;
  settings.sheet = {PrintMode::Normalnie, true, false};
  // The stack is not turned: the first pass stays, no second document.
  EXPECT_EQ(run.print(settings, all(4), false), QStringList{"raport (1): 2 4"});
  EXPECT_EQ(run.files.size(), 1);

  PdfRun direct(1);
  QPrinterTarget target(direct.printer);
  const QString file = direct.dir.filePath(QStringLiteral("aborted.pdf"));
  target.documentFile = [&](const QString&) { return file; };
  target.beginDocument(QStringLiteral("raport"));
  EXPECT_TRUE(target.isPrinting());
  target.abortDocument();
  EXPECT_FALSE(target.isPrinting());
  EXPECT_FALSE(QFile::exists(file));
}

TEST(QPrinterTarget, BitmapModeSendsOnePicturePerPage) {
  PdfRun run(3);
  PrintJobSettings settings;
  settings.bitmap = true;
  settings.sheet.reverse = false;
  const QStringList docs = run.print(settings, all(3));
  ASSERT_EQ(docs.size(), 1);
  // No text reaches the printer in bitmap mode, only three sheet sides.
  EXPECT_EQ(docs[0], QStringLiteral("raport: _ _ _"));
}

}  // namespace
}  // namespace zorpokaz
