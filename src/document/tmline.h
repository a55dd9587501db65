// A block of the printout tree: intro, heading (repeated on every page while
// the children print), nested blocks, reserved lines (never printed) and
// closing. Owns its sections and children; `Owner` is a back-pointer.
#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

#include "document/tlinie.h"

namespace zorpokaz {

class TMLine {
 public:
  // Layout phases.
  enum State : int {
    kNotLaidOut = 0,
    kDone = 1,
    kIntro = 2,
    kClosing = 3,
    kChildren = 4,
    kHeading = 5,
  };

  explicit TMLine(TMLineWydruk* owner);
  ~TMLine();
  TMLine(const TMLine&) = delete;
  TMLine& operator=(const TMLine&) = delete;

  // Reads one Block record with all nested blocks. `reader.Depth` is the depth
  // of the enclosing block (0 for the root).
  void LoadFromStream(BodyReader& reader);

  // Lines of Intro and Closing of this block and of all nested blocks.
  int CountLines() const;
  // State := 0 here and in every nested block.
  void Reset();
  // Empties the four sections and frees the children.
  void Clear();

  TMLineWydruk* Owner;
  TLinie Intro;
  TLinie Heading;
  std::vector<std::unique_ptr<TMLine>> Children;
  TLinie ReservedLines;
  TLinie Closing;
  QByteArray BlockName;  // stored from version 2, not used
  bool NewPageBefore = false;
  int State = kNotLaidOut;

  // --- layout ---
  // Prints the block at Y (mm): intro, heading, children, closing.
  void Layout(float& Y);
  // RepeatHeadings for this block and, while its children print, theirs.
  void RepeatHeading(float& Y);

 private:
  bool headingBreaks(float Y);
};

}  // namespace zorpokaz
