// Measuring and drawing one field on the page being drawn. Positions are
// page-image pixels; Y, H and B arrive in millimetres from the line.
#include <QStringView>
#include <algorithm>
#include <cmath>

#include "document/tmlinewydruk.h"
#include "document/tpole.h"
#include "platform/codepage.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"

namespace zorpokaz {

namespace {

constexpr int kLeaderEndGap = 150;  // the dots stop this many pixels before the right edge
constexpr double kThickRuleFactor = 1.3;

// 48 pairs of a dot and a blank, then a dot; or 97 dots.
QString leaderString(bool spaced) {
  if (!spaced) return QString(97, QLatin1Char('.'));
  QString s;
  s.reserve(97);
  for (int i = 0; i < 48; ++i) s += QLatin1String(". ");
  s += QLatin1Char('.');
  return s;
}

}  // namespace

TStyl* TPole::Style() {
  if (!CachedStyle) CachedStyle = Owner->Styles.FindByName(StyleName);
  return CachedStyle;
}

QString TPole::decodedText() { return decodeCodePage(Text, Style()->Charset); }

unsigned TPole::MeasureFlags() const {
  unsigned flags = DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX;
  if (!NoWrap) flags |= DT_WORDBREAK | DT_EDITCONTROL;
  // The alignment is added as a number, not as a bit.
  if (Align == 1) flags += DT_RIGHT;
  if (Align == 2) flags += DT_CENTER;
  if (BottomSingleLine) flags |= DT_BOTTOM | DT_SINGLELINE;
  if (EndEllipsis) flags |= DT_END_ELLIPSIS | DT_SINGLELINE;
  return flags;
}

unsigned TPole::DrawFlags() const {
  unsigned flags;
  if (Kind == kText || Kind == kLeader) {
    flags = DT_NOCLIP | DT_NOPREFIX;
    if (!NoWrap) flags |= DT_WORDBREAK | DT_EDITCONTROL;
  } else {
    flags = DT_NOPREFIX | DT_WORDBREAK | DT_RIGHT;
  }
  // Added as a number: for the page-number kind, whose base already holds
  // DT_RIGHT, "right" turns into DT_VCENTER (drawn left) and "centre" into
  // DT_RIGHT|DT_CENTER (drawn centred). Printouts rely on that.
  if (Kind == kText || Kind == kPageNumber || Kind == kLeader) {
    if (Align == 1) flags += DT_RIGHT;
    if (Align == 2) flags += DT_CENTER;
  }
  if (BottomSingleLine) flags |= DT_BOTTOM | DT_SINGLELINE;
  if (EndEllipsis) flags |= DT_END_ELLIPSIS | DT_SINGLELINE;
  return flags;
}

std::int32_t TPole::MeasureHeight() {
  if (m_measured) return CachedHeight;
  if (Kind == kPicture) {
    const int dpi = Owner->Resolution;
    const int pw = Picture.isNull() ? 0 : Picture.widthPx(dpi);
    const int ph = Picture.isNull() ? 0 : Picture.heightPx(dpi);
    // Without a usable picture nothing is drawn and the field takes no room.
    if (pw > 0 && ph > 0) {
      const long long w = MmToPxX(dpi, 210.0f);
      CachedHeight = static_cast<std::int32_t>(std::min<long long>(w * ph / pw, 1 << 30));
    } else {
      CachedHeight = 0;
    }
  } else {
    Style()->GetFont();
    PxRect rect{0, 0, Width, 10};
    Owner->GetCanvas().DrawText(decodedText(), rect, MeasureFlags());
    CachedHeight = rect.height();
  }
  m_measured = true;
  return CachedHeight;
}

float TPole::HeightMm() { return PxToMmY(Owner->Resolution, MeasureHeight()); }

void TPole::Draw(float Y, float H, float B) {
  PageCanvas& canvas = Owner->GetCanvas();
  const int dpi = Owner->Resolution;
  if (Kind == kPicture) {
    const int height = MeasureHeight();
    if (height <= 0) return;
    const int top = MmToPxY(dpi, Y);
    canvas.stretchPicture(Picture, PxRect{0, top, MmToPxX(dpi, 210.0f), clampPx(static_cast<long long>(top) + height)});
    return;
  }
  TStyl* style = Style();
  // Stored positions and heights may each reach 2^30: every edge is formed in
  // 64 bits and saturated once.
  PxRect rect{clampPx(X), MmToPxY(dpi, Y), clampPx(static_cast<long long>(X) + Width), 0};
  style->GetFont();
  rect.bottom = clampPx(static_cast<long long>(rect.top) + MeasureHeight());
  if (Kind == kRule) {
    drawRule(rect);
    return;
  }

  QString text = decodedText();
  if (Kind == kPageNumber) {
    const qsizetype at = text.indexOf(QLatin1String("%n"));
    if (at >= 0) {
      text = text.left(at) + QString::number(Owner->PageCount() + 1) + text.mid(at + 2, 255);
    }
  }
  const int th = style->TextHeight();
  style->GetFont();  // measuring may have selected it already; keep the colour current
  if (StyleName == "LOGO") {
    rect.top = clampPx(rect.top + (static_cast<long long>(MmToPxY(dpi, H)) - th) / 2);
  } else {
    rect.top = clampPx(rect.top + static_cast<long long>(MmToPxY(dpi, B)) - th);
  }
  rect.bottom = clampPx(static_cast<long long>(rect.top) + MmToPxY(dpi, H));
  PxRect drawRect = rect;
  canvas.DrawText(text, drawRect, DrawFlags());
  if (Kind == kLeader) drawLeader(text, rect);
}

void TPole::drawRule(const PxRect& r) {
  PageCanvas& canvas = Owner->GetCanvas();
  TStyl* style = Style();
  const int dpi = Owner->Resolution;
  const int mid = r.top + (r.bottom - r.top) / 2;
  const int gap2 = (r.bottom - r.top) / 11;
  const double ruleMm = Owner->RuleWidth;
  const float widthMm = static_cast<float>(RuleStyle == 3 ? ruleMm * kThickRuleFactor : ruleMm);
  canvas.setPen(style->Color(), MmToPxY(dpi, widthMm));

  int dash = 0;
  int space = 0;
  if (RuleStyle == 1 || RuleStyle == 2) {
    const int unit = static_cast<int>(std::lrint(style->DigitWidth() * 1.4));
    if (RuleStyle == 1) {
      dash = static_cast<int>(std::lrint(unit * 0.65));
      space = static_cast<int>(std::lrint(dash * 0.35));
    } else {
      dash = unit;
    }
  }
  switch (RuleStyle) {
    case 0:
    case 3:
      canvas.line(r.left, mid, r.right, mid);
      return;
    case 1:
    case 2:
      break;
    default:
      return;
  }
  if (dash <= 0) {
    // A dash of no length would never advance: draw the rule solid instead.
    if (RuleStyle == 2) {
      canvas.line(r.left, mid - gap2, r.right, mid - gap2);
      canvas.line(r.left, mid + gap2, r.right, mid + gap2);
    } else {
      canvas.line(r.left, mid, r.right, mid);
    }
    return;
  }
  // Only the dashes that reach into the page image are drawn, at the places
  // the whole rule would put them: a rule stretching far beyond the page
  // costs what one across the page costs.
  if (r.right <= 0) return;
  const long long step = static_cast<long long>(dash) + space;
  long long x = r.left;
  if (x + dash <= 0) x += ((-x - dash) / step + 1) * step;  // the first dash that ends right of 0
  const long long end = std::min<long long>(r.right, canvas.image().width());
  while (x < end) {
    const int xi = static_cast<int>(x);
    const int seg = static_cast<int>(std::min<long long>(dash, r.right - x));
    if (RuleStyle == 1) {
      canvas.line(xi, mid, xi + seg, mid);
    } else {
      canvas.line(xi, mid - gap2, xi + seg, mid - gap2);
      canvas.line(xi, mid + gap2, xi + seg, mid + gap2);
    }
    x += seg + space;
  }
}

void TPole::drawLeader(const QString& text, const PxRect& r) {
  PageCanvas& canvas = Owner->GetCanvas();
  const int w = canvas.textWidth(text + QLatin1Char('X'));
  if (w >= r.right - r.left) return;
  const bool spaced =
      std::lrint(canvas.textWidth(QStringLiteral("0000000000")) * 0.8) > canvas.textWidth(QStringLiteral(".........."));
  PxRect leader{clampPx(static_cast<long long>(r.left) + w), r.top, clampPx(static_cast<long long>(r.right) - kLeaderEndGap),
                r.bottom};
  canvas.DrawText(leaderString(spaced), leader, DT_NOPREFIX | DT_RIGHT);
}

}  // namespace zorpokaz
