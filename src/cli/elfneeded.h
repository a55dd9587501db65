// The shared libraries a program needs, as the dynamic loader will look for
// them: the DT_NEEDED entries of an ELF file's dynamic section, read from the
// file's bytes with every offset checked against them.
#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace zorpokaz::cli {

// The names (for example "libQt6Widgets.so.6") in the file's order; empty
// for a file that is no little-endian ELF file or links nothing dynamically.
QStringList NeededLibraries(QByteArrayView elf);

}  // namespace zorpokaz::cli
