#include "util/bajery.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWidget>

#include <limits>

namespace zorpokaz {

namespace {

int g_busy = 0;
bool g_overridePushed = false;

QString shortClassName(const QObject* o) {
  QString name = QString::fromLatin1(o->metaObject()->className());
  const qsizetype sep = name.lastIndexOf(QLatin1String("::"));
  return sep >= 0 ? name.mid(sep + 2) : name;
}

}  // namespace

void SetBusy(bool on, bool starting) {
  if (on) {
    ++g_busy;
  } else if (g_busy > 0) {
    --g_busy;
  } else {
    return;
  }
  if (g_busy == 0) {
    if (g_overridePushed) QGuiApplication::restoreOverrideCursor();
    g_overridePushed = false;
    return;
  }
  const QCursor cursor(starting ? Qt::BusyCursor : Qt::WaitCursor);
  if (g_overridePushed) {
    QGuiApplication::changeOverrideCursor(cursor);
  } else {
    QGuiApplication::setOverrideCursor(cursor);
    g_overridePushed = true;
  }
}

int BusyCount() { return g_busy; }

void EnableControls(QWidget* control, bool enable, bool includeLabels) {
  if (!control) return;
  for (QObject* child : control->children())
    if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
      EnableControls(w, enable, includeLabels);
  if (!includeLabels && qobject_cast<QLabel*>(control)) return;
  control->setEnabled(enable);
}

QWidget* ControlAtPoint(QWidget* control, QPoint screenPoint) {
  if (!control) return nullptr;
  const QPoint local = control->mapFromGlobal(screenPoint);
  const QObjectList& kids = control->children();
  for (auto it = kids.crbegin(); it != kids.crend(); ++it) {
    auto* w = qobject_cast<QWidget*>(*it);
    if (!w || w->isWindow() || w->isHidden()) continue;
    if (w->geometry().contains(local)) return ControlAtPoint(w, screenPoint);
  }
  return control->rect().contains(local) ? control : nullptr;
}

QString ComponentPath(const QObject* component) {
  if (!component) return QStringLiteral("nil");
  QString path;
  for (const QObject* o = component; o; o = o->parent()) {
    if (!path.isEmpty()) path += QStringLiteral(", ");
    if (!o->objectName().isEmpty()) path += o->objectName() + QLatin1Char('-');
    path += shortClassName(o);
  }
  return path;
}

void SafeSetFocus(QWidget* control) {
  const bool canFocus = control && control->isVisible() && control->isEnabled();
  if (canFocus) {
    control->setFocus(Qt::OtherFocusReason);
    return;
  }
  QString message = QStringLiteral("Problem z SetFocus dla: ") + ComponentPath(control);
  if (control) {
    const bool visible = !control->isHidden();
    const bool enabled = !control->testAttribute(Qt::WA_ForceDisabled);
    message += QStringLiteral("\r(Visible=%1, Enabled=%2, CanFocus=%3)")
                   .arg(int(visible))
                   .arg(int(enabled))
                   .arg(int(canFocus));
  }
  throw ESetFocusError(message.toStdString());
}

QRect GetWorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

int DrawTextIn(QPainter& canvas, const QRect& rect, const QString& text, bool measureOnly) {
  constexpr int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
  const QRect unbounded(rect.left(), rect.top(), rect.width(), std::numeric_limits<int>::max() / 2);
  const int height = canvas.fontMetrics().boundingRect(unbounded, flags, text).height();
  if (!measureOnly) canvas.drawText(rect, flags, text);
  return height;
}

TRotatedFont CreateRotatedFont(const QFont& font, int angleDegrees) {
  TRotatedFont rotated;
  QFont& f = rotated.font;
  f.setFamily(font.family());
  if (font.pixelSize() > 0)
    f.setPixelSize(font.pixelSize());
  else
    f.setPointSizeF(font.pointSizeF());
  f.setWeight(font.bold() ? QFont::Bold : QFont::Normal);
  f.setItalic(font.italic());
  f.setUnderline(font.underline());
  f.setStrikeOut(font.strikeOut());
  f.setFixedPitch(font.fixedPitch());
  if (font.styleHint() == QFont::TypeWriter) f.setStyleHint(QFont::TypeWriter);
  rotated.escapement = angleDegrees * 10;
  return rotated;
}

void TextOutRotated(QPainter& canvas, QPoint at, const QString& text, const TRotatedFont& font) {
  canvas.save();
  canvas.setFont(font.font);
  canvas.translate(at);
  canvas.rotate(-font.escapement / 10.0);
  canvas.drawText(0, canvas.fontMetrics().ascent(), text);
  canvas.restore();
}

bool ShellOpen(const QString& target) {
  return QDesktopServices::openUrl(
      QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile));
}

bool IsNtPlatform() { return true; }

QString PluralForm(int count, const QString& one, const QString& few, const QString& many) {
  if (count == 1) return one;
  const int tens = count % 100;
  const int units = count % 10;
  // 12, 13 and 14 take the "many" form in every hundred (112 stron, 213 stron),
  // not only in the first one.
  if (tens >= 12 && tens <= 14) return many;
  return units >= 2 && units <= 4 ? few : many;
}

void HandleOneMessage() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void RepaintAllForms() {
  // What the windowing system reported uncovered and what was updated is
  // waiting in the queue; painting it takes no keys or clicks with it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zorpokaz
