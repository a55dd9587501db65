// The content of a printout: body header values, the style list and the block
// tree. Owns the styles and the root block. Geometry: field positions are
// page-image pixels (stored units * Scale); heights and spacing millimetres.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"

#include "document/contentlimits.h"
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
  // Lines and fields read, in every section (reserved lines too).
  std::int64_t LineCount() const { return m_lineCount; }
  std::int64_t FieldCount() const { return m_fieldCount; }

  std::uint8_t Version = 0;
  std::int32_t Units = 1200;            // stored units per inch
  float Scale = 180.0f / 1200;          // 180 / Units, single precision
  float LineSpacing = 0.0f;             // mm added after every drawn line
  std::int32_t LinesPerPage = 84;
  double RuleWidth = 0.15;              // mm, pen width of rules
  int Resolution = 96;                  // screen pixels per inch (R)

  TStyle Styles;
  TMLine Root;

  // What a body may hold and lay out to (the defaults are for every use
  // but tests).
  ContentLimits Limits;
  // False: finished pages are handed to OnPageDone and not kept (Pages()
  // stays empty), for a consumer that takes each page as it comes.
  bool KeepPages = true;

  bool Aborted = false;
  bool RepeatingHeadings = false;
  std::int32_t LinesDone = 0;
  std::int32_t LinesTotal = 0;  // 0 = not yet computed

  std::function<void(TLinie& sender)> OnLineDone;
  std::function<void(TMLineWydruk& sender, const PageImage& page)> OnPageDone;

  // --- layout ---
  // Lays the whole printout out into Pages, calling OnLineDone after every
  // line and OnPageDone for every finished page. A layout past Limits, or one
  // that runs out of memory, throws notReadableError(); the pages finished
  // before stay.
  void Build();
  // Finishes the current page unless nothing is on it; Y returns to 0.
  void NewPage(float& Y);
  // Redraws the headings of every open block, outermost first.
  void RepeatHeadings(float& Y);
  // The drawing surface of the page being drawn.
  PageCanvas& GetCanvas();
  // Pages of the last build, in order. References stay valid until the next
  // build, load or destruction.
  const std::deque<PageImage>& Pages() const { return m_pages; }
  // Pages finished in this build (kept or not).
  int PageCount() const { return m_pageCount; }
  void FreePages();
  // Called by the line groups after every line laid out (drawn or left out).
  void LineLaidOut(const TLinia& line);

 private:
  void resetPageImage();
  void layOut();
  void endBuild();
  void readBody(Stream& stream);

  std::deque<PageImage> m_pages;
  int m_pageCount = 0;
  std::int64_t m_lineCount = 0;
  std::int64_t m_fieldCount = 0;
  std::int64_t m_laidOutLines = 0;
  std::int64_t m_laidOutFields = 0;
  PageImage m_pageImage;
  std::unique_ptr<PageCanvas> m_canvas;
};

}  // namespace zorpokaz
