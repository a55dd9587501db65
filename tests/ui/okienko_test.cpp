#include "ui/okienko.h"
#include "ui/tmsgokienko.h"
#include "ui/tworkingdlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace zorpokaz {
namespace {

// Runs `act` on the modal message window as soon as it is up.
void whenShown(std::function<void(TMsgOkienko&)> act) {
  QTimer::singleShot(0, [act] {
    auto* w = qobject_cast<TMsgOkienko*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    act(*w);
  });
}

void type(QWidget& w, const char* keys) {
  for (const char* k = keys; *k; ++k) QTest::keyClicks(&w, QString(QLatin1Char(*k)));
}

TEST(Okienko, AnswersOfTheModalRoutines) {
  whenShown([](TMsgOkienko& w) { QTest::keyClick(&w, Qt::Key_Escape); });
  EXPECT_FALSE(AskYesNo("ZorPokaz", "Usunąć wydruk?"));

  whenShown([](TMsgOkienko& w) {
    EXPECT_EQ(w.btnOk()->text(), QStringLiteral("&Tak"));
    EXPECT_EQ(w.btnNo()->text(), QStringLiteral("&Nie"));
    EXPECT_TRUE(w.btnCancel()->isHidden());
    w.btnOk()->click();
  });
  EXPECT_TRUE(AskYesNo("ZorPokaz", "Usunąć wydruk?"));

  whenShown([](TMsgOkienko& w) { w.btnNo()->click(); });
  EXPECT_FALSE(AskYesNo("ZorPokaz", "Usunąć wydruk?"));

  whenShown([](TMsgOkienko& w) {
    EXPECT_EQ(w.btnOk()->text(), QStringLiteral("&Powtórz"));
    EXPECT_EQ(w.btnOk()->width(), 90);
    w.btnOk()->click();
  });
  EXPECT_TRUE(AskRetryCancel("ZorPokaz", "Brak dysku."));

  whenShown([](TMsgOkienko& w) { w.btnCancel()->click(); });
  EXPECT_FALSE(AskOkCancel("ZorPokaz", "Drukować?"));
}

TEST(Okienko, TypedConfirmation) {
  whenShown([](TMsgOkienko& w) {
    EXPECT_TRUE(w.panBtns()->isHidden());
    type(w, "tax");  // X resets
    EXPECT_FALSE(w.btnT()->isChecked());
    EXPECT_TRUE(w.isVisible());
    type(w, "ak");  // A without T resets, K without A resets
    EXPECT_TRUE(w.isVisible());
    type(w, "tAk");
  });
  EXPECT_TRUE(AskTypedYes("ZorPokaz", "Usunąć program?"));

  whenShown([](TMsgOkienko& w) {
    type(w, "ta");
    EXPECT_TRUE(w.btnA()->isChecked());
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(5, 5));  // a click resets
    EXPECT_FALSE(w.btnT()->isChecked());
    type(w, "k");
    EXPECT_TRUE(w.isVisible());
    type(w, "n");
  });
  EXPECT_FALSE(AskTypedYes("ZorPokaz", "Usunąć program?"));

  whenShown([](TMsgOkienko& w) {
    w.btnT()->click();
    w.btnA()->click();
    w.btnK()->click();
  });
  EXPECT_TRUE(AskTypedYes("ZorPokaz", "Usunąć program?"));
}

TEST(Okienko, MessageSizing) {
  TMsgOkienko w(nullptr);
  w.Setup("ZorPokaz", "Krótko\r\nx", TMsgOkienko::kindInfo, 0);
  w.Arrange();
  EXPECT_FALSE(w.lbl()->wordWrap());
  EXPECT_GE(w.lbl()->width(), 200);
  EXPECT_EQ(w.btnOk()->text(), QStringLiteral("&Ok"));  // info without buttons gets Ok
  EXPECT_FALSE(w.btnOk()->isHidden());

  TMsgOkienko one(nullptr);
  const QString longText = QString("Plik nie zawiera prawidłowego wydruku Zorela ").repeated(6);
  one.Setup("ZorPokaz", longText, TMsgOkienko::kindError, TMsgOkienko::btnsOk);
  one.Arrange();
  EXPECT_TRUE(one.lbl()->wordWrap());
  EXPECT_EQ(one.width(), 400);
  EXPECT_GT(one.lbl()->height(), 40);  // wrapped onto several lines
  EXPECT_EQ(one.lbl()->palette().color(QPalette::WindowText), QColor(160, 0, 0));

  // A vertical tab is dropped and left-aligns the message.
  TMsgOkienko left(nullptr);
  left.Setup("ZorPokaz", "a\vb", TMsgOkienko::kindInfo, 0);
  EXPECT_EQ(left.lbl()->text(), QStringLiteral("ab"));
  EXPECT_TRUE(left.lbl()->alignment() & Qt::AlignLeft);
}

TEST(Okienko, ButtonRowIsSpreadEvenly) {
  TMsgOkienko w(nullptr);
  w.Setup("t", "m", TMsgOkienko::kindQuestion,
          TMsgOkienko::btnsWszystkie | TMsgOkienko::btnsTak | TMsgOkienko::btnsNie | TMsgOkienko::btnsCofnij);
  w.Arrange();
  EXPECT_EQ(w.btnCancel()->text(), QStringLiteral("Cofnij"));
  const int sum = 100 + 80 + 80 + 80;
  const int gap = (w.width() - sum) / 5;
  EXPECT_EQ(w.btnAll()->x(), gap);
  EXPECT_EQ(w.btnOk()->x(), 2 * gap + 100);
  EXPECT_EQ(w.btnNo()->x(), 3 * gap + 180);
  EXPECT_EQ(w.btnCancel()->x(), 4 * gap + 260);
  EXPECT_EQ(w.btnOk()->y(), 12);
}

TEST(Okienko, AutoCloseButtonPressesTheFirstButton) {
  TMsgOkienko w(nullptr);
  w.Setup("t", "m", TMsgOkienko::kindInfo | TMsgOkienko::kAutoClose, TMsgOkienko::btnsOk);
  EXPECT_TRUE(w.TimerClose()->isActive());
  EXPECT_EQ(w.TimerClose()->interval(), 3000);
  w.TimerClose()->start(0);
  EXPECT_EQ(w.exec(), TMsgOkienko::mrOk);
}

TEST(WorkingDlg, ProgressArithmetic) {
  QWidget owner;
  owner.resize(500, 400);
  owner.show();
  TWorkingDlg dlg(&owner);
  dlg.SetProgress(10);  // nothing open: nothing happens, no crash
  EXPECT_EQ(dlg.Caption, QStringLiteral(" Zaczekaj chwilę..."));
  dlg.OpenWithText("Kopiowanie wydruków", false, true);
  ASSERT_NE(dlg.Window(), nullptr);
  EXPECT_TRUE(dlg.Window()->isVisible());
  EXPECT_FALSE(dlg.Window()->pbar()->isHidden());
  EXPECT_TRUE(dlg.Window()->lblPostep()->isHidden());
  EXPECT_TRUE(dlg.Window()->panBtns()->isHidden());

  dlg.setProgressMax(200);
  dlg.SetProgress(50);
  EXPECT_EQ(dlg.Window()->pbar()->value(), 25);
  dlg.StepProgress();  // 25 % of 200 is 50 units; one more is 51 -> 25.5 -> 26
  EXPECT_EQ(dlg.Window()->pbar()->value(), 26);
  dlg.setProgressMax(4);
  dlg.SetProgress(1);
  dlg.StepProgress();  // 1 unit + 1 = 2 of 4
  EXPECT_EQ(dlg.Window()->pbar()->value(), 50);
  dlg.setProgressMax(0);
  dlg.SetProgress(3);
  dlg.StepProgress();
  EXPECT_EQ(dlg.Window()->pbar()->value(), 50);

  dlg.SetProgressText("faktura.wyd");
  EXPECT_EQ(dlg.Window()->lblPostep()->text(), QStringLiteral(" faktura.wyd  "));
  dlg.CloseWindow();
  EXPECT_EQ(dlg.Window(), nullptr);
}

}  // namespace
}  // namespace zorpokaz
