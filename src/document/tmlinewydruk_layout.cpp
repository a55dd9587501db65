// The build: one pass over the block tree drawing every line at a running
// position, finishing a page image whenever the layout asks for a new page.
#include "document/tmlinewydruk.h"

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
}

void TMLineWydruk::NewPage(float& Y) {
  // Nothing drawn yet: never emit an empty page.
  if (Y == 0.0f) return;
  m_canvas.reset();
  m_pages.push_back(m_pageImage);
  if (OnPageDone) OnPageDone(*this, m_pages.back());
  resetPageImage();
  Y = 0.0f;
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
  float Y = 0.0f;
  LinesDone = 0;
  LinesTotal = Root.CountLines();
  Styles.MarkAllDirty();
  Root.Layout(Y);
  // The last page, partly filled; also after an abort.
  NewPage(Y);
  m_canvas.reset();
  Styles.ClearAllDirty();
}

}  // namespace zorpokaz
