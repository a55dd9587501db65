// TEmfViewer: the page viewer control. Shows the page images of one printout
// as a column of white sheets on a silver background, with seven zoom levels,
// four page margins (millimetres) that decide where each image is stretched
// inside its sheet, scrolling by scroll bar, keys, wheel and hand-drag, and
// zooming by mouse click.
//
// Units: view, sheet and scroll positions are the viewer's screen pixels;
// margins are millimetres of a 210 x 297 mm sheet. The placement maths live in
// emfgeometry.h; this class owns the widget state and the input rules.
//
// It is the PageSource printing reads: its pages, its margins and the page at
// the centre of the view.
//
// Ownership: the viewer shares ownership of the page images it is given; the
// window that fills it keeps its own copies of the document's pages, so the
// images outlive the document. Children (two buttons, two scroll bars) are
// owned by the widget. Painting goes through Qt's backing store, which is the
// off-screen bitmap every frame is composed on before it reaches the screen.
#pragma once

#include "preview/emfgeometry.h"
#include "sheets/pagesource.h"

#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QScrollBar;
class QToolButton;

namespace zorpokaz {

class PageImage;

class TEmfViewer : public QWidget, public PageSource {
  Q_OBJECT

 public:
  using PagePtr = std::shared_ptr<const PageImage>;

  explicit TEmfViewer(QWidget* parent = nullptr);
  ~TEmfViewer() override;

  // Appends a page; returns its index. Never moves the view.
  int AddPage(PagePtr page);
  // Empties the list (nothing happens on an empty list).
  void ClearPages();
  // Releases the viewer's share of every page image and empties the list.
  void FreePages();
  int PageCount() const override { return static_cast<int>(m_pages.size()); }
  // Page k is at index k - 1.
  const PageImage& Page(int index) const { return *m_pages.at(static_cast<size_t>(index)); }
  PagePtr PageShared(int index) const override { return m_pages.at(static_cast<size_t>(index)); }
  MarginsMM Margins() const override { return {m_margLeft, m_margTop, m_margRight, m_margBottom}; }
  int CurrentPage() const override { return PageNr(); }

  // 1-based number of the page at the centre of the view; writing scrolls.
  int PageNr() const;
  void setPageNr(int pageNr);

  TEmfZoomLevel ZoomLevel() const { return m_zoom; }
  void setZoomLevel(TEmfZoomLevel level);
  void ZoomIn();
  void ZoomOut();
  void AlignToPage();

  int MargLeft() const { return m_margLeft; }
  int MargRight() const { return m_margRight; }
  int MargTop() const { return m_margTop; }
  int MargBottom() const { return m_margBottom; }
  void setMargLeft(int mm);
  void setMargRight(int mm);
  void setMargTop(int mm);
  void setMargBottom(int mm);

  bool ShowPageNr() const { return m_showPageNr; }
  void setShowPageNr(bool show);

  // Marks painted over a page (found text), in page-image pixels; the source
  // is asked for each sheet as it is drawn.
  struct Mark {
    QRectF rect;
    bool current = false;
  };
  using MarkSource = std::function<std::vector<Mark>(int pageIndex)>;
  void setMarkSource(MarkSource source);
  // Where a rectangle of page-image pixels of page `index` lies in the view.
  QRectF PageRectInView(int index, const QRectF& pageRect) const;
  // Scrolls as little as needed (none when it already shows) so that the
  // rectangle lies inside the view, with some context above it.
  void ScrollIntoView(int index, const QRectF& pageRect);

  // Page position and horizontal fraction under a point of the view.
  emfgeo::PagePoint PageAt(QPoint viewPoint) const;
  // Scrolls so that (page, fraction) lies under viewPoint.
  void ScrollToPoint(QPoint viewPoint, float fraction, float page);
  // Recomputes sizes, ranges and positions; keep rescales the positions.
  void Relayout(bool keep);

  // Current layout, for the print dialog and for tests.
  int ViewWidth() const { return m_viewW; }
  int ViewHeight() const { return m_viewH; }
  emfgeo::SheetSize SheetSize() const { return m_sheet; }
  int HorzPos() const;
  int VertPos() const;
  void setVertPos(int pos);
  QScrollBar* VertBar() const { return m_vBar; }
  QScrollBar* HorzBar() const { return m_hBar; }
  QToolButton* StartButton() const { return m_btnStart; }
  QToolButton* EndButton() const { return m_btnEnd; }

 Q_SIGNALS:
  void OnZoom();
  void OnMove();
  void OnChange();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void relayout(bool keep, bool repaintAll);
  bool handleScrollKey(int key, bool keypad);
  bool handleZoomKey(int key, bool keypad);
  void sendKeyFromButton(int key);
  void setMargin(int& field, int mm);
  void scrollChanged();
  void drawSheet(QPainter& painter, int index, const QRect& sheet,
                 const emfgeo::SheetMargins& margins) const;
  void drawMarks(QPainter& painter, int index, const QRectF& target) const;
  QRectF pageTarget(const QRect& sheet) const;
  bool extraZoom() const { return m_zoom >= TEmfZoomLevel::zoomExtra1; }

  std::vector<PagePtr> m_pages;
  TEmfZoomLevel m_zoom = TEmfZoomLevel::zoomPageW;
  int m_margLeft = 5;
  int m_margRight = 5;
  int m_margTop = 5;
  int m_margBottom = 10;
  bool m_showPageNr = true;
  MarkSource m_marks;
  int m_wheelZoom = 0;  // Ctrl+wheel turns not yet a whole notch

  int m_viewW = 0;
  int m_viewH = 0;
  emfgeo::SheetSize m_sheet;

  QScrollBar* m_vBar;
  QScrollBar* m_hBar;
  QToolButton* m_btnStart;
  QToolButton* m_btnEnd;

  bool m_leftPressed = false;
  bool m_rightPressed = false;
  bool m_dragging = false;
  QPoint m_last;
};

}  // namespace zorpokaz
