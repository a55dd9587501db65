// Small shared routines the windows use: the busy cursor, enabling groups of
// controls, finding the control under a point, moving the focus with a
// readable error, the desktop work area, word-wrapped and turned text,
// opening a document with its associated program, Polish plural forms and
// letting the user interface breathe during long work. Free functions; the
// only state is the process-wide busy counter. User-interface thread only.
#pragma once

#include "platform/errors.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QObject;
class QPainter;
class QWidget;

namespace zorpokaz {

// The focus could not be moved; the message names the control and its state.
class ESetFocusError : public Error {
 public:
  using Error::Error;
};

// An error reported to the user exactly as it is worded.
class ESafeException : public Error {
 public:
  using Error::Error;
};

// Nesting busy cursor: on adds one, off takes one. At 0 the normal cursor
// returns; otherwise starting picks the arrow with an hourglass (work in the
// background, the window stays usable), else the plain hourglass. An off
// without a matching on is ignored.
void SetBusy(bool on, bool starting = false);
int BusyCount();

// Children first, recursively, then the control itself; plain text labels keep
// their state unless includeLabels.
void EnableControls(QWidget* control, bool enable, bool includeLabels);

// The deepest visible child under a screen point, searched from the topmost
// child down; the control itself when no child is there and the point is
// inside it; nullptr otherwise.
QWidget* ControlAtPoint(QWidget* control, QPoint screenPoint);

// Moves the keyboard focus, or throws ESetFocusError when the control cannot
// take it (hidden or disabled, itself or a parent).
void SafeSetFocus(QWidget* control);
// "nil", or the class (with the object's name before it) and the parents' paths.
QString ComponentPath(const QObject* component);

// The desktop area not covered by panels, of the primary screen.
QRect GetWorkArea();

// The text word-wrapped inside rect in the canvas's font and pen; with
// measureOnly nothing is drawn. Either way the height the wrapped text needs.
int DrawTextIn(QPainter& canvas, const QRect& rect, const QString& text, bool measureOnly);

// A font turned by an angle, as the platform makes one with an escapement:
// the source font's face, size, weight (bold or normal), italic, underline,
// strike-out and pitch; text written with it runs at the angle,
// counter-clockwise.
struct TRotatedFont {
  QFont font;
  int escapement = 0;  // tenths of a degree
};
TRotatedFont CreateRotatedFont(const QFont& font, int angleDegrees);
// Text with a turned font. `at` is where the top-left corner of the text's
// first cell lies, as the platform places text by default; the text turns
// around it.
void TextOutRotated(QPainter& canvas, QPoint at, const QString& text, const TRotatedFont& font);

// The desktop's "open" action on a file path or web address.
bool ShellOpen(const QString& target);

// True where the rights checks of the NT family apply: here always, since
// installing system-wide needs root.
bool IsNtPlatform();

// Polish noun form for a count: one (1), few (2-4, 22-24, ...) or many.
QString PluralForm(int count, const QString& one, const QString& few, const QString& many);

// Processes the pending user-interface events and returns at once when there
// are none, so long work can call it after every step.
void HandleOneMessage();

// Every open window paints the areas waiting to be painted (those a closed
// message window uncovered, those updated meanwhile) now, without taking any
// input; areas that need nothing are not painted again.
void RepaintAllForms();

}  // namespace zorpokaz
