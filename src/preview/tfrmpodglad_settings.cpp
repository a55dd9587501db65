// The preview window's saved settings: window bounds, maximized state and
// margins, and the print settings record, in the per-user store.
#include "preview/tfrmpodglad.h"

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "platform/usersettings.h"
#include "util/bajery.h"

#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <optional>

namespace zorpokaz {

namespace {

// Reads the named values in order; stops at the first missing or mistyped one.
template <size_t N>
bool readGroup(const QSettings& key, const char* const (&names)[N], int (&out)[N]) {
  for (size_t i = 0; i < N; ++i) {
    const std::optional<int> v = ReadDword(key, QLatin1String(names[i]));
    if (!v) return false;
    out[i] = *v;
  }
  return true;
}

}  // namespace

// --- outer bounds ---------------------------------------------------------

QMargins TFrmPodglad::frameExtents() const {
  const QRect outer = frameGeometry(), inner = geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

void TFrmPodglad::SetOuterBounds(const QRect& bounds) {
  m_outerBounds = bounds;
  applyOuterBounds();
}

void TFrmPodglad::applyOuterBounds() {
  const QMargins f = frameExtents();
  m_appliedFrame = f;
  const int frameWidth = f.left() + f.right(), frameHeight = f.top() + f.bottom();
  m_applyingBounds = true;
  setMinimumSize(std::max(0, kMinOuterWidth - frameWidth), std::max(0, kMinOuterHeight - frameHeight));
  if (!m_outerBounds.isNull() && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
    move(m_outerBounds.topLeft());  // a window's position is its frame's
    resize(m_outerBounds.width() - frameWidth, m_outerBounds.height() - frameHeight);
  }
  m_appliedSize = size();
  m_applyingBounds = false;
}

// The frame appears some time after the window is shown, when the window
// manager has taken the window in: the bounds asked for are then applied
// again, frame included. Any other move or size is the window's new bounds.
void TFrmPodglad::boundsChanged() {
  if (m_applyingBounds || (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) return;
  if (!m_fitFrame) {
    m_outerBounds = frameGeometry();
    return;
  }
  if (frameExtents() == m_appliedFrame) return;
  if (size() != m_appliedSize) {
    // Resized meanwhile (by the program or the user): that size stands.
    m_fitFrame = false;
    m_outerBounds = frameGeometry();
    return;
  }
  applyOuterBounds();
  if (!m_appliedFrame.isNull()) m_fitFrame = false;
}

void TFrmPodglad::LoadSettings() {
  const std::unique_ptr<QSettings> key = OpenUserKey(false);
  if (!key) return;

  // Group 1: the bounds take effect only when all four are there.
  static const char* const bounds[] = {"FrmPodglad_Width", "FrmPodglad_Height", "FrmPodglad_Top",
                                       "FrmPodglad_Left"};
  int b[4] = {};
  if (readGroup(*key, bounds, b)) {
    int width = b[0], height = b[1];
    const int top = b[2], left = b[3];
    // Cut to the work area at the stored position; the position stays.
    const QRect wa = GetWorkArea();
    const int waRight = wa.x() + wa.width();
    const int waBottom = wa.y() + wa.height();
    if (left + width > waRight) width = waRight - left;
    if (top + height > waBottom) height = waBottom - top;
    SetOuterBounds(QRect(left, top, std::max(width, kMinOuterWidth), std::max(height, kMinOuterHeight)));
  }

  // Group 2.
  if (const std::optional<int> max = ReadDword(*key, QStringLiteral("FrmPodglad_Max")); max && *max != 0)
    setWindowState(windowState() | Qt::WindowMaximized);

  // Group 3: each field keeps what it read; the viewer hears of them only
  // when the whole group was there.
  const std::pair<const char*, QSpinBox*> margins[] = {{"Margin_Top", m_margT},
                                                       {"Margin_Left", m_margL},
                                                       {"Margin_Right", m_margR},
                                                       {"Margin_Bottom", m_margB}};
  bool complete = true;
  for (const auto& [name, field] : margins) {
    const std::optional<int> v = ReadDword(*key, QLatin1String(name));
    if (!v) {
      complete = false;
      break;
    }
    const QSignalBlocker quiet(field);
    field->setValue(*v);
  }
  if (complete) margChange();

  PrintSettings().Load(*key);
}

void TFrmPodglad::SaveSettings() {
  const std::unique_ptr<QSettings> key = OpenUserKey(true);
  if (!key) return;
  if (isMaximized()) {
    WriteBool(*key, QStringLiteral("FrmPodglad_Max"), true);
  } else {
    const QRect outer = OuterBounds();
    WriteDword(*key, QStringLiteral("FrmPodglad_Left"), outer.x());
    WriteDword(*key, QStringLiteral("FrmPodglad_Top"), outer.y());
    WriteDword(*key, QStringLiteral("FrmPodglad_Width"), outer.width());
    WriteDword(*key, QStringLiteral("FrmPodglad_Height"), outer.height());
    WriteBool(*key, QStringLiteral("FrmPodglad_Max"), false);
  }
  WriteDword(*key, QStringLiteral("Margin_Left"), m_viewer->MargLeft());
  WriteDword(*key, QStringLiteral("Margin_Right"), m_viewer->MargRight());
  WriteDword(*key, QStringLiteral("Margin_Top"), m_viewer->MargTop());
  WriteDword(*key, QStringLiteral("Margin_Bottom"), m_viewer->MargBottom());
  PrintSettings().Save(*key);
  FlushUserKey(*key);
}

}  // namespace zorpokaz
