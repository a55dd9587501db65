#include "sheets/drawmetafile.h"

#include <QImage>
#include <QPainter>

#include "platform/errors.h"
#include "platform/gfx/pageimage.h"
#include "sheets/bandplan.h"

namespace zorpokaz {

namespace {

QRectF toTarget(const PixelRect& R) {
  return QRectF(R.left, R.top, R.width(), R.height());
}

// One band: B is filled white, the whole page is played into P (which sits
// `pageTop` pixels above B's top), so only this band's slice lands in B.
void renderBand(QImage& band, const BandPlan& plan, const BitmapBand& b, const PageImage& image,
                bool blackWhite) {
  band.fill(Qt::white);
  QPainter p(&band);
  image.replay(p, QRectF(0, b.pageTop, plan.bandWidth, plan.pageHeight), blackWhite);
}

void drawBands(QPainter& canvas, const PixelRect& R, const PageImage& image, bool blackWhite) {
  const BandPlan plan = planBands(R);
  if (plan.bands.empty())
    return;
  // A 1-bit image cannot be painted on, so black-and-white bands are drawn in
  // 8-bit grey (mono replay yields only black and white pixels) and reduced to
  // 1 bit before the transfer, which is what reaches the printer.
  const QImage::Format drawFormat = blackWhite ? QImage::Format_Grayscale8 : QImage::Format_RGB16;
  QImage band(plan.bandWidth, plan.bandHeight, drawFormat);
  if (band.isNull())
    throw Error("Out of memory");
  canvas.save();
  canvas.setBackgroundMode(Qt::OpaqueMode);
  canvas.setBrush(Qt::white);
  for (const BitmapBand& b : plan.bands) {
    renderBand(band, plan, b, image, blackWhite);
    if (blackWhite) {
      // Index 0 black, 1 white: that is what a PDF printer takes as a 1-bit
      // picture rather than widening it to colour.
      static const QList<QRgb> blackOnWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
      const QImage mono = band.convertToFormat(QImage::Format_Mono, blackOnWhite,
                                               Qt::ThresholdDither | Qt::MonoOnly);
      PrintBitmapBand(canvas, mono, b.targetLeft, b.targetTop, b.rows);
    } else {
      PrintBitmapBand(canvas, band, b.targetLeft, b.targetTop, b.rows);
    }
  }
  canvas.restore();
}

}  // namespace

void DrawMetafileMono(QPainter& canvas, const PixelRect& R, const PageImage& image) {
  image.replay(canvas, toTarget(R), true);
}

void PrintBitmapBand(QPainter& canvas, const QImage& band, int x, int y, int rows) {
  if (rows <= 0)
    return;
  canvas.save();
  canvas.setCompositionMode(QPainter::CompositionMode_Source);
  // Bands are pixels for the printer as they are: a PDF printer would
  // otherwise store them as JPEG, smearing every edge.
  canvas.setRenderHint(QPainter::LosslessImageRendering);
  canvas.drawImage(QPoint(x, y), band, QRect(0, 0, band.width(), rows));
  canvas.restore();
}

void DrawPageOnPrinter(QPainter& canvas, const PixelRect& R, const PageImage& image,
                       bool blackWhite, bool bitmap) {
  // Margins that meet or cross leave no pixel to draw into; a negative size
  // would mirror the page instead.
  if (R.isEmpty())
    return;
  if (bitmap) {
    drawBands(canvas, R, image, blackWhite);
  } else if (blackWhite) {
    DrawMetafileMono(canvas, R, image);
  } else {
    image.replay(canvas, toTarget(R), false);
  }
}

}  // namespace zorpokaz
