// Finding the binary VS_VERSIONINFO block inside an executable file, and
// walking that block. Two kinds of executable keep one:
//  - a PE file (Windows): the RT_VERSION resource with the id 1, in the
//    language-neutral entry or else the first language present;
//  - an ELF file (our own launcher): the contents of the section named
//    ".versioninfo".
// Every offset and length read from the file is checked against the file
// before it is used, and the resource tree is walked exactly three levels
// deep, so lying or looping headers end in "not found", never in a crash.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

#include "platform/files/stream.h"

namespace zorpokaz {

// Where the block lies in the file; `size` is 0 when the file has none.
// `inFile` is false when the file names a block that lies (partly) outside it.
struct VersionBlockLocation {
  std::int64_t offset = 0;
  std::int64_t size = 0;
  bool inFile = true;
};

VersionBlockLocation FindVersionBlock(SeekableStream& file);

// One node of a version block: a length, a value length, a type (1 = text),
// a UTF-16 key, the value and the child nodes, each part aligned to 4 bytes.
struct VersionNode {
  qsizetype start = 0;       // offset of the node in the block
  qsizetype end = 0;         // offset just past the node (its declared length)
  QString key;
  qsizetype valueStart = 0;  // the value as stored, clamped to the node
  qsizetype valueSize = 0;   // in bytes
  bool isText = false;
  qsizetype childrenStart = 0;
};

// Reads the node at `start` that must end within `limit`; false when its
// header is damaged.
bool ReadVersionNode(QByteArrayView block, qsizetype start, qsizetype limit, VersionNode& node);

// The value of the sub-block named by a path such as "\VarFileInfo\Translation"
// (keys compared ignoring letter case, as the platform does). False when any
// step of the path is missing or the block is damaged.
bool QueryVersionValue(QByteArrayView block, const QString& subBlock, VersionNode& found);

}  // namespace zorpokaz
