// The content of a printout: body header values, the style list and the block
// tree. Owns the styles and the root block. Geometry: field positions are
// page-image pixels (stored units * Scale); heights and spacing millimetres.
#pragma once

#include <cstdint>
#include <functional>

#include "document/tmline.h"
#include "document/tstyle.h"

namespace zorpokaz {

class PageImage;
class Stream;

class TMLineWydruk {
 public:
  TMLineWydruk();
  ~TMLineWydruk();
  TMLineWydruk(const TMLineWydruk&) = delete;
  TMLineWydruk& operator=(const TMLineWydruk&) = delete;

  // Clears the content, then reads the body header, the style list and the
  // root block from the uncompressed body. Returns true; any malformation
  // throws (EReadFileError, or the stream's own error) and leaves the content
  // cleared, never half read.
  bool LoadFromStream(Stream& stream);

  // Deletes styles 1.., empties the root block, resets the counters; header
  // values return to their defaults.
  void Clear();

  // LinesTotal, computing CountLines of the root first when it is 0.
  int TotalLines();

  std::uint8_t Version = 0;
  std::int32_t Units = 1200;            // stored units per inch
  float Scale = 180.0f / 1200;          // 180 / Units, single precision
  float LineSpacing = 0.0f;             // mm added after every drawn line
  std::int32_t LinesPerPage = 84;
  double RuleWidth = 0.15;              // mm, pen width of rules
  int Resolution = 96;                  // screen pixels per inch (R)

  TStyle Styles;
  TMLine Root;

  bool Aborted = false;
  bool RepeatingHeadings = false;
  std::int32_t LinesDone = 0;
  std::int32_t LinesTotal = 0;  // 0 = not yet computed

  std::function<void(TLinie& sender)> OnLineDone;
  std::function<void(TMLineWydruk& sender, const PageImage& page)> OnPageDone;

  // --- layout ---

 private:
  void readBody(Stream& stream);
};

}  // namespace zorpokaz
