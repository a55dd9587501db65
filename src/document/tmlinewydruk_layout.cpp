// The build: one pass over the block tree drawing every line at a running
// position, finishing a page image whenever the layout asks for a new page.
#include "document/tmlinewydruk.h"

#include <new>
#include <stdexcept>

#include "document/linedruk.h"

namespace zorpokaz {

PageCanvas& TMLineWydruk::GetCanvas() {
  if (!m_canvas) {
    if (m_pageImage.width() == 0) resetPageImage();
    m_canvas = std::make_unique<PageCanvas>(m_pageImage, Resolution);
  }
  return *m_canvas;
}

void TMLineWydruk::resetPageImage() {
  m_pageImage.clear();
  const QSize size = PageSizePx(Resolution);
  m_pageImage.setSize(size.width(), size.height());
}

void TMLineWydruk::FreePages() {
  m_pages.clear();
  m_pageCount = 0;
}

void TMLineWydruk::NewPage(float& Y) {
  // Nothing drawn yet: never emit an empty page.
  if (Y == 0.0f) return;
  m_canvas.reset();
  ++m_pageCount;
  if (KeepPages) {
    m_pages.push_back(m_pageImage);
    if (OnPageDone) OnPageDone(*this, m_pages.back());
  } else if (OnPageDone) {
    OnPageDone(*this, m_pageImage);
  }
  resetPageImage();
  Y = 0.0f;
}

void TMLineWydruk::LineLaidOut(const TLinia& line) {
  m_laidOutLines += 1;
  m_laidOutFields += static_cast<std::int64_t>(line.Fields().size());
  if (m_laidOutLines > Limits.LayoutFactor * m_lineCount + Limits.LayoutAllowance ||
      m_laidOutFields > Limits.LayoutFactor * m_fieldCount + Limits.LayoutAllowance)
    throw notReadableError();
}

void TMLineWydruk::RepeatHeadings(float& Y) {
  RepeatingHeadings = true;
  Root.RepeatHeading(Y);
  RepeatingHeadings = false;
}

void TMLineWydruk::Build() {
  RepeatingHeadings = false;
  FreePages();
  if (Aborted) return;
  Root.Reset();
  m_canvas.reset();
  resetPageImage();
  LinesDone = 0;
  LinesTotal = Root.CountLines();
  m_laidOutLines = 0;
  m_laidOutFields = 0;
  Styles.MarkAllDirty();
  try {
    layOut();
  } catch (const std::bad_alloc&) {
    endBuild();
    throw notReadableError();
  } catch (const std::length_error&) {
    endBuild();
    throw notReadableError();
  } catch (...) {
    endBuild();
    throw;
  }
  endBuild();
}

void TMLineWydruk::layOut() {
  float Y = 0.0f;
  Root.Layout(Y);
  // The last page, partly filled; also after an abort.
  NewPage(Y);
}

// The page being drawn when the build stopped is dropped; finished pages stay.
void TMLineWydruk::endBuild() {
  m_canvas.reset();
  resetPageImage();
  RepeatingHeadings = false;
  Styles.ClearAllDirty();
}

}  // namespace zorpokaz
