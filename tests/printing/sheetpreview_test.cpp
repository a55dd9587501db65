// The print dialog's picture of the sheets: for every mode, side and order
// option and selection it names exactly the sides the print job sends, in the
// same order; in the dialog it follows the mode, range, reverse and two-sided
// choices as a person makes them with the keys.
#include "sheets/sheetpreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "printing/printersystem.h"
#include "sheets/pagesnapshot.h"
#include "sheets/printjob.h"
#include "printing/recordingprinters.h"
#include "printing/recordingtarget.h"
#include "printing/testpages.h"
#include "printing/tsheetpicture.h"
#include "printing/twydrukidrukuj.h"
#include "ui/apperror.h"

namespace zorpokaz {
namespace {

QString sideText(const PreviewSide& s, bool halves) {
  auto n = [](int p) { return p > 0 ? QString::number(p) : QStringLiteral("_"); };
  return halves ? n(s.left) + '|' + n(s.right) : n(s.left);
}

// The preview in the recording target's words: one line per document.
QStringList asDocuments(const SheetPreview& p) {
  QStringList lines;
  for (const auto* pass : {&p.firstPass, &p.secondPass}) {
    if (pass == &p.secondPass && !p.turn) break;
    QStringList sides;
    for (const PreviewSide& s : *pass) sides << sideText(s, p.halves);
    lines << sides.join(' ');
  }
  return lines;
}

QStringList printed(const PageImageList& pages, PageList list, const SheetOptions& options) {
  testing::RecordingTarget target(pages);
  PrintJobSettings settings;
  settings.sheet = options;
  PrintJobHooks h;
  h.askAnotherCopy = [] { return false; };
  h.askBooklet = [](int, int) { return true; };
  h.askTurnStack = [] { return true; };
  h.stepProgress = [] {};
  h.cancelRequested = [] { return false; };
  h.reportError = [](const std::exception&) {};
  h.pumpEvents = [] {};
  const PageSnapshot source(pages, MarginsMM{10, 15, 10, 25});
  PrintJob job(target, source, QStringLiteral("r"), settings, h);
  job.ComputeRects();
  job.PrintCopies(list);
  QStringList docs;
  for (QString line : target.summary(options.mode != PrintMode::Normalnie)) {
    line = line.mid(line.indexOf(QStringLiteral(": ")) + 2);
    line.chop(QStringLiteral(" end").size());
    docs << line;
  }
  return docs;
}

TEST(SheetPreview, NamesTheSidesThePrintJobSendsInItsOrder) {
  const PageImageList pages = testing::makeTextPages(11);
  const PageList selections[] = {{1}, {1, 2}, {1, 2, 3}, {2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 7, 8},
                                 {1, 3, 5, 7, 9, 11}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
  for (PrintMode mode : {PrintMode::Normalnie, PrintMode::Zmniejszone, PrintMode::Ksiazeczka})
    for (bool twoSided : {false, true})
      for (bool reverse : {false, true})
        for (const PageList& selection : selections) {
          const SheetOptions options{mode, twoSided, reverse};
          SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(mode) << " two-sided " << twoSided
                                            << " reverse " << reverse << " pages " << selection.size());
          EXPECT_EQ(asDocuments(PreviewSheets(selection, options)), printed(pages, selection, options));
        }
}

TEST(SheetPreview, ExamplesAsAPersonReadsThem) {
  EXPECT_EQ(asDocuments(PreviewSheets({1, 2, 3, 4, 5}, {PrintMode::Ksiazeczka, false, false})),
            (QStringList{"2|_ 4|5", "_|1 _|3"}));
  EXPECT_EQ(asDocuments(PreviewSheets({1, 2, 3}, {PrintMode::Normalnie, true, true})), (QStringList{"2 _", "3 1"}));
  const SheetPreview reduced = PreviewSheets({1, 2, 3, 4, 5}, {PrintMode::Zmniejszone, false, false});
  EXPECT_EQ(reduced.sheets(), 3);
  EXPECT_EQ(asDocuments(reduced), QStringList{"1|2 3|4 5|_"});
  EXPECT_EQ(PreviewSheets({}, {}).sheets(), 0);
}

// Long runs show their first sides, an ellipsis and the last side.
TEST(SheetPreview, LongRunsAreShortenedAroundAnEllipsis) {
  EXPECT_EQ(TSheetPicture::ShownSides(3, 8), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(TSheetPicture::ShownSides(8, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(TSheetPicture::ShownSides(2000, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, -1, 1999}));
  TSheetPicture picture;
  picture.resize(208, 198);
  PageList all;
  for (int p = 1; p <= 2000; ++p) all.push_back(p);
  picture.setPreview(PreviewSheets(all, {PrintMode::Normalnie, false, true}));
  EXPECT_TRUE(picture.Describe().startsWith(QStringLiteral("2000 1999 ")));
  EXPECT_TRUE(picture.Describe().endsWith(QStringLiteral(" … 1")));
}

using OnePrinter = testing::RecordingPrinters;

void press(const char* keys) {
  const QKeyCombination key = QKeySequence::fromString(QString::fromLatin1(keys))[0];
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr) << keys;
  QTest::keyClick(target, key.key(), key.keyboardModifiers());
  QTest::qWait(150);  // an accelerator clicks its button a moment later
}

TEST(SheetPreview, TheDialogsPictureFollowsTheChoicesMadeWithTheKeys) {
  PrintSettings() = TPrintSettings{};
  PrintSettings().PrintDlg_Odwrotnie = false;
  const PageImageList pages = testing::makeTextPages(5);
  auto old = SetPrinterSystem(std::make_unique<OnePrinter>(pages));
  AppErrorReport oldReport = SetAppErrorReport([](const QString&) {});
  TEmfViewer viewer;
  for (const auto& p : pages) viewer.AddPage(p);
  viewer.setPageNr(4);
  QPointer<TWydrukiDrukuj> dlg = new TWydrukiDrukuj(nullptr);
  dlg->Source = &viewer;
  dlg->show();
  QCoreApplication::sendPostedEvents(dlg);
  dlg->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
  TSheetPicture* picture = dlg->pKartki;
  EXPECT_EQ(picture->Describe(), QStringLiteral("1 2 3 4 5"));
  press("Alt+O");  // reverse
  EXPECT_EQ(picture->Describe(), QStringLiteral("5 4 3 2 1"));
  press("Alt+D");  // two-sided: even pages, turn, odd ones in reverse
  EXPECT_EQ(picture->Describe(), QStringLiteral("2 4 _ / 5 3 1"));
  press("Alt+Z");  // reduced
  EXPECT_EQ(picture->Describe(), QStringLiteral("3|4 _|_ / 5|_ 1|2"));
  press("Alt+K");  // booklet
  EXPECT_EQ(picture->Describe(), QStringLiteral("2|_ 4|5 / _|3 _|1"));
  press("Alt+B");  // the current page
  EXPECT_EQ(picture->Describe(), QStringLiteral("_|_ / _|4"));
  press("Alt+P");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
  EXPECT_EQ(picture->Describe(), QStringLiteral("Popraw zestaw stron, aby zobaczyć kartki."));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1-2"));
  EXPECT_EQ(picture->Describe(), QStringLiteral("2|_ / _|1"));
  press("Alt+N");
  EXPECT_EQ(picture->Describe(), QStringLiteral("2 / 1"));
  delete dlg.data();
  SetAppErrorReport(oldReport);
  SetPrinterSystem(std::move(old));
  PrintSettings() = TPrintSettings{};
}

}  // namespace
}  // namespace zorpokaz
