// Executables with a version resource for the package and version-resource
// tests, made by an independent producer: the mingw-w64 resource compiler and
// linker build Windows PE files, and binutils' objcopy puts the same block into
// an ELF file as its ".versioninfo" section. Also package files: such a stub,
// a zlib stream standing for the viewer, and printout records.
//
// Built files are cached per process (the tools take a fraction of a second
// per file); every function throws std::runtime_error when a tool fails.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace zorpokaz::fixtures {

// The string values and translation of a version resource.
struct VersionValues {
  std::optional<QString> description = QStringLiteral("Przeglądarka Zorela 2001");
  std::optional<QString> fileVersion = QStringLiteral("2.2.1.0");
  std::optional<QString> rozmiar0 = std::nullopt;
  std::optional<QString> rozmiar = std::nullopt;
  QString stringTable = QStringLiteral("041504E2");
  bool translation = true;  // the "\VarFileInfo\Translation" value
  std::uint16_t language = 0x0415;
  std::uint16_t codePage = 1250;
};

// Empty when x86_64-w64-mingw32-windres and -gcc are on the PATH, otherwise
// the reason the PE tests cannot run.
QString MingwMissing();

// A PE executable (a tiny C program) with `values` as its version resource.
QByteArray BuildPe(const VersionValues& values);
// The binary version block the resource compiler makes for `values`.
QByteArray VersionBlockOf(const VersionValues& values);
// An ELF object whose ".versioninfo" section holds VersionBlockOf(values).
QByteArray BuildElf(const VersionValues& values);

// A printout record: reserved 0, name as a header string (`form` 0 picks the
// shortest length form, 1/3/5 force one), time, size = data.size() unless
// `declaredSize` is given, data.
QByteArray PackageRecord(const QByteArray& name, std::int32_t time, const QByteArray& data,
                         int form = 0, std::optional<std::int32_t> declaredSize = std::nullopt);

// A package: a PE stub whose "Rozmiar0" and "Rozmiar" hold the offsets of the
// compressed stand-in viewer that follows it (unless `values` sets them), then
// `records` as they are.
QByteArray BuildPackage(const QByteArray& records, VersionValues values = {});

// Writes `bytes` to `path`; throws when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

}  // namespace zorpokaz::fixtures
