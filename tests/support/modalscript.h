// Drives modal windows from a test: each modal window that comes up gets the
// next scripted action (answer a question, pick files, ...). Records every
// message window's title and text. A modal window with no action left is
// closed and counted, so a wrong extra question fails the test instead of
// hanging it. Of several scripts alive at once only the newest acts.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <ostream>
#include <functional>

#include "ui/tmsgokienko.h"

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zorpokaz::fixtures {

class ModalScript {
 public:
  using Action = std::function<void(QWidget*)>;

  ModalScript() : m_previous(active()) {
    active() = this;
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
  }

  ~ModalScript() { active() = m_previous; }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  ModalScript& then(Action action) {
    m_actions.push_back(std::move(action));
    return *this;
  }
  // Presses the first button ("&Tak", "&Ok", "&Powtórz") or the second.
  ModalScript& yes() {
    return then([](QWidget* w) { static_cast<TMsgOkienko*>(w)->btnOk()->click(); });
  }
  ModalScript& no() {
    return then([](QWidget* w) { static_cast<TMsgOkienko*>(w)->btnNo()->click(); });
  }
  ModalScript& ok() { return yes(); }

  bool done() const { return m_actions.empty(); }
  int unexpected() const { return m_unexpected; }
  // "title|text" of every message window, text lines joined by "\n".
  const QStringList& messages() const { return m_messages; }

 private:
  // Only the newest script acts, so scripts of one test may nest.
  static ModalScript*& active() {
    static ModalScript* script = nullptr;
    return script;
  }

  void poll() {
    if (active() != this) return;
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || w->property("zpScripted").toBool()) return;
    w->setProperty("zpScripted", true);
    if (auto* msg = qobject_cast<TMsgOkienko*>(w)) m_messages << msg->windowTitle() + "|" + msg->lbl()->text();
    if (m_actions.empty()) {
      ++m_unexpected;
      QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
      return;
    }
    // Run outside this timer's own event: a nested modal window inside the
    // action needs the timer to fire again.
    QTimer::singleShot(0, w, [action = std::move(m_actions.front()), w] { action(w); });
    m_actions.pop_front();
  }

  ModalScript* m_previous;
  QTimer m_timer;
  std::deque<Action> m_actions;
  QStringList m_messages;
  int m_unexpected = 0;
};

}  // namespace zorpokaz::fixtures
