#include "printing/qprintertarget.h"

#include <QDir>
#include <QFile>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

#include <cmath>

#include "platform/errors.h"
#include "printing/cupsqueue.h"

namespace zorpokaz {

namespace {

// Qt's key for the options its printer-properties dialog leaves for CUPS
// (name, value, name, value, ...).
constexpr auto kCupsOptionsKey =
    static_cast<QPrintEngine::PrintEnginePropertyKey>(QPrintEngine::PPK_CustomBase);

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

void QPrinterTarget::submitSpool() {
  const QPageLayout layout = m_printer.pageLayout();
  CupsOptions options;
  options.append({QByteArray("media"), layout.pageSize().key().toUtf8()});
  if (layout.orientation() == QPageLayout::Landscape)
    options.append({QByteArray("landscape"), QByteArray()});
  // Manual two-sided printing turns the stack itself: the queue must not.
  options.append({QByteArray("sides"), QByteArray("one-sided")});
  options.append({QByteArray("print-color-mode"),
                  QByteArray(m_printer.colorMode() == QPrinter::Color ? "color" : "monochrome")});
  if (QPrintEngine* engine = m_printer.printEngine()) {
    const QStringList more = engine->property(kCupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < more.size(); i += 2)
      options.append({more[i].toUtf8(), more[i + 1].toUtf8()});
  }
  SubmitToCups(m_printer.printerName(), m_spoolFile, m_title, options);
}

}  // namespace zorpokaz
