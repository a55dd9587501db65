// The frame's keys and its context help: Enter and Esc before any control,
// the help walk, and the help pick mode of the caption's help button.
#include "ui/tzorform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QWhatsThis>

#include "ui/thintbar.h"
#include "util/bajery.h"

namespace zorpokaz {

bool TZorForm::FormKeyDown(QKeyEvent* event) {
  if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return false;
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_hb->TextAccept().isEmpty() &&
      m_hb->OnAccept) {
    m_hb->OnAccept(nullptr);
    return true;
  }
  if (key == Qt::Key_Escape && !m_hb->TextCancel().isEmpty() && m_hb->OnCancel) {
    m_hb->OnCancel(nullptr);
    return true;
  }
  return false;
}

void TZorForm::keyPressEvent(QKeyEvent* event) {
  // A key no control wanted: the dialog's own Esc (reject) and Enter (default
  // button) are not bound in a frame window.
  const int key = event->key();
  if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TZorForm::eventFilter(QObject* watched, QEvent* event) {
  if (m_helpMode) return helpModeEvent(event);
  // Key preview: the window sees Enter and Esc before the focused control.
  if (event->type() == QEvent::KeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this)
      return FormKeyDown(static_cast<QKeyEvent*>(event));
  }
  return QDialog::eventFilter(watched, event);
}

QString TZorForm::HelpTextFor(QWidget*) { return QString(); }

// The help walk: the control, then each parent up to the window, until one
// has a text.
void TZorForm::HelpFor(QWidget* start) {
  for (QWidget* w = start; w; w = w == this ? nullptr : w->parentWidget()) {
    const QString text = HelpTextFor(w);
    if (!text.isEmpty()) {
      QWhatsThis::showText(w->mapToGlobal(QPoint(0, w->height())), text, w);
      return;
    }
  }
}

void TZorForm::hbHelp() { HelpFor(focusWidget() ? focusWidget() : this); }

void TZorForm::btnCapHelpClick() {
  if (m_helpMode) return;
  m_helpMode = true;
  m_btnCapHelp->setChecked(true);
  QGuiApplication::setOverrideCursor(Qt::WhatsThisCursor);
  grabMouse();
}

void TZorForm::endHelpMode() {
  m_helpMode = false;
  m_btnCapHelp->setChecked(false);
  QGuiApplication::restoreOverrideCursor();
  releaseMouse();
}

// In the pick mode the window takes every input of the program; painting and
// the program's own work go on.
bool TZorForm::helpModeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyRelease: {
      const bool f1 = static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
      endHelpMode();
      if (f1) HelpFor(m_btnCapHelp);
      return true;
    }
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return true;
      endHelpMode();
      if (QWidget* picked = ControlAtPoint(this, mouse->globalPosition().toPoint())) HelpFor(picked);
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

}  // namespace zorpokaz
