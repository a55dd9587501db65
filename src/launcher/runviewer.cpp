#include "launcher/runviewer.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QWidget>

#include <fcntl.h>
#include <cstdio>
#include <dlfcn.h>

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

// What the viewer writes to standard error goes on to the launcher's as it
// comes; the start of it is kept, where the dynamic loader says why it
// refused the program.
class ErrorOutput : public QObject {
 public:
  explicit ErrorOutput(QProcess& process) : m_process(process) {
    connect(&process, &QProcess::readyReadStandardError, this, &ErrorOutput::pass);
  }
  void pass() {
    const QByteArray chunk = m_process.readAllStandardError();
    std::fwrite(chunk.constData(), 1, std::size_t(chunk.size()), stderr);
    std::fflush(stderr);
    if (m_kept.size() < kKept) m_kept += chunk.left(kKept - m_kept.size());
  }
  // The loader's report, when it refused the program.
  QString loaderFailure() {
    pass();
    if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 127) return {};
    const QString text = QString::fromLocal8Bit(m_kept).trimmed();
    return text.contains(QLatin1String("error while loading shared libraries")) ? text : QString();
  }

 private:
  static constexpr qsizetype kKept = 4096;
  QProcess& m_process;
  QByteArray m_kept;
};

}  // namespace

bool RunViewer(QWidget* window, const QString& program, const QString& argument, bool hide, int programFd,
               QString* whyNot) {
  if (hide && window) window->hide();
  QProcess viewer;
  viewer.setProcessChannelMode(QProcess::ForwardedOutputChannel);
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
  ErrorOutput errors(viewer);
  viewer.start();
  QString failure;
  if (!viewer.waitForStarted(-1)) {
    failure = program + QStringLiteral(": ") + viewer.errorString();
  } else {
    if (viewer.state() != QProcess::NotRunning) {
      const InputBlocker blocker;
      QEventLoop loop;
      QObject::connect(&viewer, &QProcess::finished, &loop, &QEventLoop::quit);
      if (viewer.state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    failure = errors.loaderFailure();
  }
  if (failure.isEmpty()) return true;
  if (hide && window) window->show();
  if (whyNot) *whyNot = failure;
  return false;
}

QStringList MissingLibraries(const QStringList& names) {
  QStringList missing;
  for (const QString& name : names) {
    // Only names the loader searches for, never a path the package chose.
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) continue;
    // Loaded the way the viewer would load it, with what it needs in turn,
    // and let go again at once.
    void* library = dlopen(QFile::encodeName(name).constData(), RTLD_LAZY | RTLD_LOCAL);
    if (library)
      dlclose(library);
    else
      missing << name;
  }
  return missing;
}

QString StartFailureDetails(const QStringList& missing, const QString& why) {
  if (missing.isEmpty()) return why;
  return QStringLiteral("Brakuje bibliotek potrzebnych przeglądarce:\r") + missing.join(QLatin1Char('\r')) +
         QStringLiteral("\rZainstaluj pakiety systemu, które je zawierają,\ri uruchom paczkę ponownie.");
}

}  // namespace zorpokaz::paczka
