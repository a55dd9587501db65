#include "ui/tzorbtn.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

using A = TZorBtn::Arrangement;

TEST(ZorBtn, DefaultsAndClampedColour) {
  TZorBtn b;
  EXPECT_EQ(b.size(), QSize(40, 33));
  EXPECT_EQ(b.Typ(), TZorBtnTyp::sbWlasny);
  EXPECT_EQ(b.Margines(), 2);
  EXPECT_TRUE(b.ShowFrame());
  EXPECT_FALSE(b.Down());
  b.setKolor(7);
  EXPECT_EQ(b.Kolor(), 4);
  b.setKolor(-1);
  EXPECT_EQ(b.Kolor(), 0);
  EXPECT_EQ(static_cast<int>(TZorBtnTyp::sbF1), 22);
  EXPECT_EQ(static_cast<int>(TZorBtnTyp::sbWlasny), 43);
  EXPECT_EQ(static_cast<int>(TZorBtnTyp::sbSlash), 44);
}

TEST(ZorBtn, ArrangementBySize) {
  const struct {
    QSize size;
    A want;
  } cases[] = {{{70, 33}, A::Stacked},    {{121, 25}, A::Horizontal}, {{15, 11}, A::Horizontal},
               {{20, 60}, A::Vertical},   {{100, 75}, A::Stacked},    {{40, 30}, A::Stacked},
               {{40, 29}, A::Horizontal}, {{20, 40}, A::Stacked}};
  for (const auto& c : cases)
    EXPECT_EQ(TZorBtn::ArrangementFor(c.size), c.want) << c.size.width() << "x" << c.size.height();
}

class ZorBtnMouse : public testing::Test {
 protected:
  void SetUp() override {
    host.resize(200, 100);
    btn = new TZorBtn(&host);
    btn->setGeometry(10, 10, 70, 33);
    btn->setTyp(TZorBtnTyp::sbF7);
    btn->setOpis("&Dodaj wydruk");
    btn->OnClick = [this](TZorBtn&) { ++clicks; };
    btn->OnMouseDown = [this](TZorBtn&) { ++downs; };
    btn->OnMouseUp = [this](TZorBtn&) { ++ups; };
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }
  QWidget host;
  TZorBtn* btn = nullptr;
  int clicks = 0, downs = 0, ups = 0;
};

TEST_F(ZorBtnMouse, PressAndReleaseOnTheButtonIsAClick) {
  QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(btn->Pressed());
  QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_FALSE(btn->Pressed());
  EXPECT_FALSE(btn->Hot());
  // Released outside: no click.
  QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(100, 50));
  EXPECT_EQ(clicks, 1);
  // A click never latches the button.
  EXPECT_FALSE(btn->Down());
  // Disabled: nothing.
  btn->setEnabled(false);
  QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ZorBtnMouse, DoubleClickIsTwoClicks) {
  // What the platform delivers for a double click: press, release, double
  // click in place of the second press, release.
  QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseDClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 2);
}

TEST_F(ZorBtnMouse, AcceleratorClicks) {
  QTest::keyClick(&host, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  btn->setEnabled(false);
  QTest::keyClick(&host, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ZorBtnMouse, FlatButtonShowsItsEdgeOnlyWhileHot) {
  btn->setShowFrame(false);
  btn->setTyp(TZorBtnTyp::sbWlasny);
  btn->setOpis("");
  const QColor face = host.palette().color(QPalette::Window);
  const QImage flat = btn->grab().toImage();
  EXPECT_EQ(flat.pixelColor(0, 16), face);
  EXPECT_EQ(flat.pixelColor(69, 16), face);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), btn->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(btn, &enter);
  ASSERT_TRUE(btn->Hot());
  const QImage hot = btn->grab().toImage();
  EXPECT_NE(hot.pixelColor(69, 16), face);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(btn, &leave);
  EXPECT_FALSE(btn->Hot());
  EXPECT_EQ(btn->grab().toImage().pixelColor(69, 16), face);
}

// The edge of a framed button under the pointer: where the 3-D light differs
// from the face, a cold button's edge is the soft one (3-D light at the top
// left, dark shadow when pressed) and a hot one's the plain one (highlight,
// shadow), so the pointer visibly lifts the button.
TEST_F(ZorBtnMouse, HotButtonChangesItsEdge) {
  QPalette pal = btn->palette();
  pal.setColor(QPalette::Button, QColor(192, 192, 192));
  pal.setColor(QPalette::Midlight, QColor(223, 223, 223));
  pal.setColor(QPalette::Light, QColor(255, 255, 255));
  pal.setColor(QPalette::Dark, QColor(128, 128, 128));
  pal.setColor(QPalette::Shadow, QColor(0, 0, 0));
  btn->setPalette(pal);
  auto topLeft = [this] { return btn->grab().toImage().pixelColor(0, 16); };
  auto bottomRight = [this] { return btn->grab().toImage().pixelColor(69, 16); };
  EXPECT_EQ(topLeft(), QColor(223, 223, 223)) << "cold: soft raised edge";
  EXPECT_EQ(bottomRight(), QColor(128, 128, 128));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), btn->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(btn, &enter);
  ASSERT_TRUE(btn->Hot());
  EXPECT_EQ(topLeft(), QColor(255, 255, 255)) << "hot: plain raised edge";
  QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(topLeft(), QColor(128, 128, 128)) << "hot and pressed: plain sunken edge";
  EXPECT_EQ(bottomRight(), QColor(255, 255, 255));
  QTest::mouseMove(btn, QPoint(100, 50));
  ASSERT_FALSE(btn->Hot());
  EXPECT_EQ(topLeft(), QColor(223, 223, 223)) << "held, pointer gone: cold again";
  QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(100, 50));
  btn->setDown(true);
  EXPECT_EQ(topLeft(), QColor(0, 0, 0)) << "latched and cold: soft sunken edge";
  btn->setDown(false);

  // Where the 3-D light is the face colour, the hot edge is the double one.
  pal.setColor(QPalette::Midlight, pal.color(QPalette::Button));
  btn->setPalette(pal);
  QApplication::sendEvent(btn, &enter);
  const QImage hot = btn->grab().toImage();
  EXPECT_EQ(hot.pixelColor(0, 16), QColor(255, 255, 255)) << "soft raised: highlight outside";
  EXPECT_EQ(hot.pixelColor(1, 16), QColor(192, 192, 192)) << "3-D light inside";
  EXPECT_EQ(hot.pixelColor(69, 16), QColor(0, 0, 0));
  EXPECT_EQ(hot.pixelColor(68, 16), QColor(128, 128, 128));
}

// A tall narrow button writes its text turned, reading upwards from the
// bottom, centred across the button.
TEST_F(ZorBtnMouse, VerticalButtonTurnsItsText) {
  btn->setTyp(TZorBtnTyp::sbWlasny);
  btn->setOpis("MMMMMM");
  btn->setGeometry(10, 10, 20, 90);
  ASSERT_EQ(btn->arrangement(), TZorBtn::Arrangement::Vertical);
  const QImage img = btn->grab().toImage();
  int minX = 100, maxX = -1, minY = 100, maxY = -1;
  for (int y = 2; y < 88; ++y)
    for (int x = 2; x < 18; ++x)
      if (qGray(img.pixel(x, y)) < 80) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0) << "no text drawn";
  EXPECT_GT(maxY - minY, 2 * (maxX - minX)) << "the text runs along the button";
  EXPECT_LE(std::abs((minX + maxX) / 2 - 10), 2) << "centred across";
  EXPECT_GT(maxY, 75) << "starting at the bottom";
}

TEST_F(ZorBtnMouse, DisabledKeyCapIsGrey) {
  const QImage on = btn->grab().toImage();
  btn->setEnabled(false);
  const QImage off = btn->grab().toImage();
  // The middle of the key cap (stacked: centred, 2 px from the top).
  const QColor capOn = on.pixelColor(35, 4);
  const QColor capOff = off.pixelColor(35, 4);
  EXPECT_GT(capOn.blue(), capOn.red() + 40);  // Kolor 0 is blue
  EXPECT_EQ(capOff.red(), capOff.blue());    // grey
  EXPECT_EQ(capOff.red(), capOff.green());
}

}  // namespace
}  // namespace zorpokaz
