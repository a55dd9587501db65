#include "ui/tpanelex.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

// A parent that notes the presses reaching it.
class Beneath : public QWidget {
 public:
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(TPanelEx, TransparentPointsBelongToTheWindowBeneath) {
  Beneath parent;
  parent.resize(200, 100);
  auto* panel = new TPanelEx(&parent);
  panel->setGeometry(0, 0, 200, 50);
  panel->OnHitTest = [](TPanelEx&, int, int, THitTest& r) { r = THitTest::Transparent; };
  EXPECT_EQ(panel->HitTest(QPoint(5, 5)), THitTest::Transparent);
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(parent.presses, 1);
  panel->OnHitTest = nullptr;
  EXPECT_EQ(panel->HitTest(QPoint(5, 5)), THitTest::Client);
}

TEST(TPanelEx, Caption2ReplacesCaptionAndBevels) {
  TPanelEx panel;
  panel.resize(120, 40);
  panel.setColor(Qt::white);
  panel.setFontColor(Qt::black);
  panel.setBevelWidth(2);
  const QImage bevelled = panel.grab().toImage();
  EXPECT_NE(bevelled.pixelColor(119, 39), QColor(Qt::white));  // the dark bevel edge
  panel.setCaption2(QStringLiteral("x"));
  const QImage plain = panel.grab().toImage();
  EXPECT_EQ(plain.pixelColor(119, 39), QColor(Qt::white));
}

TEST(TPanelEx, AutoHeightFitsTheWrappedCaption2) {
  TPanelEx panel;
  panel.resize(80, 300);
  panel.setBorderWidth(3);
  panel.setAutoHeight(true);
  EXPECT_EQ(panel.height(), 300);  // nothing to fit yet
  panel.setCaption2(QStringLiteral("jeden dwa trzy cztery pięć sześć siedem osiem"));
  const int lines = panel.height() - 6;
  EXPECT_GT(lines, panel.fontMetrics().height());  // wrapped onto several lines
  EXPECT_LT(panel.height(), 300);
}

TEST(TPanelEx, MinWidthHoldsWhenSizedSmaller) {
  TPanelEx panel;
  panel.setMinWidth(100);
  panel.resize(60, 20);
  EXPECT_EQ(panel.width(), 100);
  EXPECT_EQ(panel.FrameWidth(), 1);
}

// A panel whose own hit test makes its top strip a caption and its last four
// columns a right edge, as a panel the user may move and size is set up.
class MovablePanel : public testing::Test {
 protected:
  void SetUp() override {
    host.resize(400, 200);
    panel = new TPanelEx(&host);
    panel->setGeometry(50, 50, 150, 60);
    panel->OnHitTest = [this](TPanelEx& p, int x, int y, THitTest& r) {
      const QPoint local = p.mapFromGlobal(QPoint(x, y));
      if (local.x() >= p.width() - 4) r = THitTest::Right;
      else if (local.y() < 10) r = THitTest::Caption;
    };
    panel->OnExitSizeMove = [this](TPanelEx&) { events << "exit"; };
    panel->OnNCLMouseUp = [this](TPanelEx&) { events << "up"; };
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }
  QWidget host;
  TPanelEx* panel = nullptr;
  QStringList events;
};

TEST_F(MovablePanel, SizingBelowMinWidthYieldsMinWidth) {
  panel->setMinWidth(100);
  QList<int> proposed;
  panel->OnPanelResize = [&](TPanelEx&, QRect& r) { proposed << r.width(); };
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(148, 30));
  QTest::mouseMove(panel, QPoint(148 - 90, 30));  // to 60 wide
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(148 - 90, 30));
  EXPECT_EQ(panel->width(), 100);
  EXPECT_EQ(panel->x(), 50) << "the left edge stays";
  ASSERT_FALSE(proposed.isEmpty());
  EXPECT_EQ(proposed.back(), 100) << "the hook sees the width already held at the minimum";
  EXPECT_EQ(events, (QStringList{"exit", "up"}));
}

TEST_F(MovablePanel, CaptionMovesThePanelAsTheHookAllows) {
  // The hook keeps the panel on its row.
  panel->OnPanelMove = [](TPanelEx&, QRect& r) { r.moveTop(50); };
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 5));
  QTest::mouseMove(panel, QPoint(60, 35));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(60, 35));
  EXPECT_EQ(panel->pos(), QPoint(90, 50));
  EXPECT_EQ(panel->size(), QSize(150, 60));
  EXPECT_EQ(events, (QStringList{"exit", "up"}));
  // A press in the client area is no move and no non-client click.
  events.clear();
  QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 40));
  EXPECT_EQ(panel->pos(), QPoint(90, 50));
  EXPECT_TRUE(events.isEmpty());
}

TEST_F(MovablePanel, DoubleClickOnTheCaptionIsANonClientDoubleClick) {
  int ncDouble = 0, clientDouble = 0;
  panel->OnNCLMouseDblClk = [&](TPanelEx&) { ++ncDouble; };
  panel->OnDblClick = [&](TPanelEx&) { ++clientDouble; };
  QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(20, 5));
  QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(20, 40));
  EXPECT_EQ(ncDouble, 1);
  EXPECT_EQ(clientDouble, 1);
}

TEST_F(MovablePanel, CursorHookChoosesByTheHitTest) {
  panel->setCursor(Qt::PointingHandCursor);
  QList<THitTest> seen;
  panel->OnSetCursor = [&](TPanelEx&, THitTest h, QCursor& c) {
    seen << h;
    if (h == THitTest::Right) c = QCursor(Qt::SizeHorCursor);
  };
  QTest::mouseMove(panel, QPoint(148, 30));
  EXPECT_EQ(panel->cursor().shape(), Qt::SizeHorCursor);
  QTest::mouseMove(panel, QPoint(40, 30));
  EXPECT_EQ(panel->cursor().shape(), Qt::ArrowCursor) << "the hook's choice is gone with the edge";
  EXPECT_EQ(seen, (QList<THitTest>{THitTest::Right, THitTest::Client}));
}

TEST(TPanelEx, EraseHookDecidesTheBackground) {
  TPanelEx panel;
  panel.resize(40, 20);
  panel.setColor(QColor(10, 200, 10));
  QList<bool> offered;
  bool erase = true;
  panel.OnEraseBkgnd = [&](TPanelEx&, bool& e) {
    offered << e;
    e = erase;
  };
  panel.OnBeforePaint = [](TPanelEx&, QPainter& p, bool& doDefault) {
    doDefault = false;
    p.fillRect(0, 0, 10, 20, Qt::blue);  // the hook's own drawing, left part only
  };
  QPixmap canvas(40, 20);
  canvas.fill(Qt::red);
  panel.render(&canvas);
  EXPECT_EQ(canvas.toImage().pixelColor(30, 10), QColor(10, 200, 10)) << "erased in the panel's colour";
  erase = false;
  canvas.fill(Qt::red);
  panel.render(&canvas);
  EXPECT_EQ(canvas.toImage().pixelColor(30, 10), QColor(Qt::red)) << "not erased";
  EXPECT_EQ(canvas.toImage().pixelColor(5, 10), QColor(Qt::blue));
  panel.setCaption2(QStringLiteral("x"));
  panel.render(&canvas);
  EXPECT_EQ(offered, (QList<bool>{true, true, false})) << "a second caption is not erased first";
}

TEST(TPanelEx, KeysAndFocusMovesReachTheHooks) {
  QWidget window;
  auto* panel = new TPanelEx(&window);
  panel->setFocusPolicy(Qt::StrongFocus);
  auto* first = new QLineEdit(panel);
  auto* second = new QLineEdit(panel);
  second->move(0, 30);
  int focusMoves = 0;
  QStringList keys;
  panel->OnNextDlgCtl = [&](TPanelEx&) { ++focusMoves; };
  panel->OnKeyDown = [&](TPanelEx&, int& key, Qt::KeyboardModifiers) {
    keys << QStringLiteral("down %1").arg(key);
    if (key == Qt::Key_X) key = 0;  // consumed
  };
  panel->OnKeyUp = [&](TPanelEx&, int& key, Qt::KeyboardModifiers) { keys << QStringLiteral("up %1").arg(key); };
  panel->OnKeyPress = [&](TPanelEx&, QChar& c) { keys << QStringLiteral("press ") + c; };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  first->setFocus();
  QTest::keyClick(first, Qt::Key_Tab);
  EXPECT_EQ(focusMoves, 1);
  EXPECT_TRUE(second->hasFocus());
  panel->setFocus();
  QTest::keyClick(panel, Qt::Key_A);
  QTest::keyClick(panel, Qt::Key_X);
  EXPECT_EQ(keys, (QStringList{QStringLiteral("down %1").arg(Qt::Key_A), "press a",
                               QStringLiteral("up %1").arg(Qt::Key_A), QStringLiteral("down %1").arg(Qt::Key_X),
                               QStringLiteral("up %1").arg(Qt::Key_X)}));
}

}  // namespace
}  // namespace zorpokaz
