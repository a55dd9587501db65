// StrToInt and EConvertError: the runtime's text-to-integer conversion as the
// page-set parser and the package reader rely on it. Its failure is
// deliberately not an EPrintDlgError: the print dialog does not catch it, so
// it reaches the application's default error report with the runtime's
// English message.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/errors.h"

namespace zorpokaz {

// "'<text>' is not a valid integer value".
class EConvertError : public Error {
 public:
  using Error::Error;
};

// Converts an optionally signed run of decimal digits to a 32-bit integer.
// Leading zeros are allowed ("010" is 10, and any number of them never
// overflows). An empty text, a lone sign, any other character, or a value
// outside -2147483648..2147483647 raises EConvertError naming the text.
// (The original runtime also took leading blanks and "$" hexadecimal; the page
// set only ever hands over digits, so those forms are left out on purpose.)
std::int32_t StrToInt(std::string_view text);

// An empty text is 0; anything else converts, or fails, as StrToInt.
std::int32_t StrToIntOrZero(std::string_view text);

}  // namespace zorpokaz
