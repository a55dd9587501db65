// Giving freed memory back to the system. The C library keeps what a
// process frees for its own reuse; after a large, short-lived structure is
// gone (the model of a long printout, once its pages are made), handing the
// free pages back is what makes the process small again.
#pragma once

namespace zorpokaz {

// Returns the free memory the C library holds to the system, as far as it
// can; does nothing where the library offers no way to.
void ReturnFreeMemory();

}  // namespace zorpokaz
