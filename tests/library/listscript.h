// Test helpers of the library window tests: a script that answers the modal
// windows as they come up, one step each, and small printout files.
#pragma once

#include "preview/tfrmpodglad.h"
#include "support/printoutwriter.h"
#include "support/testfiles.h"
#include "ui/tmsgokienko.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace zorpokaz::listtest {

// "title|message" of a message window, line breaks as "\r"; the title of any
// other modal window.
inline QString describe(QWidget& modal) {
  if (auto* m = qobject_cast<TMsgOkienko*>(&modal)) {
    QString text = m->lbl()->text();
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return modal.windowTitle() + QLatin1Char('|') + text;
  }
  return modal.windowTitle();
}

class ListScript : public QObject {
 public:
  using Step = std::function<void(QWidget& modal)>;

  ListScript() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer.start();
  }
  ~ListScript() override { EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " modal windows never came"; }

  ListScript& then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
  }
  // Message windows.
  ListScript& yes() { return then([](QWidget& w) { button(w, true)->click(); }); }
  ListScript& no() { return then([](QWidget& w) { button(w, false)->click(); }); }
  ListScript& ok() { return yes(); }
  // The rename box: types the text over the old one and presses Enter, or Esc.
  ListScript& type(const QString& text) {
    return then([text](QWidget& w) {
      auto* edit = w.findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr) << describe(w).toStdString();
      edit->selectAll();
      QTest::keyClick(edit, Qt::Key_Delete);
      QTest::keyClicks(edit, text);
      QTest::keyClick(edit, Qt::Key_Return);
    });
  }
  ListScript& escape() {
    return then([](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); });
  }
  // A preview window: what it was given, then Esc.
  ListScript& preview(QString* fileName, QString* name = nullptr) {
    return then([=](QWidget& w) {
      auto* p = qobject_cast<TFrmPodglad*>(&w);
      ASSERT_NE(p, nullptr) << describe(w).toStdString();
      if (fileName) *fileName = p->FileName();
      if (name) *name = p->PrintoutName();
      QTest::keyClick(p, Qt::Key_Escape);
    });
  }

  // Every modal window seen, in order (described before its step ran).
  QStringList seen;
  QStringList unexpected;

  bool done() const { return m_steps.empty(); }

 private:
  static QPushButton* button(QWidget& w, bool first) {
    auto* m = qobject_cast<TMsgOkienko*>(&w);
    EXPECT_NE(m, nullptr) << describe(w).toStdString();
    return first ? m->btnOk() : m->btnNo();
  }

  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == m_last || !modal->isVisible()) return;
    m_last = modal;
    seen << describe(*modal);
    if (m_steps.empty()) {
      unexpected << describe(*modal);
      QTest::keyClick(modal, Qt::Key_Escape);
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
      return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(*modal);
  }

  QTimer m_timer;
  std::deque<Step> m_steps;
  QPointer<QWidget> m_last;
};

// A small valid printout.
inline QByteArray printoutBytes(const QByteArray& text = "Wiersz") {
  writer::WPrintout p;
  writer::WStyle s;
  s.name = "Domyslny";
  p.styles = {s};
  p.root.intro = writer::group({writer::line({writer::textField(600, 6000, text)})}, true);
  return writer::writePrintout(p);
}

inline void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified = {}) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
  f.flush();  // a later flush would set the time again
  if (modified.isValid()) {
    ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
  }
}

using testfiles::readFile;

}  // namespace zorpokaz::listtest
