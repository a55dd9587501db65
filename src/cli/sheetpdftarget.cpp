#include "cli/sheetpdftarget.h"

#include <QPageLayout>
#include <QPageSize>

#include "platform/errors.h"

namespace zorpokaz::cli {

SheetPdfTarget::SheetPdfTarget(const QString& path) : m_path(path), m_writer(path) {
  m_writer.setResolution(kDpi);
  m_writer.setCreator(QStringLiteral("ZorPokaz"));
  applyOrientation();
}

SheetPdfTarget::~SheetPdfTarget() {
  if (m_painter.isActive()) m_painter.end();
}

void SheetPdfTarget::applyOrientation() {
  const auto orientation =
      m_orientation == SheetOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
  m_writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
}

void SheetPdfTarget::setOrientation(SheetOrientation orientation) {
  m_orientation = orientation;
  // Takes effect for the next side; a side already open keeps its layout.
  if (!m_open) applyOrientation();
}

PrinterMetrics SheetPdfTarget::metrics() {
  const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  const int shortSide = qRound(mm.width() / 25.4 * kDpi);
  const int longSide = qRound(mm.height() / 25.4 * kDpi);
  const bool landscape = m_orientation == SheetOrientation::Landscape;
  return {landscape ? longSide : shortSide, landscape ? shortSide : longSide, 0, 0, kDpi, kDpi};
}

void SheetPdfTarget::beginDocument(const QString& title) {
  m_documents << title;
  if (!m_painter.isActive()) {
    applyOrientation();
    if (!m_painter.begin(&m_writer)) throw Error(QStringLiteral("Cannot create file %1").arg(m_path).toStdString());
  } else {
    applyOrientation();
    m_writer.newPage();
  }
  m_open = true;
  ++m_sides;
}

void SheetPdfTarget::newPage() {
  applyOrientation();
  m_writer.newPage();
  ++m_sides;
}

void SheetPdfTarget::endDocument() { m_open = false; }

// A PDF page cannot be taken back; an aborted document's sides stay, as paper
// already printed would.
void SheetPdfTarget::abortDocument() { m_open = false; }

void SheetPdfTarget::finish() {
  if (m_painter.isActive() && !m_painter.end())
    throw Error(QStringLiteral("Cannot create file %1").arg(m_path).toStdString());
}

}  // namespace zorpokaz::cli
