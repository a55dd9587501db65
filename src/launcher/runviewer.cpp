#include "launcher/runviewer.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProcess>
#include <QWidget>

#include <fcntl.h>

namespace zorpokaz::paczka {

namespace {

// Swallows input for the whole application while installed: the window
// stays painted and movable, but a click or key does nothing until the
// viewer has ended.
class InputBlocker : public QObject {
 public:
  InputBlocker() { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::ContextMenu:
        return true;
      case QEvent::Close:
        event->ignore();
        return true;
      default:
        return QObject::eventFilter(watched, event);
    }
  }
};

}  // namespace

bool RunViewer(QWidget* window, const QString& program, const QString& argument, bool hide, int programFd) {
  if (hide && window) window->hide();
  QProcess viewer;
  viewer.setProcessChannelMode(QProcess::ForwardedChannels);
  viewer.setInputChannelMode(QProcess::ForwardedInputChannel);
  if (programFd >= 0) {
    // The kernel starts the file the descriptor holds; a script's
    // interpreter opens the same name again, so the descriptor stays open
    // across the start (the program itself learns its real path from
    // /proc/self/exe).
    viewer.setProgram(QStringLiteral("/proc/self/fd/%1").arg(programFd));
    viewer.setChildProcessModifier([programFd] { ::fcntl(programFd, F_SETFD, 0); });
  } else {
    viewer.setProgram(program);
  }
  viewer.setArguments({argument});
  viewer.start();
  if (!viewer.waitForStarted(-1)) {
    if (hide && window) window->show();
    return false;
  }
  if (viewer.state() != QProcess::NotRunning) {
    const InputBlocker blocker;
    QEventLoop loop;
    QObject::connect(&viewer, &QProcess::finished, &loop, &QEventLoop::quit);
    if (viewer.state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  return true;
}

}  // namespace zorpokaz::paczka
