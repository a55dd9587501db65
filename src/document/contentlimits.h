// What one printout may hold and lay out to. Far beyond any real printout: a
// ledger of 100,000 pages has 8.4 million lines of about 8 fields, a few
// blocks per page. A body past a reading limit is refused with the read
// error of the record that went over it, before that record's memory is
// taken; a layout past its limit ends as a printout that cannot be read.
// Adjustable for tests only.
#pragma once

#include <cstdint>

namespace zorpokaz {

struct ContentLimits {
  // Reading.
  std::int64_t Styles = 1024;
  std::int64_t Blocks = std::int64_t{1} << 23;  // 8,388,608
  std::int64_t Lines = std::int64_t{1} << 25;   // 33,554,432
  std::int64_t Fields = std::int64_t{1} << 28;  // 268,435,456
  // Laying out. Repeating the open headings after every page break is the
  // only way a build goes over the content more than once; it may lay out at
  // most LayoutFactor times the content's lines and fields, plus
  // LayoutAllowance of each (a short printout with a long heading). A real
  // printout repeats a few heading lines per page of 84.
  std::int64_t LayoutFactor = 8;
  std::int64_t LayoutAllowance = std::int64_t{1} << 20;  // 1,048,576
};

}  // namespace zorpokaz
