// Planted wrong include: the page-placing layer reaching up into the preview,
// which sits above it. Must not compile.
#include "preview/temfviewer.h"
