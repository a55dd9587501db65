// A block on the page: intro, heading kept with the first line of the first
// child, children (with their own page breaks), closing; and the repetition
// of open headings after a page break. Y is millimetres, float32.
#include "document/tmline.h"
#include "document/tmlinewydruk.h"

namespace zorpokaz {

bool TMLine::headingBreaks(float Y) {
  if (Heading.Count() == 0 || Children.empty()) return false;
  TMLine& first = *Children.front();
  TLinie* section = first.Intro.Count() > 0 ? &first.Intro : first.Closing.Count() > 0 ? &first.Closing : nullptr;
  if (!section) return false;
  return !Heading.Fits(Y + section->Lines.front().HeightMm(Owner->Resolution));
}

void TMLine::Layout(float& Y) {
  State = kIntro;
  Intro.Layout(Y);
  if (Owner->Aborted) return;

  State = kHeading;
  bool broke = false;
  if (headingBreaks(Y)) {
    // The heading goes to the next page with the first line it introduces;
    // the repetition there replaces its first drawing.
    broke = true;
    Owner->NewPage(Y);
    if (Owner->Aborted) return;
    State = kChildren;
    Owner->RepeatHeadings(Y);
    if (Owner->Aborted) return;
  }
  if (!broke) {
    Heading.Layout(Y);
    if (Owner->Aborted) return;
  }

  State = kChildren;
  for (size_t i = 0; i < Children.size(); ++i) {
    TMLine& child = *Children[i];
    if (child.NewPageBefore && (i > 0 || !broke)) {
      Owner->NewPage(Y);
      if (Owner->Aborted) return;
      Owner->RepeatHeadings(Y);
      if (Owner->Aborted) return;
    }
    child.Layout(Y);
    if (Owner->Aborted) return;
  }

  State = kClosing;
  Closing.Layout(Y);
  State = kDone;
}

void TMLine::RepeatHeading(float& Y) {
  if (State != kChildren) return;
  State = kHeading;
  Heading.Layout(Y);
  for (auto& child : Children) child->RepeatHeading(Y);
  State = kChildren;
}

}  // namespace zorpokaz
