#include "ui/okienko.h"

#include "ui/tmsgokienko.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace zorpokaz {

int ShowMessageWindow(const QString& title, const QString& message, int kind, int buttons) {
  TMsgOkienko window(QApplication::activeWindow());
  window.setModal(true);
  window.Setup(title, message, kind, buttons);
  window.Arrange();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r = window.frameGeometry();
    r.moveCenter(screen->geometry().center());
    window.move(r.topLeft());
  }
  const int result = window.exec();
  return result;
}

void ShowError(const QString& title, const QString& message) {
  QApplication::beep();
  ShowMessageWindow(title, message, TMsgOkienko::kindError, TMsgOkienko::btnsOk);
}

void ShowInfo(const QString& title, const QString& message) {
  ShowMessageWindow(title, message, TMsgOkienko::kindInfo, TMsgOkienko::btnsOk);
}

bool AskYesNo(const QString& title, const QString& message) {
  return ShowMessageWindow(title, message, TMsgOkienko::kindQuestion,
                           TMsgOkienko::btnsTak | TMsgOkienko::btnsNie) == TMsgOkienko::mrOk;
}

bool AskOkCancel(const QString& title, const QString& message) {
  return ShowMessageWindow(title, message, TMsgOkienko::kindQuestion,
                           TMsgOkienko::btnsOk | TMsgOkienko::btnsAnuluj) == TMsgOkienko::mrOk;
}

bool AskRetryCancel(const QString& title, const QString& message) {
  return ShowMessageWindow(title, message, TMsgOkienko::kindQuestion,
                           TMsgOkienko::btnsPowtorz | TMsgOkienko::btnsAnuluj) == TMsgOkienko::mrOk;
}

bool AskTypedYes(const QString& title, const QString& message) {
  return ShowMessageWindow(title, message, TMsgOkienko::kindConfirm, 0) == TMsgOkienko::mrOk;
}

}  // namespace zorpokaz
