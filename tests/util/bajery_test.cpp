#include "util/bajery.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

Qt::CursorShape overrideShape() {
  const QCursor* c = QGuiApplication::overrideCursor();
  return c ? c->shape() : Qt::ArrowCursor;
}

TEST(Bajery, BusyCursorNests) {
  ASSERT_EQ(BusyCount(), 0);
  SetBusy(true, false);
  EXPECT_EQ(overrideShape(), Qt::WaitCursor);
  SetBusy(true, true);  // the last call picks the cursor
  EXPECT_EQ(overrideShape(), Qt::BusyCursor);
  SetBusy(false, false);
  EXPECT_EQ(BusyCount(), 1);
  EXPECT_EQ(overrideShape(), Qt::WaitCursor);
  SetBusy(false, false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // An unmatched off neither goes negative nor leaves a busy cursor behind.
  SetBusy(false, false);
  EXPECT_EQ(BusyCount(), 0);
  SetBusy(true, true);
  SetBusy(false, true);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Bajery, PluralForms) {
  const struct {
    int count;
    const char* want;
  } cases[] = {{1, "strona"},  {2, "strony"},  {3, "strony"},  {4, "strony"},  {5, "stron"},
               {12, "stron"},  {14, "stron"},  {19, "stron"},  {21, "stron"},  {22, "strony"},
               {25, "stron"},  {0, "stron"},   {101, "stron"}, {102, "strony"}, {112, "stron"},
               {114, "stron"}, {122, "strony"}, {1004, "strony"}};
  for (const auto& c : cases)
    EXPECT_EQ(PluralForm(c.count, "strona", "strony", "stron"), QString::fromUtf8(c.want)) << c.count;
}

TEST(Bajery, EnableControlsLeavesLabelsAlone) {
  QWidget panel;
  auto* label = new QLabel("Marginesy:", &panel);
  auto* edit = new QLineEdit(&panel);
  auto* inner = new QWidget(&panel);
  auto* deep = new QPushButton("x", inner);
  EnableControls(&panel, false, false);
  EXPECT_FALSE(panel.isEnabled());
  EXPECT_FALSE(edit->isEnabledTo(&panel));
  EXPECT_FALSE(deep->isEnabledTo(inner));
  EXPECT_TRUE(label->isEnabledTo(&panel));  // its own state is untouched
  EnableControls(&panel, false, true);
  EXPECT_FALSE(label->isEnabledTo(&panel));
  EnableControls(&panel, true, true);
  EXPECT_TRUE(label->isEnabled());
  EXPECT_TRUE(deep->isEnabled());
}

TEST(Bajery, ControlAtPointFindsTheDeepestVisibleChild) {
  QWidget top;
  top.setGeometry(100, 100, 300, 200);
  auto* panel = new QWidget(&top);
  panel->setGeometry(10, 10, 200, 100);
  auto* button = new QPushButton("b", panel);
  button->setGeometry(20, 20, 50, 30);
  auto* cover = new QWidget(&top);  // created last: on top of the panel
  cover->setGeometry(150, 10, 100, 100);
  auto* hidden = new QWidget(&top);
  hidden->setGeometry(0, 0, 300, 200);
  hidden->hide();
  top.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
  auto at = [&](int x, int y) { return ControlAtPoint(&top, top.mapToGlobal(QPoint(x, y))); };
  EXPECT_EQ(at(35, 35), button);
  EXPECT_EQ(at(15, 15), panel);
  EXPECT_EQ(at(160, 20), cover);  // overlapping: the later child wins
  EXPECT_EQ(at(290, 190), &top);
  EXPECT_EQ(at(400, 20), nullptr);
}

TEST(Bajery, SafeSetFocusExplainsAFailure) {
  QWidget top;
  top.setObjectName("FrmTest");
  auto* edit = new QLineEdit(&top);
  edit->setObjectName("edKopie");
  top.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
  edit->hide();
  try {
    SafeSetFocus(edit);
    FAIL() << "no error";
  } catch (const ESetFocusError& e) {
    EXPECT_EQ(QString::fromStdString(e.what()),
              QStringLiteral("Problem z SetFocus dla: edKopie-QLineEdit, FrmTest-QWidget\r"
                             "(Visible=0, Enabled=1, CanFocus=0)"));
  }
  edit->show();
  top.activateWindow();
  EXPECT_NO_THROW(SafeSetFocus(edit));
  EXPECT_EQ(top.focusWidget(), edit);
  EXPECT_EQ(ComponentPath(nullptr), QStringLiteral("nil"));
}

TEST(Bajery, HandleOneMessageRunsPendingWorkAndNeverWaits) {
  bool ran = false;
  QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
  HandleOneMessage();
  EXPECT_TRUE(ran);
  HandleOneMessage();  // nothing pending: returns (a hang fails the test by timeout)
}

TEST(Bajery, WorkAreaIsOnTheScreen) {
  const QRect area = GetWorkArea();
  EXPECT_FALSE(area.isEmpty());
  EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(area));
}

// Ink of an image: the bounding box of its dark pixels (empty when none).
QRect inkOf(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
  return box;
}

QImage whiteImage(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(Bajery, DrawTextInWrapsAndMeasures) {
  QImage image = whiteImage({200, 200});
  QPainter p(&image);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(14);
  p.setFont(f);
  p.setPen(Qt::black);
  const QRect rect(10, 10, p.fontMetrics().horizontalAdvance(QStringLiteral("Wierszami ")) + 2, 150);
  const QString three = QStringLiteral("Wierszami trzema zapisany");
  const int one = DrawTextIn(p, rect, QStringLiteral("Jeden"), true);
  const int height = DrawTextIn(p, rect, three, true);
  EXPECT_GT(height, 2 * one);
  EXPECT_LT(height, 4 * one);
  EXPECT_TRUE(inkOf(image).isNull()) << "measuring draws nothing";
  EXPECT_EQ(DrawTextIn(p, rect, three, false), height);
  p.end();
  const QRect ink = inkOf(image);
  EXPECT_GE(ink.top(), rect.top());
  EXPECT_LE(ink.right(), rect.right());
  EXPECT_LE(ink.bottom(), rect.top() + height);
  EXPECT_GT(ink.height(), 2 * one) << "three lines drawn";
}

TEST(Bajery, RotatedFontKeepsTheFaceAndTurnsTheText) {
  QFont source(QStringLiteral("Liberation Mono"));
  source.setPixelSize(16);
  source.setWeight(QFont::DemiBold);
  source.setItalic(true);
  source.setUnderline(true);
  source.setStrikeOut(true);
  source.setFixedPitch(true);
  const TRotatedFont turned = CreateRotatedFont(source, 90);
  EXPECT_EQ(turned.escapement, 900);
  EXPECT_EQ(turned.font.family(), source.family());
  EXPECT_EQ(turned.font.pixelSize(), 16);
  EXPECT_EQ(turned.font.weight(), QFont::Bold) << "bold or normal only";
  EXPECT_TRUE(turned.font.italic() && turned.font.underline() && turned.font.strikeOut());
  EXPECT_TRUE(turned.font.fixedPitch());
  QFont light = source;
  light.setWeight(QFont::Light);
  EXPECT_EQ(CreateRotatedFont(light, 0).font.weight(), QFont::Normal);

  // Turned by 90°, the text runs up from its starting point; its cell lies
  // to the right of that point's column.
  QImage image = whiteImage({120, 120});
  QPainter p(&image);
  p.setPen(Qt::black);
  TextOutRotated(p, QPoint(40, 100), QStringLiteral("MMMM"), CreateRotatedFont(source, 90));
  p.end();
  const QRect ink = inkOf(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left(), 40);
  EXPECT_LE(ink.right(), 40 + QFontMetrics(turned.font).height());
  EXPECT_LE(ink.bottom(), 100);
  EXPECT_GT(ink.height(), 2 * ink.width());
}

// Counts its paintings.
class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(Bajery, RepaintAllFormsPaintsOnlyWhatIsPending) {
  PaintCounter updated, untouched;
  updated.setGeometry(0, 0, 100, 100);
  untouched.setGeometry(150, 0, 100, 100);
  updated.show();
  untouched.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&updated));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&untouched));
  QCoreApplication::processEvents();
  updated.paints = untouched.paints = 0;
  updated.update();
  RepaintAllForms();
  EXPECT_EQ(updated.paints, 1) << "the pending area is painted at once";
  EXPECT_EQ(untouched.paints, 0) << "a window with nothing pending is left alone";
}

}  // namespace
}  // namespace zorpokaz
