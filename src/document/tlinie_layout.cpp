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

std::int32_t TLinia::measureHeight(TMLineWydruk& owner) const {
  std::int32_t height = 0;
  for (const TPole& field : Fields()) {
    if (field.Kind == TPole::kHidden) continue;
    height = std::max(height, field.MeasureHeight(owner));
  }
  return height;
}

float TLinia::HeightMm(TMLineWydruk& owner) { return PxToMmY(owner.Resolution, MaxHeight(owner)); }

bool TLinia::IsSkippable(bool inHeading) const {
  if (SkipWhenRepeated) return true;
  return m_count == 1 && m_fields[0].Kind == TPole::kRule && !inHeading;
}

void TLinia::Draw(TMLineWydruk& owner, float& Y) {
  // The tallest field in millimetres is the millimetres of the tallest in
  // pixels: the conversion only grows with its argument.
  // (Never below 0, as the running maximum it stands for.)
  const float H = std::max(0.0f, HeightMm(owner));
  // The same holds for the text base: the tallest text in pixels, converted
  // once (and every field's position is converted once for the line).
  std::int32_t tallestText = 0;
  for (const TPole& field : Fields()) {
    if (field.Kind == TPole::kHidden) continue;
    tallestText = std::max(tallestText, field.Style(owner)->TextHeight());
  }
  const float B = PxToMmY(owner.Resolution, tallestText);
  const TPole::LinePx px = TPole::ToPixels(owner.Resolution, Y, H, B);
  for (const TPole& field : Fields()) {
    if (field.Kind != TPole::kHidden) field.Draw(owner, px);
  }
  Y = Y + H + owner.LineSpacing;
}

bool TLinie::Fits(float Y) {
  long long sum = 0;
  for (TLinia& line : Lines) sum += line.MaxHeight(*Owner);
  const int px = static_cast<int>(std::min<long long>(sum, 1 << 30));
  return PxToMmY(Owner->Resolution, px) + Y <= kPageHeightLimitMm;
}

void TLinie::drawLine(TLinia& line, bool mayLeaveOut, float& Y) {
  if (!mayLeaveOut || !line.IsSkippable(Block->State == TMLine::kHeading)) line.Draw(*Owner, Y);
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
    float h = Lines[i].HeightMm(*Owner);
    if (h < kWidowLimitMm && count >= 2 && i == count - 2) h = h + Lines[count - 1].HeightMm(*Owner);
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
