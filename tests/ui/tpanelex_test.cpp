#include "ui/tpanelex.h"

#include <QApplication>
#include <QImage>
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

}  // namespace
}  // namespace zorpokaz
