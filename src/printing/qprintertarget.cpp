#include "printing/qprintertarget.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>

#include "platform/errors.h"

namespace zorpokaz {

namespace {

int px(qreal v) { return static_cast<int>(std::lround(v)); }

}  // namespace

QPrinterTarget::QPrinterTarget(QPrinter& printer) : m_printer(printer) {}

QPrinterTarget::~QPrinterTarget() {
  if (isPrinting())
    abortDocument();
}

void QPrinterTarget::setOrientation(SheetOrientation orientation) {
  m_printer.setPageOrientation(orientation == SheetOrientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

PrinterMetrics QPrinterTarget::metrics() {
  const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = m_printer.pageRect(QPrinter::DevicePixel);
  PrinterMetrics m;
  m.physicalWidth = px(paper.width());
  m.physicalHeight = px(paper.height());
  m.offsetX = px(page.left() - paper.left());
  m.offsetY = px(page.top() - paper.top());
  m.dpiX = m_printer.logicalDpiX();
  m.dpiY = m_printer.logicalDpiY();
  return m;
}

void QPrinterTarget::beginDocument(const QString& title) {
  if (isPrinting())
    throw Error("Printing in progress");
  m_title = title;
  m_printer.setDocName(title);
  if (m_printer.outputFormat() == QPrinter::NativeFormat) {
    // Any name but *.pdf keeps the printer's CUPS engine, which then writes
    // the job here instead of submitting it.
    QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/zorpokaz-XXXXXX.prn"));
    spool.setAutoRemove(false);
    if (!spool.open())
      throw Error("Cannot create file " + spool.fileTemplate().toStdString());
    m_spoolFile = spool.fileName();
    m_printer.setOutputFileName(m_spoolFile);
  } else if (documentFile) {
    m_printer.setOutputFileName(documentFile(title));
  }
  m_outputFile = m_printer.outputFileName();
  if (!m_painter.begin(&m_printer)) {
    finish();
    throw Error("Printer selected is not valid");
  }
}

void QPrinterTarget::newPage() {
  if (!isPrinting() || !m_printer.newPage())
    throw Error("Printer is not currently printing");
}

void QPrinterTarget::endDocument() {
  if (!isPrinting())
    throw Error("Printer is not currently printing");
  m_painter.end();
  try {
    if (!m_spoolFile.isEmpty())
      submitSpool();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void QPrinterTarget::abortDocument() {
  if (m_painter.isActive())
    m_painter.end();
  // What was written so far is thrown away, as the spooler would.
  QFile::remove(m_spoolFile.isEmpty() ? m_outputFile : m_spoolFile);
  finish();
}

void QPrinterTarget::finish() {
  if (!m_spoolFile.isEmpty()) {
    QFile::remove(m_spoolFile);
    m_spoolFile.clear();
    m_printer.setOutputFileName(QString());
  }
  m_outputFile.clear();
}

CupsOptions QPrinterTarget::submitOptions() const {
  CupsOptions options = m_jobOptions;
  auto set = [&options](const QByteArray& name, const QByteArray& value) {
    options.removeIf([&](const auto& o) { return o.first == name; });
    options.append({name, value});
  };
  const QPageLayout layout = m_printer.pageLayout();
  // The paper chosen in the printer's settings, by its own name; else the
  // size the document was laid out for.
  if (std::none_of(options.begin(), options.end(), [](const auto& o) { return o.first == "media"; }))
    set("media", layout.pageSize().key().toUtf8());
  if (layout.orientation() == QPageLayout::Landscape)
    set("landscape", QByteArray());
  if (m_manualTwoSided)
    set("sides", "one-sided");
  return options;
}

void QPrinterTarget::submitSpool() {
  SubmitToCups(m_printer.printerName(), m_spoolFile, m_title, submitOptions());
}

}  // namespace zorpokaz
