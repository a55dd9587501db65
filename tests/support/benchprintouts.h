// The long printouts the benchmarks time and the page-digest test pins: a
// year's general ledger as accounting systems print it, dense (84 lines a
// page of 3.5 mm, entry lines of five fields: date, document, description,
// debit, credit), with repeated headings and page numbers. Written straight
// into body bytes, since a model of ten thousand pages would itself cost more
// memory than the reader under test.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

struct DenseLedgerCounts {
  std::int64_t lines = 0;   // every line of the body
  std::int64_t fields = 0;  // every field of the body
};

// Uncompressed body of a dense ledger of about `pages` pages (within a page
// or two at 96 dpi); `counts` receives what it holds.
QByteArray denseLedgerBody(int pages, DenseLedgerCounts* counts = nullptr);
// The whole printout file, compressed at `zlibLevel`.
QByteArray denseLedgerFile(int pages, int zlibLevel = 6, DenseLedgerCounts* counts = nullptr);

// The reading benchmark's printout: `months` blocks of a thousand entry lines
// of five fields under a repeated heading (about 50 MB of body for 300).
WPrintout readBenchPrintout(int months);

}  // namespace zorpokaz::writer
