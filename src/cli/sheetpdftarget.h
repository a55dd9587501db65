// SheetPdfTarget: a print target that writes every document of a print action
// into one PDF, one A4 page per sheet side, in the order the sides would reach
// the printer (passes one after another, blank sides included). Lets the
// print modes be checked without paper. Printer pixels are PDF device pixels
// at kDpi; the printable area is the whole sheet.
#pragma once

#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

#include "sheets/printtarget.h"

namespace zorpokaz::cli {

class SheetPdfTarget : public PrintTarget {
 public:
  static constexpr int kDpi = 300;

  explicit SheetPdfTarget(const QString& path);
  ~SheetPdfTarget() override;

  void setOrientation(SheetOrientation orientation) override;
  PrinterMetrics metrics() override;
  void beginDocument(const QString& title) override;
  void newPage() override;
  void endDocument() override;
  void abortDocument() override;
  bool isPrinting() const override { return m_open; }
  QPainter& painter() override { return m_painter; }

  // Closes the PDF; throws when it could not be written.
  void finish();
  // Titles of the documents, in order, and the sheet sides written.
  const QStringList& documents() const { return m_documents; }
  int sides() const { return m_sides; }

 private:
  void applyOrientation();

  QString m_path;
  QPdfWriter m_writer;
  QPainter m_painter;
  SheetOrientation m_orientation = SheetOrientation::Portrait;
  QStringList m_documents;
  int m_sides = 0;
  bool m_open = false;
};

}  // namespace zorpokaz::cli
