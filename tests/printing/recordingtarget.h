// A print target without a printer: it records every document, sheet side and
// page image drawn (with rectangle and black-and-white flag) and, when asked,
// also paints the sides into images so the output can be looked at.
#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <ostream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/errors.h"
#include "sheets/printjob.h"
#include "sheets/printtarget.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zorpokaz::testing {

struct DrawnPage {
  int page = 0;  // page number of the image, 0 when unknown
  PixelRect rect;
  bool blackWhite = false;
  bool bitmap = false;
};

struct RecordedSide {
  std::vector<DrawnPage> pages;
  QImage picture;  // only when rendering
};

struct RecordedDocument {
  QString title;
  SheetOrientation orientation = SheetOrientation::Portrait;
  std::vector<RecordedSide> sides;
  bool ended = false;
  bool aborted = false;
};

class RecordingTarget : public PrintTarget {
 public:
  // A4 at 72 dpi with a printable area 10 px in from the left and top edges.
  explicit RecordingTarget(const PageImageList& pages, bool render = false)
      : m_render(render) {
    for (std::size_t i = 0; i < pages.size(); ++i)
      m_numbers[pages[i].get()] = static_cast<int>(i) + 1;
  }

  PrinterMetrics portrait{595, 842, 10, 10, 72, 72};
  int failAtDraw = 0;  // throw on this draw (1-based), 0 never
  std::function<void()> onDraw;  // runs after each recorded draw
  std::vector<RecordedDocument> documents;
  int draws = 0;

  void setOrientation(SheetOrientation o) override { m_orientation = o; }
  PrinterMetrics metrics() override {
    PrinterMetrics m = portrait;
    if (m_orientation == SheetOrientation::Landscape) {
      std::swap(m.physicalWidth, m.physicalHeight);
      std::swap(m.offsetX, m.offsetY);
    }
    return m;
  }
  void beginDocument(const QString& title) override {
    if (m_open)
      throw std::logic_error("document begun twice");
    documents.push_back({title, m_orientation, {}, false, false});
    m_open = true;
    openSide();
  }
  void newPage() override {
    requireOpen();
    closeSide();
    openSide();
  }
  void endDocument() override {
    requireOpen();
    closeSide();
    documents.back().ended = true;
    m_open = false;
  }
  void abortDocument() override {
    requireOpen();
    closeSide();
    documents.back().aborted = true;
    m_open = false;
  }
  bool isPrinting() const override { return m_open; }
  QPainter& painter() override {
    requireOpen();
    return m_painter;
  }
  void drawPage(const PixelRect& R, const PageImage& image, bool blackWhite, bool bitmap) override {
    requireOpen();
    if (++draws == failAtDraw)
      throw Error("Printer out of paper");
    const auto it = m_numbers.find(&image);
    documents.back().sides.back().pages.push_back(
        {it == m_numbers.end() ? 0 : it->second, R, blackWhite, bitmap});
    if (m_render)
      PrintTarget::drawPage(R, image, blackWhite, bitmap);
    if (onDraw)
      onDraw();
  }

  // One line per document: "title: side side ... end|abort", a side being the
  // page numbers drawn ("_" for a blank side); with halves each side is
  // "left|right" by which half of the sheet the rectangle lies in.
  QStringList summary(bool halves) const {
    QStringList lines;
    for (const RecordedDocument& d : documents) {
      QStringList sides;
      for (const RecordedSide& s : d.sides)
        sides << describe(s, d, halves);
      lines << d.title + ": " + sides.join(' ') +
                   (d.ended ? " end" : d.aborted ? " abort" : " open");
    }
    return lines;
  }

 private:
  QString describe(const RecordedSide& s, const RecordedDocument& d, bool halves) const {
    if (!halves)
      return s.pages.empty() ? QStringLiteral("_") : QString::number(s.pages.front().page);
    PrinterMetrics m = portrait;
    if (d.orientation == SheetOrientation::Landscape)
      std::swap(m.physicalWidth, m.physicalHeight), std::swap(m.offsetX, m.offsetY);
    QString left = QStringLiteral("_"), right = QStringLiteral("_");
    for (const DrawnPage& p : s.pages)
      (p.rect.left < m.physicalWidth / 2 - m.offsetX ? left : right) = QString::number(p.page);
    return left + '|' + right;
  }
  void requireOpen() const {
    if (!m_open)
      throw std::logic_error("no document open");
  }
  void openSide() {
    documents.back().sides.emplace_back();
    if (!m_render)
      return;
    const PrinterMetrics m = metrics();
    QImage& img = documents.back().sides.back().picture;
    img = QImage(m.physicalWidth - 2 * m.offsetX, m.physicalHeight - 2 * m.offsetY,
                 QImage::Format_RGB32);
    img.fill(Qt::white);
    m_painter.begin(&img);
  }
  void closeSide() {
    if (m_painter.isActive())
      m_painter.end();
  }

  bool m_render;
  bool m_open = false;
  SheetOrientation m_orientation = SheetOrientation::Portrait;
  std::map<const PageImage*, int> m_numbers;
  QPainter m_painter;
};

}  // namespace zorpokaz::testing
