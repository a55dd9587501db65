// The version values of our Linux executables. Where a Windows program keeps
// its version resource, ours keep the same binary version block in a section
// named ".versioninfo"; the package reads its own offsets and version there,
// and the installed viewer's version is read the same way. Everything is read
// from the file on disk (the values of a package are filled in after linking)
// and every offset is checked against the file before it is used.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace zorpokaz::paczka {

// The ".versioninfo" section of an ELF file, at most 64 KiB of it; empty when
// the file cannot be read, is no ELF file or has no such section.
QByteArray VersionBlockOfFile(const QString& file);

// The text of "\StringFileInfo\041504E2\<name>" (keys compared ignoring letter
// case), up to its first zero character; empty when anything is missing.
QString VersionValueInBlock(QByteArrayView block, const QString& name);
QString VersionValue(const QString& file, const QString& name);

// A signed 32-bit integer written in decimal, after leading blanks and an
// optional sign, or in hexadecimal after "$"; 0 for any other text.
std::int32_t ParseInteger(const QString& text);

}  // namespace zorpokaz::paczka
