// Keys as a person presses them: sent through the window system (xdotool) of
// one display, to a window found by its title and given the keyboard.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace zorpokaz::testing {

class Xdotool {
 public:
  explicit Xdotool(QProcessEnvironment env = {}) : m_env(std::move(env)) {}
  void setEnvironment(QProcessEnvironment env) { m_env = std::move(env); }

  // xdotool's standard output, trimmed; a failure of the test when it does
  // not finish.
  QByteArray run(const QStringList& args) const {
    QProcess p;
    p.setProcessEnvironment(m_env);
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(20000)) {
      p.kill();
      p.waitForFinished();
      ADD_FAILURE() << "xdotool " << args.join(' ').toStdString() << " did not finish";
      return {};
    }
    return p.readAllStandardOutput().trimmed();
  }

  // The first visible window whose title holds `title`, looked for during a
  // minute while `alive` says its program still runs; empty (and a failure of
  // the test) when none came.
  QByteArray waitForWindow(const QString& title, const std::function<bool()>& alive) const {
    QByteArray window;
    QElapsedTimer waited;
    waited.start();
    while (window.isEmpty() && waited.elapsed() < 60000 && alive()) {
      window = run({"search", "--onlyvisible", "--name", title}).split('\n').value(0);
      if (window.isEmpty()) QThread::msleep(200);
    }
    EXPECT_FALSE(window.isEmpty()) << "no window \"" << title.toStdString() << '"';
    return window;
  }

  // Gives `window` the keyboard. The X focus is there at once, but the window
  // takes keys as its own only once it has handled that focus: a shortcut
  // pressed before is lost (seen on a loaded machine), so it settles first.
  void focus(const QByteArray& window) const {
    run({"windowfocus", "--sync", window});
    QThread::msleep(300);
  }

  // Each key (xdotool's names, "alt+z"), `pauseMs` apart.
  void keys(const QStringList& keys, int pauseMs = 0) const {
    for (const QString& k : keys) {
      run({"key", "--clearmodifiers", k});
      if (pauseMs > 0) QThread::msleep(static_cast<unsigned long>(pauseMs));
    }
  }

  void type(const QString& text, int delayMs) const { run({"type", "--delay", QString::number(delayMs), text}); }

 private:
  QProcessEnvironment m_env;
};

}  // namespace zorpokaz::testing
