// PageCanvas: the recording surface the layout draws a page on — exactly the
// operations the page drawing uses: select font, set font colour, text width,
// the text routine (DrawText), set pen, line, stretch picture. It records into
// a PageImage (appending to what is there) at reference resolution R, which
// sizes fonts through the millimetre conversions of the callers. Coordinates
// are page-image pixels. The canvas starts with the face "Courier New" at
// −24 × 0 (any font works for measuring; the layout selects its own), colour
// black, pen black 1 px. The PageImage must outlive the canvas.
#pragma once

#include "platform/gfx/dtflags.h"
#include "platform/gfx/emfpicture.h"
#include "platform/gfx/logfont.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/pxrect.h"
#include "platform/gfx/units.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace zorpokaz {

class RealizedFont;

class PageCanvas {
 public:
  PageCanvas(PageImage& image, int dpi);
  // Ends the recording (trims the image's buffer).
  ~PageCanvas();
  PageCanvas(const PageCanvas&) = delete;
  PageCanvas& operator=(const PageCanvas&) = delete;

  int dpi() const { return m_units.dpi(); }
  const PageUnits& units() const { return m_units; }
  PageImage& image() { return *m_image; }

  // Select font: text measured and drawn afterwards uses it.
  void selectFont(const LogFont& font);
  // The same for a font already made real (RealizedFont::get(font)).
  void selectFont(const RealizedFont& font);
  const LogFont& font() const { return m_logFont; }
  // The selected font's realisation (metrics, advances).
  const RealizedFont& realizedFont() const { return *m_font; }
  // Set font colour, a colour value 0x00BBGGRR.
  void setFontColor(uint32_t colorRef) { m_fontColor = colorRef; }
  uint32_t fontColor() const { return m_fontColor; }

  // Width in pixels of text on one line in the selected font (no breaks, no
  // prefix processing; control characters count zero).
  int textWidth(const QString& text) const;

  // The text routine: draws text in rect with flags (dtflags.h), or with
  // DT_CALCRECT only measures it and updates rect; returns the height of the
  // text as laid out (the platform's DrawText rules). Drawing records one
  // text item carrying the laid-out lines.
  int DrawText(const QString& text, PxRect& rect, unsigned flags);
  // The text routine for single-byte text in code page `codePage`: the same
  // as DrawText of the decoded text, and far quicker for the common case of
  // one line that fits (layoutSingleLine).
  int DrawText(QByteArrayView text, int codePage, PxRect& rect, unsigned flags);

  // Set pen: colour 0x00BBGGRR, width in pixels (0 draws 1 px), solid.
  void setPen(uint32_t colorRef, int widthPx);
  // A straight line with the current pen; the end point is not drawn.
  void line(int x1, int y1, int x2, int y2);
  // The picture scaled to fill rect. A null picture records nothing.
  void stretchPicture(const EmfPicture& picture, const PxRect& rect);

 private:
  int recordedFontIndex();

  PageImage* m_image;
  PageUnits m_units;
  LogFont m_logFont;
  const RealizedFont* m_font;
  int m_fontIndex = -1;  // the selected font in m_image's table, when recorded
  uint32_t m_fontGeneration = 0;  // m_image's generation when m_fontIndex was found
  uint32_t m_fontColor = 0;
  uint32_t m_penColor = 0;
  int m_penWidth = 1;
};

}  // namespace zorpokaz
