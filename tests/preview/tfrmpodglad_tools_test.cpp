// The preview as people use report viewers, through the real window on an
// active screen with the keys a person presses where the focus was left:
// find (Ctrl+F, typing, Enter, F3, Shift+F3, Escape), go to page (Ctrl+G or a
// click on the counter), the zoom readout with Ctrl+wheel, Ctrl++ and Ctrl+-,
// and copying the page in view.
#include "preview/tfrmpodglad.h"

#include "platform/gfx/pageimage.h"
#include "platform/gfx/pagetext.h"
#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "preview/tfindbar.h"
#include "support/searchprintout.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

// Keys as a person presses them, each to the control that has the focus.
void press(QKeyCombination key) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr) << "no control has the focus";
  QTest::keyClick(target, key.key(), key.keyboardModifiers());
}
// Typed letter by letter, Polish ones too (QTest's own typing knows ASCII only).
void type(const QString& text) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr);
  for (const QChar c : text) {
    const int key = c.toUpper().unicode();
    QTest::sendKeyEvent(QTest::Press, target, static_cast<Qt::Key>(key), QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, target, static_cast<Qt::Key>(key), QString(c), Qt::NoModifier);
  }
}

void ctrlWheel(TEmfViewer* viewer, int delta, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
  const QPointF at(viewer->width() / 2.0, viewer->height() / 2.0);
  QWheelEvent wheel(at, viewer->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(viewer, &wheel);
}

class PreviewTools : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cfg.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, cfg.path());
    PrintSettings() = TPrintSettings{};
    previous = SetAppErrorReport([this](const QString& m) { errors << m; });
    TFrmPodglad::SetPrintHandler([this](TFrmPodglad&) { ++prints; });
  }
  void TearDown() override {
    SetAppErrorReport(previous);
    TFrmPodglad::SetPrintHandler({});
  }
  QString printout(int pages, int greenPage = -1) {
    const QString path = files.filePath(QStringLiteral("faktury.wyd"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writer::searchPrintout(pages, greenPage));
    return path;
  }
  // Loaded (inside the first turn of the event loop), then made the active
  // window with the focus where loading leaves it: in the viewer.
  static void openActive(TFrmPodglad& w) {
    w.SkipSettingsSave();
    w.show();
    QCoreApplication::processEvents();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.viewer());
  }

  QTemporaryDir cfg;
  QTemporaryDir files;
  AppErrorReport previous;
  QStringList errors;
  int prints = 0;
};

// Orange where the current match is marked, multiplied over black or white.
int currentMarkPixels(TEmfViewer* viewer) {
  const QImage img = viewer->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = QColor::fromRgb(img.pixel(x, y));
      n += c.red() > 200 && c.green() > 110 && c.green() < 190 && c.blue() < 90;
    }
  return n;
}

TEST_F(PreviewTools, FindSearchesAsYouTypeAndWrapsRoundTwoThousandPages) {
  TFrmPodglad w;
  w.OpenFile(printout(2000, 1500));
  openActive(w);
  ASSERT_EQ(w.viewer()->PageCount(), 2000);
  TFindBar* bar = w.findBar();
  EXPECT_FALSE(bar->IsOpen());

  press(Qt::ControlModifier | Qt::Key_F);
  EXPECT_TRUE(bar->IsOpen());
  EXPECT_EQ(QApplication::focusWidget(), bar->edZnajdz());
  // The index is built in slices while the window stays responsive.
  QTRY_COMPARE(bar->IndexedPages(), 2000);
  type(QStringLiteral("zolw"));
  EXPECT_EQ(bar->CountText(), QStringLiteral("1 z 2001"));
  EXPECT_EQ(bar->lblIle()->text(), QStringLiteral("1 z 2001"));
  EXPECT_EQ(w.viewer()->PageNr(), 1);
  EXPECT_GT(currentMarkPixels(w.viewer()), 0);

  press(Qt::Key_Return);
  EXPECT_EQ(bar->CountText(), QStringLiteral("2 z 2001"));
  EXPECT_EQ(w.viewer()->PageNr(), 2);
  EXPECT_EQ(prints, 0);  // Enter in the find field finds, it does not print
  press(Qt::ShiftModifier | Qt::Key_F3);
  press(Qt::ShiftModifier | Qt::Key_F3);
  EXPECT_EQ(bar->CountText(), QStringLiteral("2001 z 2001"));
  EXPECT_EQ(w.viewer()->PageNr(), 2000);
  press(Qt::Key_F3);
  EXPECT_EQ(bar->CountText(), QStringLiteral("1 z 2001"));
  EXPECT_EQ(w.viewer()->PageNr(), 1);

  // From the page in view on: the green turtle is on page 1500 only.
  bar->edZnajdz()->selectAll();
  type(QStringLiteral("ZIELONY żółw"));
  EXPECT_EQ(bar->CountText(), QStringLiteral("1 z 1"));
  EXPECT_EQ(w.viewer()->PageNr(), 1500);
  type(QStringLiteral("x"));
  EXPECT_EQ(bar->CountText(), QStringLiteral("Nie znaleziono"));
  EXPECT_FALSE(bar->btnNastepny()->isEnabled());

  press(Qt::Key_Escape);  // the bar closes, the window stays
  EXPECT_FALSE(bar->IsOpen());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), w.viewer());
  EXPECT_EQ(currentMarkPixels(w.viewer()), 0);
  press(Qt::Key_Escape);  // and then the window, as ever
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PreviewTools, FindWorksWhilePagesAreStillBeingMade) {
  TFrmPodglad w;
  w.SkipSettingsSave();
  w.OpenFile(printout(400, 380));
  QString whileLoading;
  QObject::connect(w.viewer(), &TEmfViewer::OnChange, &w, [&] {
    if (w.viewer()->PageCount() == 3) {
      w.activateWindow();
      press(Qt::ControlModifier | Qt::Key_F);
      type(QStringLiteral("zielony"));
      whileLoading = w.findBar()->CountText();
    }
  });
  w.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(whileLoading, QStringLiteral("Nie znaleziono"));
  ASSERT_EQ(w.viewer()->PageCount(), 400);
  // The match arrived later; the view went there when it was made.
  QTRY_COMPARE(w.findBar()->IndexedPages(), 400);
  EXPECT_EQ(w.findBar()->CountText(), QStringLiteral("1 z 1"));
  EXPECT_EQ(w.viewer()->PageNr(), 380);
}

TEST_F(PreviewTools, GoToPageByKeyOrCounterClampsTheNumber) {
  TFrmPodglad w;
  w.OpenFile(printout(12));
  openActive(w);
  press(Qt::ControlModifier | Qt::Key_G);
  QLineEdit* ed = w.edStrona();
  EXPECT_TRUE(ed->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), ed);
  EXPECT_EQ(ed->selectedText(), QStringLiteral("1"));
  type(QStringLiteral("7"));
  press(Qt::Key_Return);
  EXPECT_EQ(w.viewer()->PageNr(), 7);
  EXPECT_EQ(w.lblStrona()->text(), QStringLiteral("7/12"));
  EXPECT_FALSE(ed->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), w.viewer());
  EXPECT_EQ(prints, 0);

  const std::pair<const char*, int> clamped[] = {{"0", 1}, {"999999999", 12}, {"12", 12}, {"3", 3}};
  for (const auto& [typed, page] : clamped) {
    QTest::mouseClick(w.lblStrona(), Qt::LeftButton);  // the counter asks too
    ASSERT_EQ(QApplication::focusWidget(), ed) << typed;
    type(QString::fromLatin1(typed));
    press(Qt::Key_Enter);
    EXPECT_EQ(w.viewer()->PageNr(), page) << typed;
  }
  // Letters are not taken; Escape leaves the page and the window as they were.
  press(Qt::ControlModifier | Qt::Key_G);
  type(QStringLiteral("ab"));
  EXPECT_EQ(ed->text(), QStringLiteral("3"));
  press(Qt::Key_Escape);
  EXPECT_FALSE(ed->isVisible());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.viewer()->PageNr(), 3);
  press(Qt::Key_Return);  // with the focus back in the viewer, Enter prints
  EXPECT_EQ(prints, 1);
}

TEST_F(PreviewTools, ZoomReadoutFollowsCtrlWheelAndCtrlPlusMinus) {
  TFrmPodglad w;
  w.OpenFile(printout(5));
  openActive(w);
  TEmfViewer* v = w.viewer();
  auto readout = [&] { return w.btnZoom()->text(); };
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageH);
  const double dpi = w.screen()->logicalDotsPerInchX();
  EXPECT_EQ(readout(), QStringLiteral("%1%").arg(emfgeo::ZoomPercent(v->SheetSize(), dpi)));
  const QString pageH = readout();

  press(Qt::ControlModifier | Qt::Key_Plus);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageAvg);
  press(Qt::ControlModifier | Qt::Key_Equal);  // the plus key without Shift
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageW);
  EXPECT_EQ(readout(), QStringLiteral("%1%").arg(emfgeo::ZoomPercent(v->SheetSize(), dpi)));
  press(Qt::ControlModifier | Qt::Key_Minus);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageAvg);
  ctrlWheel(v, 120);  // away from the user: in
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageW);
  ctrlWheel(v, -60);  // half a notch does nothing yet
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageW);
  ctrlWheel(v, -60);
  ctrlWheel(v, -240);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageH);
  EXPECT_EQ(readout(), pageH);
  EXPECT_EQ(v->VertPos(), 0);

  // The plain wheel and the keypad keep their ways.
  ctrlWheel(v, -120, Qt::NoModifier);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageH);
  EXPECT_EQ(v->VertPos(), 90);
  press(Qt::KeypadModifier | Qt::Key_Plus);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageAvg);
  // Ctrl++ works from any control, the margin fields too.
  w.margT()->setFocus();
  press(Qt::ControlModifier | Qt::Key_Plus);
  EXPECT_EQ(v->ZoomLevel(), TEmfZoomLevel::zoomPageW);
  EXPECT_EQ(w.margT()->value(), 15);
}

TEST(PreviewZoom, ReadoutIsTheSheetAgainstTheRealPage) {
  EXPECT_EQ(emfgeo::ZoomPercent({794, 1123}, 96), 100);
  EXPECT_EQ(emfgeo::ZoomPercent({397, 561}, 96), 50);
  EXPECT_EQ(emfgeo::ZoomPercent({1240, 1754}, 150), 100);
  EXPECT_EQ(emfgeo::ZoomPercent({794, 1123}, 0), 0);
}

TEST_F(PreviewTools, CtrlCCopiesThePageInTheMiddleOfTheView) {
  TFrmPodglad w;
  w.OpenFile(printout(6));
  openActive(w);
  w.viewer()->setPageNr(4);
  press(Qt::ControlModifier | Qt::Key_C);
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_EQ(copied, PageText(w.viewer()->Page(3)));
  EXPECT_EQ(copied, QStringLiteral("Faktura nr 4/2024\nŻółw morski nr 4\nLp.\tNazwa\tKwota 4,00\n"));
  EXPECT_TRUE(w.hb()->TextCenter().contains(QStringLiteral("4")));

  // A selection in a text field is copied by the field itself.
  press(Qt::ControlModifier | Qt::Key_F);
  type(QStringLiteral("morski"));
  w.findBar()->edZnajdz()->selectAll();
  press(Qt::ControlModifier | Qt::Key_C);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("morski"));
}

// The bar fits the narrowest window the preview allows, count and all.
TEST_F(PreviewTools, FindBarFitsTheNarrowestWindow) {
  TFrmPodglad w;
  w.OpenFile(printout(3));
  openActive(w);
  press(Qt::ControlModifier | Qt::Key_F);
  type(QStringLiteral("nr"));
  w.resize(TFrmPodglad::kMinOuterWidth, 600);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.width(), TFrmPodglad::kMinOuterWidth);
  QLabel* count = w.findBar()->lblIle();
  EXPECT_GE(count->width(), count->fontMetrics().horizontalAdvance(QStringLiteral("2001 z 2001")));
  EXPECT_LE(w.findBar()->btnZamknij()->geometry().right(), w.findBar()->width());
}

// The tools strip gives way before the page counter does.
TEST(PreviewToolsLayout, ButtonsThenReadoutGiveWay) {
  struct Row {
    int room;
    bool buttons, readout;
    int width;
  };
  const Row rows[] = {{300, true, true, 125}, {129, true, true, 125}, {128, false, true, 56},
                      {60, false, true, 56}, {59, false, false, 0}, {-10, false, false, 0}};
  for (const Row& r : rows) {
    const auto l = TFrmPodglad::LayOutTools(r.room, 69, 56);
    EXPECT_EQ(l.buttonsShown, r.buttons) << r.room;
    EXPECT_EQ(l.readoutShown, r.readout) << r.room;
    EXPECT_EQ(l.width, r.width) << r.room;
  }
}

}  // namespace
}  // namespace zorpokaz
