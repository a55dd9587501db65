// PrintTarget: the printer as the print job sees it — one document at a time
// with a title, sheet sides as pages, a painter in printer pixels whose origin
// is the corner of the printable area, and the device metrics that place the
// page images. QPrinterTarget drives a real QPrinter; tests use a recording
// target. The job never talks to QPrinter directly, so every sheet sequence can
// be checked without paper.
//
// Errors: a failing operation throws (platform Error); the job reports it and
// aborts the open document.
#pragma once

#include <QString>

#include "sheets/printrects.h"
#include "sheets/sheetplan.h"

class QPainter;

namespace zorpokaz {

class PageImage;

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;

  // Selects the printer again with this orientation; takes effect for the
  // metrics read afterwards and for the next document begun.
  virtual void setOrientation(SheetOrientation orientation) = 0;
  // The job turns the stack itself (two-sided by hand, booklets): a device
  // that prints both sides on its own must not do so as well.
  virtual void setManualTwoSided(bool) {}
  virtual PrinterMetrics metrics() = 0;

  // The title is what the printer queue shows. The first sheet side is open
  // once the document is begun.
  virtual void beginDocument(const QString& title) = 0;
  virtual void newPage() = 0;
  // Hands the document to the printer.
  virtual void endDocument() = 0;
  // Discards the open document: nothing of it reaches the paper.
  virtual void abortDocument() = 0;
  virtual bool isPrinting() const = 0;

  // Valid only while a document is open.
  virtual QPainter& painter() = 0;

  // One page image into R on the open sheet side: DrawPageOnPrinter on
  // painter(). A recording target also notes what went where.
  virtual void drawPage(const PixelRect& R, const PageImage& image, bool blackWhite, bool bitmap);
};

}  // namespace zorpokaz
