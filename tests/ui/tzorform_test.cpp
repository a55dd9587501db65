#include "ui/tzorform.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ui/thintbar.h"
#include "util/bajery.h"

namespace zorpokaz {
namespace {

// A descendant that counts its messages and keys.
class TProbeForm : public TZorForm {
 public:
  explicit TProbeForm(QWidget* owner = nullptr, const char* name = "TProbeForm")
      : TZorForm(owner, name) {}
  int afterShow = 0;
  int frameStates = 0;
  int accepts = 0;
  void hbAccept() override { ++accepts; }

 protected:
  void WMAfterShow() override { ++afterShow; }
  void UpdateFrameState() override {
    TZorForm::UpdateFrameState();
    ++frameStates;
  }
};

TEST(TZorForm, KeepOnWorkAreaGivesUpSizeBeforeMoving) {
  const QRect area(0, 0, 1000, 700);
  struct Case {
    QRect bounds;
    int minW, minH;
    QRect expected;
  };
  const Case cases[] = {
      {{100, 100, 300, 200}, 300, 200, {100, 100, 300, 200}},  // inside: unchanged
      // Sticks out 200 px at the bottom: 100 px of height given up (down to
      // the minimum 200), the other 100 taken by moving up.
      {{100, 600, 300, 300}, 300, 200, {100, 500, 300, 200}},
      {{800, 100, 400, 200}, 250, 200, {750, 100, 250, 200}},   // right: width first
      {{100, -50, 300, 400}, 300, 200, {100, 0, 300, 350}},     // top: moved down, shrinks
      {{-40, 100, 300, 200}, 300, 200, {0, 100, 300, 200}},     // left: moved right
      // Bigger than the area and its minimum as large: top-left corner.
      {{-10, -10, 1200, 900}, 1200, 900, {0, 0, 1200, 900}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TZorForm::KeepRectOnWorkArea(c.bounds, area, c.minW, c.minH), c.expected)
        << c.bounds.x() << "," << c.bounds.y();
}

TEST(TZorForm, CentredOnTheWorkAreaOrAtItsTopLeftWhenTooSmall) {
  EXPECT_EQ(TZorForm::CenteredRect(QRect(0, 0, 1000, 700), 640, 380), QRect(180, 160, 640, 380));
  EXPECT_EQ(TZorForm::CenteredRect(QRect(20, 30, 300, 200), 640, 380), QRect(20, 30, 640, 380));
}

TEST(TZorForm, SizeLimitsClampEveryRequest) {
  QPointer<TProbeForm> f = new TProbeForm;
  f->setMinFormWidth(10);
  EXPECT_EQ(f->MinFormWidth(), 20);
  f->setMinFormWidth(400);
  f->setMaxFormWidth(350);  // below the minimum: the minimum follows
  EXPECT_EQ(f->MinFormWidth(), 350);
  EXPECT_EQ(f->NormalWidth(), 350);
  f->SetBounds(QRect(10, 10, 900, 50));
  EXPECT_EQ(f->width(), 350);
  EXPECT_EQ(f->height(), 200);
  f->setMaxFormHeight(250);
  f->SetBounds(QRect(10, 10, 100, 900));
  EXPECT_EQ(f->size(), QSize(350, 250));
  delete f;
}

TEST(TZorForm, FixedSizeLeavesOnlyTheCaptionDrag) {
  QPointer<TProbeForm> f = new TProbeForm;
  f->setMinFormWidth(640);
  f->setMaxFormWidth(640);
  f->setMinFormHeight(380);
  f->setMaxFormHeight(380);
  f->SetBounds(QRect(0, 0, 640, 380));
  ASSERT_EQ(f->size(), QSize(640, 380));
  const QPoint edges[] = {{1, 100}, {638, 100}, {300, 1}, {300, 378},
                          {1, 1},   {638, 1},   {1, 378}, {638, 378}};
  for (const QPoint& p : edges)
    EXPECT_EQ(f->HitTestAt(p), THitTest::Border) << p.x() << "," << p.y();
  EXPECT_EQ(f->HitTestAt(QPoint(100, 12)), THitTest::Caption);
  EXPECT_EQ(f->HitTestAt(QPoint(300, 200)), THitTest::Client);

  f->setMaxFormWidth(0);
  f->setMaxFormHeight(0);
  EXPECT_EQ(f->HitTestAt(QPoint(1, 100)), THitTest::Left);
  EXPECT_EQ(f->HitTestAt(QPoint(638, 100)), THitTest::Right);
  EXPECT_EQ(f->HitTestAt(QPoint(300, 378)), THitTest::Bottom);
  EXPECT_EQ(f->HitTestAt(QPoint(1, 1)), THitTest::TopLeft);
  EXPECT_EQ(f->HitTestAt(QPoint(638, 378)), THitTest::BottomRight);
  delete f;
}

TEST(TZorForm, CaptionDragMovesAndBottomDragStopsAtTheMinimum) {
  QPointer<TProbeForm> f = new TProbeForm;
  f->SetBounds(QRect(50, 50, 400, 300));
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  const QRect before = f->geometry();
  QTest::mousePress(f, Qt::LeftButton, {}, QPoint(100, 12));
  QMouseEvent move(QEvent::MouseMove, QPointF(130, 32), f->mapToGlobal(QPointF(130, 32)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(f, &move);
  QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(130, 32));
  EXPECT_EQ(f->geometry(), before.translated(30, 20));

  const QRect moved = f->geometry();
  QTest::mousePress(f, Qt::LeftButton, {}, QPoint(200, moved.height() - 2));
  const QPointF up(200, moved.height() - 2 - 500);
  QMouseEvent drag(QEvent::MouseMove, up, f->mapToGlobal(up), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(f, &drag);
  QTest::mouseRelease(f, Qt::LeftButton, {}, up.toPoint());
  EXPECT_EQ(f->geometry(), QRect(moved.topLeft(), QSize(400, 200)));
  f->close();
}

TEST(TZorForm, SecondSubWindowIsRefusedUntilTheFirstCloses) {
  QPointer<TProbeForm> owner = new TProbeForm;
  QPointer<TProbeForm> first = new TProbeForm(owner, "TPierwsze");
  EXPECT_EQ(owner->SubWindow(), first.data());
  EXPECT_EQ(first->ParentFrame(), owner.data());
  try {
    new TProbeForm(owner, "TDrugie");
    FAIL() << "a second sub-window was created";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "TDrugie.Create - próba utworzenia drugiego podokna przed zamknięciem "
                 "poprzedniego (TPierwsze)");
  }
  EXPECT_EQ(owner->SubWindow(), first.data());
  first->show();
  first->close();  // a closed frame window frees itself
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(owner->SubWindow(), nullptr);
  QPointer<TProbeForm> second = new TProbeForm(owner, "TDrugie");
  EXPECT_EQ(owner->SubWindow(), second.data());
  delete owner;  // takes its sub-window with it
  EXPECT_TRUE(second.isNull());
}

TEST(TZorForm, ShowPostsFrameStateAndAfterShowOnce) {
  QPointer<TProbeForm> f = new TProbeForm;
  f->setWindowTitle(QStringLiteral("Wybierz"));
  EXPECT_EQ(f->pCapText()->Caption(), QStringLiteral(" Wybierz"));
  EXPECT_FALSE(f->FrameActive());
  f->show();
  EXPECT_TRUE(f->FrameActive());
  EXPECT_EQ(f->afterShow, 0);  // posted, not sent
  QCoreApplication::sendPostedEvents(f);
  EXPECT_EQ(f->afterShow, 1);
  EXPECT_EQ(f->frameStates, 1);
  EXPECT_TRUE(f->hb()->Active());
  EXPECT_EQ(f->pCaption()->Color(), QColor(0, 0, 128));
  QCoreApplication::sendPostedEvents(f);
  EXPECT_EQ(f->afterShow, 1);
  f->close();
}

TEST(TZorForm, EnterAndEscGoToTheHintBarBeforeAnyControl) {
  QPointer<TProbeForm> f = new TProbeForm;
  auto* edit = new QLineEdit(f->pFrame());
  edit->setGeometry(20, 40, 100, 20);
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  f->activateWindow();
  edit->setFocus();
  // No accept text: Enter does nothing even though OnAccept is assigned.
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(f->accepts, 0);
  f->hb()->setTextAccept(QStringLiteral("Drukuj"));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(f->accepts, 1);
  QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);  // only without modifiers
  EXPECT_EQ(f->accepts, 1);
  QTest::keyClick(edit, Qt::Key_Escape);  // "Zamknij": the window closes and frees itself
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.isNull());
}

TEST(TZorForm, OnlyTheCloseButtonInTheCaption) {
  QPointer<TProbeForm> f = new TProbeForm;
  f->show();
  EXPECT_TRUE(f->btnCapHelp()->isHidden());
  EXPECT_TRUE(f->btnCapMinimize()->isHidden());
  EXPECT_TRUE(f->btnCapMaximize()->isHidden());
  EXPECT_EQ(f->btnCapClose()->x(), 0);
  EXPECT_EQ(f->pCaptionBtns()->width(), 18);
  EXPECT_EQ(f->btnCapClose()->toolTip(), QStringLiteral("Ctrl+F4 - Zamknij"));
  f->btnCapClose()->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.isNull());
}

// A descendant that offers the help button and answers the help walk for the
// controls it knows, noting every control it is asked about.
class THelpForm : public TZorForm {
 public:
  THelpForm() : TZorForm(nullptr, "THelpForm") {}
  QList<QWidget*> asked;
  QHash<QWidget*, QString> texts;
  void pickHelp() { btnCapHelpClick(); }

 protected:
  QString HelpTextFor(QWidget* control) override {
    asked << control;
    return texts.value(control);
  }
};

TEST(TZorForm, HelpPickModeHelpsWithTheControlClicked) {
  QPointer<THelpForm> f = new THelpForm;
  auto* edit = new QLineEdit(f->pFrame());
  edit->setGeometry(20, 40, 100, 20);
  f->texts[f->pFrame()] = QStringLiteral("Ramka okna");
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  f->activateWindow();
  edit->setFocus();

  f->pickHelp();
  EXPECT_TRUE(f->HelpMode());
  EXPECT_TRUE(f->btnCapHelp()->isChecked()) << "the button stays down";
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
  // Everything the user does meanwhile goes to the pick, not to the controls.
  QTest::keyPress(edit, Qt::Key_A);
  QTest::mouseMove(edit, QPoint(5, 5));
  EXPECT_EQ(edit->text(), QString());
  EXPECT_TRUE(f->HelpMode());
  EXPECT_TRUE(f->asked.isEmpty());

  // A left press ends the mode and asks for the control under the pointer,
  // then its parents until one answers.
  QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(f->HelpMode());
  EXPECT_FALSE(f->btnCapHelp()->isChecked());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(f->asked, (QList<QWidget*>{edit, f->pFrame()}));
  QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::keyClick(edit, Qt::Key_B);
  EXPECT_EQ(edit->text(), QStringLiteral("b")) << "input reaches the controls again";
  f->close();
}

TEST(TZorForm, KeyReleaseEndsTheHelpPickModeAndF1HelpsWithTheButton) {
  QPointer<THelpForm> f = new THelpForm;
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  f->pickHelp();
  QTest::keyRelease(f, Qt::Key_Escape);
  EXPECT_FALSE(f->HelpMode());
  EXPECT_TRUE(f->asked.isEmpty()) << "another key asks nothing";
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  f->pickHelp();
  QTest::keyRelease(f, Qt::Key_F1);
  EXPECT_FALSE(f->HelpMode());
  ASSERT_FALSE(f->asked.isEmpty());
  EXPECT_EQ(f->asked.front(), f->btnCapHelp());
  EXPECT_EQ(f->asked.back(), f.data()) << "up to the window itself";
  f->close();
}

}  // namespace
}  // namespace zorpokaz
