#include "sheets/pagespdf.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "platform/errors.h"
#include "platform/gfx/pageimage.h"

namespace zorpokaz {

namespace {

constexpr int kPdfDpi = 300;

[[noreturn]] void cannotCreate(const QString& path) {
  throw Error(QStringLiteral("Cannot create file %1").arg(path).toStdString());
}

}  // namespace

bool WritePagesPdf(const QString& path, const std::vector<const PageImage*>& pages, const MarginsMM& margins,
                   const std::function<bool(int pagesDone)>& progress) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) cannotCreate(path);
  QPdfWriter writer(&file);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setResolution(kPdfDpi);
  writer.setTitle(QFileInfo(path).completeBaseName());
  QPainter painter;
  if (!painter.begin(&writer)) cannotCreate(path);
  const MarginPixels px = marginsInPixels(margins, kPdfDpi, kPdfDpi);
  const QRect paper(0, 0, writer.width(), writer.height());
  const QRectF target(px.left, px.top, paper.width() - px.left - px.right, paper.height() - px.top - px.bottom);
  int done = 0;
  for (const PageImage* page : pages) {
    if (done > 0) writer.newPage();
    page->replay(painter, target);
    ++done;
    if (progress && !progress(done)) {
      painter.end();
      file.cancelWriting();
      return false;
    }
  }
  painter.end();
  if (!file.commit()) cannotCreate(path);
  return true;
}

}  // namespace zorpokaz
