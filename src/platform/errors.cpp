#include "platform/errors.h"

#include <new>

namespace zorpokaz {

const char* ErrorText(const std::exception& error) {
  if (dynamic_cast<const Error*>(&error) || dynamic_cast<const EAbort*>(&error)) return error.what();
  if (dynamic_cast<const std::bad_alloc*>(&error) || dynamic_cast<const std::length_error*>(&error))
    return "Out of memory";
  return "Unexpected error";
}

}  // namespace zorpokaz
