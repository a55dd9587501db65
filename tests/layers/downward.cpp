// The preview's lawful includes, from the layers below it: this compiles, so
// the failures of the planted includes are the walls and nothing else.
#include "document/twydruk.h"
#include "platform/errors.h"
#include "preview/emfgeometry.h"
#include "printing/printsettings.h"
#include "sheets/pagesource.h"
#include "ui/apperror.h"
