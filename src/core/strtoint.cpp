#include "core/strtoint.h"

#include <string>

namespace zorpokaz {

namespace {

[[noreturn]] void failConversion(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size())
    failConversion(text);
  // Accumulated in 64 bits and checked after every digit, so the check can
  // never itself overflow; the bound is one more on the negative side.
  const std::int64_t limit = negative ? std::int64_t{2147483648} : std::int64_t{2147483647};
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9')
      failConversion(text);
    value = value * 10 + (c - '0');
    if (value > limit)
      failConversion(text);
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t StrToIntOrZero(std::string_view text) { return text.empty() ? 0 : StrToInt(text); }

}  // namespace zorpokaz
