// zorpokaz-cli render FILE (-o OUT.pdf | --png DIR) [--dpi N] [--pages SET]
// [--margins L,T,R,B] [--mode normal|reduced|booklet] [--two-sided]
// [--reverse] [--mono] [--bitmap]: replays the laid-out pages into a PDF of A4
// pages, each page image stretched inside the margins as printing does, or
// into one PNG per page at the page image's own size. With any print option
// the PDF holds the sheet sides exactly as the print job sends them.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "cli/chosenpages.h"
#include "cli/commands.h"
#include "cli/pageoptions.h"
#include "document/tmlinewydruk.h"
#include "document/twydruk.h"
#include "platform/errors.h"
#include "platform/gfx/pageimage.h"
#include "sheets/pageset.h"
#include "sheets/pagesnapshot.h"
#include "sheets/pagespdf.h"
#include "sheets/printjob.h"
#include "sheets/printrects.h"
#include "cli/sheetpdftarget.h"

namespace zorpokaz::cli {

namespace {

MarginsMM parseMargins(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 4) throw UsageError("--margins takes four millimetre values L,T,R,B");
  return {parseInt(parts[0], "--margins", 0, 99), parseInt(parts[1], "--margins", 0, 99),
          parseInt(parts[2], "--margins", 0, 99), parseInt(parts[3], "--margins", 0, 99)};
}

void renderPdf(const std::deque<PageImage>& pages, const PageList& chosen, const QString& path, const MarginsMM& m) {
  std::vector<const PageImage*> chosenPages;
  chosenPages.reserve(chosen.size());
  for (int number : chosen) chosenPages.push_back(&pages[number - 1]);
  WritePagesPdf(path, chosenPages, m);
}

void renderPng(const std::vector<ChosenPage>& pages, const QString& dirPath) {
  QDir dir(dirPath);
  if (!dir.exists() && !QDir().mkpath(dirPath))
    throw Error(QStringLiteral("Cannot create directory %1").arg(dirPath).toStdString());
  for (const auto& [number, page] : pages) {
    QImage image(page.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page.replay(painter, QRectF(QPointF(0, 0), QSizeF(page.size())));
    painter.end();
    const QString file = dir.filePath(QStringLiteral("page-%1.png").arg(number, 4, 10, QLatin1Char('0')));
    if (!image.save(file, "PNG")) throw Error(QStringLiteral("Cannot create file %1").arg(file).toStdString());
  }
}

struct PrintOptions {
  bool any = false;
  PrintJobSettings settings;
};

PrintOptions takePrintOptions(QStringList& args) {
  PrintOptions o;
  const QString mode = takeOption(args, QStringLiteral("--mode"));
  if (!mode.isEmpty()) {
    o.any = true;
    if (mode == QLatin1String("normal")) o.settings.sheet.mode = PrintMode::Normalnie;
    else if (mode == QLatin1String("reduced")) o.settings.sheet.mode = PrintMode::Zmniejszone;
    else if (mode == QLatin1String("booklet")) o.settings.sheet.mode = PrintMode::Ksiazeczka;
    else throw UsageError("--mode takes normal, reduced or booklet");
  }
  o.settings.sheet.twoSided = takeFlag(args, QStringLiteral("--two-sided"));
  o.settings.sheet.reverse = takeFlag(args, QStringLiteral("--reverse"));
  const bool mono = takeFlag(args, QStringLiteral("--mono"));
  o.settings.colour = !mono;
  o.settings.bitmap = takeFlag(args, QStringLiteral("--bitmap"));
  o.settings.noAbort = true;
  o.any = o.any || o.settings.sheet.twoSided || o.settings.sheet.reverse || mono || o.settings.bitmap;
  return o;
}

// The print job into one PDF: nobody is at the printer, so every question is
// answered the way that prints everything once.
void renderSheets(const std::deque<PageImage>& pages, PageList chosen, const QString& path, const MarginsMM& m,
                  const QString& title, const PrintJobSettings& settings) {
  PageImageList images;
  images.reserve(pages.size());
  for (const PageImage& page : pages) images.push_back(std::make_shared<const PageImage>(page));
  const PageSnapshot source(std::move(images), m);
  SheetPdfTarget target(path);
  std::string failure;
  PrintJobHooks hooks;
  hooks.askAnotherCopy = [] { return false; };
  hooks.askBooklet = [](int, int) { return true; };
  hooks.askTurnStack = [] { return true; };
  hooks.stepProgress = [] {};
  hooks.cancelRequested = [] { return false; };
  hooks.reportError = [&](const std::exception& e) { failure = ErrorText(e); };
  hooks.pumpEvents = [] {};
  PrintJob job(target, source, title, settings, hooks);
  job.ComputeRects();
  job.PrintCopies(chosen);
  target.finish();
  if (!failure.empty()) throw Error(failure);
}

}  // namespace

int cmdRender(const QStringList& argsIn) {
  QStringList args = argsIn;
  const int dpi = parseInt(takeOption(args, QStringLiteral("--dpi"), QStringLiteral("96")), "--dpi", 24, 1200);
  const QString pdf = takeOption(args, QStringLiteral("-o"));
  const QString pngDir = takeOption(args, QStringLiteral("--png"));
  const QString pageSet = takeOption(args, QStringLiteral("--pages"));
  const MarginsMM margins = parseMargins(takeOption(args, QStringLiteral("--margins"), QStringLiteral("10,15,10,25")));
  const PrintOptions print = takePrintOptions(args);
  if (args.size() != 1) throw UsageError("expected one printout file");
  if (pdf.isEmpty() == pngDir.isEmpty()) throw UsageError("give either -o OUT.pdf or --png DIR");
  if (print.any && pdf.isEmpty()) throw UsageError("print options need -o OUT.pdf");

  if (!pngDir.isEmpty()) {
    // Pages as files need no page after the last one asked for.
    TWydruk doc;
    doc.setResolution(dpi);
    doc.LoadFromFile(args.front());
    renderPng(layOutChosenPages(doc, pageSet), pngDir);
    return 0;
  }
  auto doc = buildPrintout(args.front(), dpi);
  const auto& pages = doc->Tekst().Pages();
  const PageList chosen = choosePages(pageSet, static_cast<int>(pages.size()));
  if (print.any) {
    renderSheets(pages, chosen, pdf, margins, doc->WczytanyPlikNazwa(), print.settings);
  } else {
    renderPdf(pages, chosen, pdf, margins);
  }
  return 0;
}

}  // namespace zorpokaz::cli
