// QPrinterTarget: the print target of a real QPrinter — a CUPS queue (native
// format) or a PDF file. Metrics come from the printer's page layout in device
// pixels, with the painter's origin at the corner of the printable area.
//
// A native printer spools each document into a temporary file and submits it
// to its queue only when the document ends, so an aborted document never
// reaches the paper; a PDF printer writes each document to documentFile(title)
// (default: the printer's own output file) and deletes it when aborted.
//
// Borrows the printer, which must outlive the target and stay unchanged while
// a document is open.
#pragma once

#include <QPainter>
#include <QString>

#include <functional>

#include "printing/cupsqueue.h"
#include "sheets/printtarget.h"

class QPrinter;

namespace zorpokaz {

class QPrinterTarget : public PrintTarget {
 public:
  explicit QPrinterTarget(QPrinter& printer);
  ~QPrinterTarget() override;

  // File printers only: the file a document with this title goes to.
  std::function<QString(const QString& title)> documentFile;

  // Native printers: the options of the printer's settings record, given to
  // every job submitted from now on.
  void setJobOptions(const CupsOptions& options) { m_jobOptions = options; }

  void setOrientation(SheetOrientation orientation) override;
  void setManualTwoSided(bool manual) override { m_manualTwoSided = manual; }
  PrinterMetrics metrics() override;
  void beginDocument(const QString& title) override;
  void newPage() override;
  void endDocument() override;
  void abortDocument() override;
  bool isPrinting() const override { return m_painter.isActive(); }
  QPainter& painter() override { return m_painter; }

 private:
  void finish();
  void submitSpool();
  CupsOptions submitOptions() const;

  QPrinter& m_printer;
  QPainter m_painter;
  QString m_title;
  QString m_spoolFile;  // native printers: the open document's file
  QString m_outputFile; // file printers: the open document's file
  CupsOptions m_jobOptions;
  bool m_manualTwoSided = false;
};

}  // namespace zorpokaz
