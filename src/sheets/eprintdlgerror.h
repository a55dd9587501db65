// EPrintDlgError: the exception class of the print dialog (Parts 3.1-3.3).
// Every page-set message and every dialog-level failure of printing is raised
// as one, carrying the Polish text exactly as the system words it (UTF-8, "\r"
// kept as the line break the message window turns into a new line).
#pragma once

#include "platform/errors.h"

namespace zorpokaz {

class EPrintDlgError : public Error {
 public:
  using Error::Error;
};

}  // namespace zorpokaz
