// Planted wrong include: the preview reaching sideways into the install
// layer, which it does not link. Must not compile.
#include "install/installpaths.h"
