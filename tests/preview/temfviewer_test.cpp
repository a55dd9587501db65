#include "preview/temfviewer.h"

#include "platform/gfx/pageimage.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>

namespace zorpokaz {
namespace {

using Z = TEmfZoomLevel;

// Records the keys that travel past the viewer to its parent.
class KeySink : public QWidget {
 public:
  QList<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* e) override { keys << e->key(); }
};

// Records the keys the window's filter sees before the viewer does.
class KeyWatch : public QObject {
 public:
  QList<int> keys;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) keys << static_cast<QKeyEvent*>(e)->key();
    return false;
  }
};

class ViewerTest : public testing::Test {
 protected:
  void SetUp() override {
    parent.resize(820, 620);
    viewer = new TEmfViewer(&parent);
    viewer->setGeometry(0, 0, 800, 600);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    viewer->setFocus();
  }
  void addPages(int n) {
    for (int i = 0; i < n; ++i) viewer->AddPage(std::make_shared<PageImage>(1429, 2000));
  }
  void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(viewer, static_cast<Qt::Key>(k), mods);
  }
  void wheel(int delta) {
    const QPointF at(100, 100);
    QWheelEvent e(at, viewer->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer, &e);
  }

  KeySink parent;
  TEmfViewer* viewer = nullptr;
};

TEST_F(ViewerTest, DefaultsAndEmptyView) {
  const int bar = viewer->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, viewer->VertBar());
  EXPECT_EQ(viewer->ViewWidth(), 800 - bar);
  EXPECT_EQ(viewer->ViewHeight(), 600);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageW);
  EXPECT_EQ(viewer->MargLeft(), 5);
  EXPECT_EQ(viewer->MargRight(), 5);
  EXPECT_EQ(viewer->MargTop(), 5);
  EXPECT_EQ(viewer->MargBottom(), 10);
  EXPECT_TRUE(viewer->ShowPageNr());
  // No pages: plain silver, no vertical range, and the page number still reads 1.
  EXPECT_EQ(viewer->VertBar()->maximum(), 0);
  EXPECT_EQ(viewer->PageNr(), 1);
  const QImage img = viewer->grab().toImage();
  EXPECT_EQ(img.pixelColor(viewer->ViewWidth() / 2, 300), QColor(192, 192, 192));
  // The children sit in the strip right of the view, buttons above the bar.
  EXPECT_EQ(viewer->StartButton()->geometry(), QRect(viewer->ViewWidth(), 0, bar, 15));
  EXPECT_EQ(viewer->EndButton()->geometry(), QRect(viewer->ViewWidth(), 15, bar, 15));
  EXPECT_EQ(viewer->VertBar()->geometry(), QRect(viewer->ViewWidth(), 30, bar, 570));
  EXPECT_FALSE(viewer->HorzBar()->isVisible());
}

TEST_F(ViewerTest, EveryZoomLevelUsesItsSheetSize) {
  addPages(3);
  for (int l = 0; l <= 6; ++l) {
    viewer->setZoomLevel(static_cast<Z>(l));
    const auto want = emfgeo::SheetSizeFor(static_cast<Z>(l), viewer->ViewWidth(), 600, 5, 5);
    EXPECT_EQ(viewer->SheetSize().width, want.width) << l;
    EXPECT_EQ(viewer->SheetSize().height, want.height) << l;
    EXPECT_EQ(viewer->VertBar()->maximum(), 3 * (want.height + 10) - 600) << l;
  }
  // zoomPageH in a 600-high view: 590 high, Round(590 * 70 / 99) = 417 wide.
  viewer->setZoomLevel(Z::zoomPageH);
  EXPECT_EQ(viewer->SheetSize().width, 417);
  EXPECT_EQ(viewer->SheetSize().height, 590);
}

TEST_F(ViewerTest, ZoomLimitsAndSignals) {
  addPages(5);
  QSignalSpy zoomed(viewer, &TEmfViewer::OnZoom);
  viewer->setZoomLevel(Z::zoomExtra3);
  EXPECT_EQ(zoomed.count(), 1);
  viewer->ZoomIn();
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomExtra3);
  EXPECT_EQ(zoomed.count(), 1);

  viewer->setZoomLevel(Z::zoomPageH);
  EXPECT_EQ(zoomed.count(), 2);
  // Already at the smallest level: no level change, no signal, but aligned to
  // the page under the view's centre.
  viewer->setVertPos(1000);  // centre at 1300: page 3 (slots of 600)
  viewer->ZoomOut();
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageH);
  EXPECT_EQ(zoomed.count(), 2);
  EXPECT_EQ(viewer->VertPos(), 1200);
  EXPECT_EQ(viewer->PageNr(), 3);
}

TEST_F(ViewerTest, ClickZoomsInAboutThePointerDragDoesNot) {
  addPages(4);
  const QPoint at(200, 300);
  const emfgeo::PagePoint before = viewer->PageAt(at + QPoint(2, -2));
  QTest::mouseMove(viewer, at);
  QTest::mousePress(viewer, Qt::LeftButton, {}, at);
  QTest::mouseMove(viewer, at + QPoint(2, -2));  // within the click tolerance
  QTest::mouseRelease(viewer, Qt::LeftButton, {}, at + QPoint(2, -2));
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomTextW);
  const emfgeo::PagePoint after = viewer->PageAt(at + QPoint(2, -2));
  EXPECT_NEAR(after.page, before.page, 2.0 / viewer->SheetSize().height);

  // A 3-pixel move starts a drag: three times the pointer's travel, no zoom.
  const int v = viewer->VertPos();
  QTest::mouseMove(viewer, at);
  QTest::mousePress(viewer, Qt::LeftButton, {}, at);
  QTest::mouseMove(viewer, at + QPoint(0, -3));
  EXPECT_EQ(viewer->VertPos(), v + 9);
  QTest::mouseMove(viewer, at + QPoint(0, -4));  // once dragging every pixel counts
  EXPECT_EQ(viewer->VertPos(), v + 12);
  QTest::mouseRelease(viewer, Qt::LeftButton, {}, at + QPoint(0, -4));
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomTextW);

  // The right button zooms out on release, with no drag test.
  QTest::mousePress(viewer, Qt::RightButton, {}, at);
  QTest::mouseRelease(viewer, Qt::RightButton, {}, at);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageW);
}

TEST_F(ViewerTest, DragMovesSidewaysOnlyWhenZoomedIn) {
  addPages(2);
  viewer->setZoomLevel(Z::zoomExtra1);
  viewer->HorzBar()->setValue(100);
  QTest::mouseMove(viewer, QPoint(300, 300));
  QTest::mousePress(viewer, Qt::LeftButton, {}, QPoint(300, 300));
  QTest::mouseMove(viewer, QPoint(290, 300));
  QTest::mouseRelease(viewer, Qt::LeftButton, {}, QPoint(290, 300));
  EXPECT_EQ(viewer->HorzPos(), 130);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomExtra1);
}

TEST_F(ViewerTest, WheelMovesNinetyPixelsANotch) {
  addPages(3);
  wheel(-120);
  EXPECT_EQ(viewer->VertPos(), 90);
  wheel(-240);
  EXPECT_EQ(viewer->VertPos(), 270);
  wheel(120);
  EXPECT_EQ(viewer->VertPos(), 180);
  wheel(1200);  // clamped at the start
  EXPECT_EQ(viewer->VertPos(), 0);
}

TEST_F(ViewerTest, ScrollKeysAreConsumedZoomKeysTravelOn) {
  addPages(5);
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    int startV, wantV;
  };
  const int vMax = viewer->VertBar()->maximum();
  const Case cases[] = {
      {Qt::Key_Down, Qt::NoModifier, 0, 30},
      {Qt::Key_2, Qt::KeypadModifier, 0, 30},
      {Qt::Key_Up, Qt::NoModifier, 100, 70},
      {Qt::Key_8, Qt::KeypadModifier, 100, 70},
      {Qt::Key_PageDown, Qt::NoModifier, 0, 600},
      {Qt::Key_3, Qt::KeypadModifier, 0, 600},
      {Qt::Key_PageUp, Qt::NoModifier, 700, 100},
      {Qt::Key_9, Qt::KeypadModifier, 700, 100},
      {Qt::Key_End, Qt::NoModifier, 0, vMax},
      {Qt::Key_1, Qt::KeypadModifier, 0, vMax},
      {Qt::Key_Home, Qt::NoModifier, 500, 0},
      {Qt::Key_7, Qt::KeypadModifier, 500, 0},
      {Qt::Key_Up, Qt::NoModifier, 0, 0},  // does nothing, still consumed
      // Below zoomExtra1 the side arrows do nothing but are consumed all the same.
      {Qt::Key_Left, Qt::NoModifier, 40, 40},
      {Qt::Key_Right, Qt::NoModifier, 40, 40},
      {Qt::Key_6, Qt::KeypadModifier, 40, 40},
  };
  for (const auto& c : cases) {
    viewer->setVertPos(c.startV);
    key(c.key, c.mods);
    EXPECT_EQ(viewer->VertPos(), c.wantV) << c.key;
    EXPECT_EQ(viewer->HorzPos(), 0) << c.key;
  }
  EXPECT_TRUE(parent.keys.isEmpty()) << parent.keys.first();

  // A plain digit is not the numeric pad: it neither scrolls nor is consumed.
  viewer->setVertPos(0);
  key(Qt::Key_2);
  EXPECT_EQ(viewer->VertPos(), 0);
  ASSERT_EQ(parent.keys.size(), 1);

  parent.keys.clear();
  key(Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomTextW);
  key(Qt::Key_Slash, Qt::KeypadModifier);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageH);
  key(Qt::Key_Asterisk, Qt::KeypadModifier);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageW);
  key(Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(viewer->ZoomLevel(), Z::zoomPageAvg);
  EXPECT_EQ(parent.keys.size(), 4);  // zoom keys travel on
}

TEST_F(ViewerTest, SidewaysKeysWhenZoomedIn) {
  addPages(2);
  viewer->setZoomLevel(Z::zoomExtra2);
  const int hMax = viewer->HorzBar()->maximum();
  ASSERT_GT(hMax, 60);
  viewer->HorzBar()->setValue(0);
  key(Qt::Key_Right);
  key(Qt::Key_6, Qt::KeypadModifier);
  EXPECT_EQ(viewer->HorzPos(), 60);
  key(Qt::Key_Left);
  EXPECT_EQ(viewer->HorzPos(), 30);
  key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(viewer->HorzPos(), hMax);
  EXPECT_EQ(viewer->VertPos(), 0);
  key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(viewer->HorzPos(), 0);
  // Shift+Down is no combination the viewer knows: nothing moves.
  key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(viewer->VertPos(), 0);
}

TEST_F(ViewerTest, EdgeButtonsSendKeysThroughTheWindowsFilter) {
  addPages(4);
  // The buttons pass on the modifiers last seen, so start from none held.
  key(Qt::Key_A);
  KeyWatch watch;
  viewer->installEventFilter(&watch);
  viewer->EndButton()->click();
  EXPECT_EQ(viewer->VertPos(), viewer->VertBar()->maximum());
  EXPECT_EQ(viewer->PageNr(), 4);
  viewer->StartButton()->click();
  EXPECT_EQ(viewer->VertPos(), 0);
  EXPECT_EQ(watch.keys, (QList<int>{Qt::Key_End, Qt::Key_Home}));
  EXPECT_EQ(viewer->StartButton()->toolTip(), QStringLiteral("Przejście na początek"));
  EXPECT_EQ(viewer->EndButton()->toolTip(), QStringLiteral("Przejście na koniec"));
}

TEST_F(ViewerTest, AddingNeverMovesResizingKeepsTheRelativePlace) {
  addPages(10);
  QSignalSpy changed(viewer, &TEmfViewer::OnChange);
  viewer->setVertPos(3000);
  addPages(1);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(viewer->VertPos(), 3000);
  const int oldMax = viewer->VertBar()->maximum();
  viewer->resize(600, 500);
  const int newMax = viewer->VertBar()->maximum();
  EXPECT_EQ(viewer->VertPos(), emfgeo::roundEven(3000.0 / oldMax * newMax));

  viewer->setPageNr(4);
  EXPECT_EQ(viewer->VertPos(), 3 * (viewer->SheetSize().height + 10));
  viewer->setPageNr(1000);  // beyond the last page: the end
  EXPECT_EQ(viewer->VertPos(), newMax);

  viewer->ClearPages();
  EXPECT_EQ(changed.count(), 2);
  viewer->ClearPages();  // nothing to clear: no notification
  EXPECT_EQ(changed.count(), 2);
  EXPECT_EQ(viewer->VertBar()->maximum(), 0);
}

// Collects the areas a widget is asked to paint.
class PaintWatch : public QObject {
 public:
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

TEST_F(ViewerTest, OnlyAVisibleNewPageRepaintsTheView) {
  viewer->setZoomLevel(Z::zoomPageH);  // one sheet fills the view
  const QRect view(0, 0, viewer->ViewWidth(), viewer->ViewHeight());
  PaintWatch watch;
  viewer->installEventFilter(&watch);
  addPages(1);
  QApplication::processEvents();
  EXPECT_TRUE(watch.painted.intersects(view));
  watch.painted = QRegion();
  addPages(3);  // below the view: only the scroll bar changes
  QApplication::processEvents();
  EXPECT_FALSE(watch.painted.intersects(view));
  viewer->setVertPos(300);  // a change of position repaints the view
  QApplication::processEvents();
  EXPECT_TRUE(watch.painted.intersects(view));
}

TEST_F(ViewerTest, MarginsRelayoutOnlyAtTextWidth) {
  addPages(2);
  const auto sheet = viewer->SheetSize();
  viewer->setMargLeft(30);
  EXPECT_EQ(viewer->SheetSize().width, sheet.width);
  viewer->setZoomLevel(Z::zoomTextW);
  const int w = viewer->SheetSize().width;
  viewer->setMargRight(30);
  EXPECT_GT(viewer->SheetSize().width, w);
  // The left edge of the text area sits at the left edge of the view.
  const int leftPx = emfgeo::MarginsPx(viewer->SheetSize(), 30, 0, 30, 0).left;
  EXPECT_EQ(emfgeo::SheetLeft(viewer->SheetSize(), viewer->ViewWidth(), viewer->HorzPos()) + leftPx, 2);
}

TEST_F(ViewerTest, PaintsSheetsShadowFrameAndLabel) {
  addPages(2);
  viewer->setZoomLevel(Z::zoomPageH);  // 417 x 590 sheets, centred
  const QImage img = viewer->grab().toImage();
  const int x = (viewer->ViewWidth() - 417) / 2;
  const int y = 5;
  EXPECT_EQ(img.pixelColor(x - 2, 300), QColor(192, 192, 192));
  EXPECT_EQ(img.pixelColor(x - 1, 300), QColor(Qt::black));  // frame
  EXPECT_EQ(img.pixelColor(x + 200, 300), QColor(Qt::white));
  EXPECT_EQ(img.pixelColor(x + 417, 300), QColor(Qt::black));      // frame, right
  EXPECT_EQ(img.pixelColor(x + 417 + 3, 300), QColor(Qt::black));  // shadow
  EXPECT_EQ(img.pixelColor(x + 417 + 4, 300), QColor(192, 192, 192));
  // The page label: red pixels along the sheet's top, around its middle.
  int red = 0;
  for (int px = x + 150; px < x + 270; ++px)
    for (int py = y; py < y + 12; ++py)
      if (img.pixelColor(px, py).red() > 200 && img.pixelColor(px, py).green() < 100) ++red;
  EXPECT_GT(red, 10);
  viewer->setShowPageNr(false);
  const QImage plain = viewer->grab().toImage();
  EXPECT_EQ(plain.pixelColor(x + 208, y + 4), QColor(Qt::white));

  // Scrolled by 300: the first sheet's frame and shadow end, the gap, then the
  // second sheet one slot (600) below the first.
  viewer->setVertPos(300);
  const QImage down = viewer->grab().toImage();
  EXPECT_EQ(down.pixelColor(x + 200, 294), QColor(Qt::white));
  EXPECT_EQ(down.pixelColor(x + 200, 295), QColor(Qt::black));
  EXPECT_EQ(down.pixelColor(x + 200, 298), QColor(Qt::black));
  EXPECT_EQ(down.pixelColor(x + 200, 299), QColor(192, 192, 192));
  EXPECT_EQ(down.pixelColor(x + 200, 304), QColor(Qt::black));
  EXPECT_EQ(down.pixelColor(x + 200, 305 + 20), QColor(Qt::white));
}

}  // namespace
}  // namespace zorpokaz
