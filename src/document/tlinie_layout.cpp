// Lines and line groups on the page: heights, the common text base, and the
// page-break rules of a group (keep-together, splittable with the last two
// lines travelling together, break before). Y is millimetres, float32.
#include "document/tlinia.h"
#include "document/tlinie.h"
#include "document/tmline.h"
#include "document/tmlinewydruk.h"
#include "platform/gfx/units.h"

namespace zorpokaz {

namespace {

constexpr float kPageHeightLimitMm = 294.0f;
// A last-but-one line lower than this moves to the next page with the last one.
constexpr float kWidowLimitMm = 20.0f;

}  // namespace

std::int32_t TLinia::MaxHeight() {
  std::int32_t height = 0;
  for (TPole& field : Fields()) {
    if (field.Kind == TPole::kHidden) continue;
    height = std::max(height, field.MeasureHeight());
  }
  return height;
}

float TLinia::HeightMm(int dpi) { return PxToMmY(dpi, MaxHeight()); }

bool TLinia::IsSkippable(bool inHeading) const {
  if (SkipWhenRepeated) return true;
  return m_count == 1 && m_fields[0].Kind == TPole::kRule && !inHeading;
}

void TLinia::Draw(float& Y, float lineSpacing) {
  float H = 0.0f;
  float B = 0.0f;
  for (TPole& field : Fields()) {
    if (field.Kind == TPole::kHidden) continue;
    const float h = field.HeightMm();
    if (h > H) H = h;
    const float b = field.Style()->TextHeightMm();
    if (b > B) B = b;
  }
  for (TPole& field : Fields()) {
    if (field.Kind != TPole::kHidden) field.Draw(Y, H, B);
  }
  Y = Y + H + lineSpacing;
}

bool TLinie::Fits(float Y) {
  long long sum = 0;
  for (TLinia& line : Lines) sum += line.MaxHeight();
  const int px = static_cast<int>(std::min<long long>(sum, 1 << 30));
  return PxToMmY(Owner->Resolution, px) + Y <= kPageHeightLimitMm;
}

void TLinie::drawLine(TLinia& line, bool mayLeaveOut, float& Y) {
  if (!mayLeaveOut || !line.IsSkippable(Block->State == TMLine::kHeading)) line.Draw(Y, Owner->LineSpacing);
  Owner->LineLaidOut(line);
  lineDone();
}

void TLinie::lineDone() {
  const int state = Block->State;
  if (state == TMLine::kIntro || state == TMLine::kClosing || state == TMLine::kChildren) ++Owner->LinesDone;
  if (Owner->OnLineDone) Owner->OnLineDone(*this);
}

void TLinie::Layout(float& Y) {
  if (BreakBefore) Owner->NewPage(Y);
  const int count = Count();
  if (!Splittable) {
    bool broke = false;
    if (!Fits(Y)) {
      Owner->NewPage(Y);
      Owner->RepeatHeadings(Y);
      broke = true;
    }
    // Once placed, the group is not tested again: a group taller than a page
    // runs past its bottom.
    for (int i = 0; i < count; ++i) {
      drawLine(Lines[i], (broke && i == 0) || Owner->RepeatingHeadings, Y);
      if (Owner->Aborted) return;
    }
    return;
  }
  for (int i = 0; i < count; ++i) {
    const int dpi = Owner->Resolution;
    float h = Lines[i].HeightMm(dpi);
    if (h < kWidowLimitMm && count >= 2 && i == count - 2) h = h + Lines[count - 1].HeightMm(dpi);
    bool broke = false;
    if (Y + h > kPageHeightLimitMm) {
      Owner->NewPage(Y);
      Owner->RepeatHeadings(Y);
      broke = true;
    }
    drawLine(Lines[i], broke || Owner->RepeatingHeadings, Y);
    if (Owner->Aborted) return;
  }
}

}  // namespace zorpokaz
