#include "ui/thintbar.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class HintBarTest : public testing::Test {
 protected:
  void SetUp() override {
    bar.resize(600, 24);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  }
  int greenPixels() {
    const QImage img = bar.grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        if (c.green() > 200 && c.red() < 80 && c.blue() < 80) ++n;
      }
    return n;
  }
  THintBar bar;
};

TEST_F(HintBarTest, DefaultsAndLayout) {
  EXPECT_EQ(bar.height(), 24);
  EXPECT_EQ(bar.BtnWidth(), 75);
  EXPECT_TRUE(bar.Active());
  EXPECT_TRUE(bar.HelpButton());
  EXPECT_EQ(bar.HelpHint(), QStringLiteral("F1"));
  EXPECT_EQ(bar.AcceptHint(), QStringLiteral("Enter"));
  EXPECT_EQ(bar.CancelHint(), QStringLiteral("Esc"));
  // No Accept or Cancel caption: no buttons there, R is Width - m.
  EXPECT_FALSE(bar.AcceptButton()->isVisible());
  EXPECT_FALSE(bar.CancelButton()->isVisible());
  EXPECT_EQ(bar.TextAreaRight(), 600 - 2);
  EXPECT_EQ(bar.TextAreaLeft(), 2 + 75 + 3);
  EXPECT_EQ(bar.HelpButtonWidget()->geometry(), QRect(2, 2, 75, 20));

  bar.setBtnWidth(85);
  bar.setTextCancel("Zamknij");
  bar.setTextAccept("Drukuj");
  // Help, text area, Accept, Cancel, three pixels between neighbours.
  EXPECT_EQ(bar.CancelButton()->geometry(), QRect(600 - 2 - 85, 2, 85, 20));
  EXPECT_EQ(bar.AcceptButton()->geometry(), QRect(600 - 2 - 85 - 3 - 85, 2, 85, 20));
  EXPECT_EQ(bar.TextAreaRight(), 600 - 2 - 2 * 88);
  EXPECT_TRUE(bar.AcceptButton()->isVisible());

  bar.setHelpButton(false);
  EXPECT_EQ(bar.TextAreaLeft(), 2);  // the left text starts at m
  EXPECT_FALSE(bar.HelpButtonWidget()->isVisible());

  bar.setTextAccept("");
  EXPECT_FALSE(bar.AcceptButton()->isVisible());
  EXPECT_EQ(bar.TextAreaRight(), 600 - 2 - 88);
}

TEST_F(HintBarTest, ButtonsAndKeysReachTheHandlers) {
  QList<QObject*> accepted, cancelled;
  int helped = 0;
  bar.setTextAccept("Drukuj");
  bar.setTextCancel("Zamknij");
  bar.OnAccept = [&](QObject* s) { accepted << s; };
  bar.OnCancel = [&](QObject* s) { cancelled << s; };
  bar.OnHelp = [&] { ++helped; };
  bar.AcceptButton()->click();
  bar.CancelButton()->click();
  bar.HelpButtonWidget()->click();
  EXPECT_EQ(accepted, QList<QObject*>{bar.AcceptButton()});
  EXPECT_EQ(cancelled, QList<QObject*>{bar.CancelButton()});
  EXPECT_EQ(helped, 1);

  QTest::keyClick(&bar, Qt::Key_Return);
  QTest::keyClick(&bar, Qt::Key_Escape);
  QTest::keyClick(&bar, Qt::Key_F1);
  EXPECT_EQ(accepted.last(), &bar);
  EXPECT_EQ(cancelled.last(), &bar);
  EXPECT_EQ(helped, 2);
  // With a modifier the keys are not the bar's.
  QTest::keyClick(&bar, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(accepted.size(), 2);
}

TEST_F(HintBarTest, KeysAreConsumedWithoutHandlers) {
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&bar, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(&bar, &other);
  EXPECT_FALSE(other.isAccepted());
}

TEST_F(HintBarTest, CentredMessageIsDrawnOnlyWhenItFits) {
  bar.setTextCenter("Gotowe");
  EXPECT_GT(greenPixels(), 20);
  // Longer than the space between the side texts: not drawn at all.
  bar.setTextCenter(QString(200, QLatin1Char('W')));
  EXPECT_EQ(greenPixels(), 0);

  bar.setTextCenter("Błąd");
  bar.setErrorState(true);
  EXPECT_EQ(greenPixels(), 0);
  const QImage err = bar.grab().toImage();
  int yellow = 0;
  for (int y = 0; y < err.height(); ++y)
    for (int x = 0; x < err.width(); ++x)
      if (err.pixelColor(x, y) == QColor(255, 255, 0)) ++yellow;
  EXPECT_GT(yellow, 5);
  // Inactive: silver text and no yellow shadow, grey bar.
  bar.setActive(false);
  const QImage off = bar.grab().toImage();
  bool anyYellow = false;
  for (int y = 0; y < off.height(); ++y)
    for (int x = 0; x < off.width(); ++x)
      if (off.pixelColor(x, y) == QColor(255, 255, 0)) anyYellow = true;
  EXPECT_FALSE(anyYellow);
  EXPECT_EQ(off.pixelColor(300, 1), QColor(128, 128, 128));
  EXPECT_FALSE(bar.HelpButtonWidget()->isEnabled());
  bar.ShowHintText("ok");
  EXPECT_FALSE(bar.ErrorState());
}

TEST_F(HintBarTest, SameTextCausesNoRepaint) {
  PaintCounter counter;
  bar.setTextLeft("Wczytywanie pliku...");
  QApplication::processEvents();
  bar.installEventFilter(&counter);
  bar.setTextLeft("Wczytywanie pliku...");
  bar.setTextCenter("");
  bar.setErrorState(false);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  // ShowLeftText paints before returning, with no event loop turn.
  bar.ShowLeftText("Tworzenie stron... 5%");
  EXPECT_EQ(counter.paints, 1);
  EXPECT_EQ(bar.TextLeft(), QStringLiteral("Tworzenie stron... 5%"));
}

}  // namespace
}  // namespace zorpokaz
