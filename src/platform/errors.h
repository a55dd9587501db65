// Exceptions of the platform layer. Each carries the message exactly as the
// system words it (UTF-8); the UI decides how it is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace zorpokaz {

// Base of every error the program reports to the user.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A file stream that cannot be opened: "Cannot open file %s".
class EFOpenError : public Error {
 public:
  using Error::Error;
};

// A stream that ended inside an exact read, or any other stream failure.
class EReadError : public Error {
 public:
  using Error::Error;
};

// Corrupt compressed data: the inflater's "error".
class EDecompressionError : public Error {
 public:
  using Error::Error;
};

// A picture that is not what it claims: "Metafile is not valid".
class EInvalidGraphic : public Error {
 public:
  using Error::Error;
};

// A user's stop request. Unwinds through clean-up and is never reported.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// What a user is shown for an exception: the message of one of the program's
// own errors; "Out of memory" when memory ran out; "Unexpected error" for any
// other failure of the C++ library, whose own texts ("std::bad_alloc",
// "vector::_M_realloc_insert") mean nothing to a user.
const char* ErrorText(const std::exception& error);

}  // namespace zorpokaz
