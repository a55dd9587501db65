// Find benchmark: a generated ledger of about 10,000 pages laid out once,
// then the find index built over every page (as the preview's find bar does
// on its first opening), its memory, and the time of searches as a person
// types them: one letter, a word typed letter by letter (each search narrowed
// by the one before), a word with Polish letters typed without them, a rare
// number; then one page's marks and one page's text for the clipboard.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>

#include "document/tmlinewydruk.h"
#include "ledger.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/pagetext.h"
#include "preview/findindex.h"
#include "support/loadbytes.h"

using namespace zorpokaz;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

void search(const FindIndex& index, const QString& query, FindResult* narrower = nullptr) {
  const auto t = Clock::now();
  FindResult r(query);
  r.update(index, narrower);
  std::printf("  %-22s %9lld matches  %7.1f ms\n", qPrintable("\"" + query + "\""), static_cast<long long>(r.total()),
              msSince(t));
  if (narrower) *narrower = std::move(r);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int accounts = argc > 1 ? std::atoi(argv[1]) : 1040;
  const int entries = argc > 2 ? std::atoi(argv[2]) : 800;

  TMLineWydruk content;
  writer::loadBytes(writer::writePrintout(writer::ledger(accounts, entries)), content);
  content.Build();
  const auto& pages = content.Pages();
  std::printf("ledger: %zu pages\n", pages.size());

  auto t = Clock::now();
  size_t runsSeen = 0;
  for (const PageImage& page : pages) runsSeen += PageTextRuns(page).size();
  std::printf("text of every page in reading order, as copied: %.0f ms (%zu runs)\n", msSince(t), runsSeen);

  t = Clock::now();
  FindIndex index;
  for (const PageImage& page : pages) index.addPage(page);
  const double buildMs = msSince(t);
  std::printf("index built once: %.0f ms (%.1f us a page), %.1f MB\n", buildMs, buildMs * 1000 / pages.size(),
              index.byteSize() / 1048576.0);

  std::printf("searches over %d pages:\n", index.pageCount());
  search(index, QStringLiteral("a"));
  FindResult typing;
  QString typed;
  for (const QChar c : QStringLiteral("faktury nr 7")) {
    typed += c;
    search(index, typed, &typing);
  }
  search(index, QStringLiteral("towarow wg"));
  search(index, QStringLiteral("TOWARÓW WG"));
  search(index, QStringLiteral("nr 654321"));

  t = Clock::now();
  const std::vector<TextRun> runs = PageTextRuns(pages[pages.size() / 2]);
  const std::vector<RunMatch> marks = MatchesInRuns(runs, FoldForSearch(QStringLiteral("towarow")));
  std::printf("marks of one page: %zu in %.2f ms\n", marks.size(), msSince(t));
  t = Clock::now();
  const QString text = PageText(pages[pages.size() / 2]);
  std::printf("text of one page: %lld characters in %.2f ms\n", static_cast<long long>(text.size()), msSince(t));
  return 0;
}
