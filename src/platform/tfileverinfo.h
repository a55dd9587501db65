// TFileVerInfo: the version resource of one executable file (a Windows PE
// file or our own ELF launcher, see versionblock.h). Holds a copy of the whole
// version block and the first (language, code page) pair of its translation
// table; string values are looked up in the string table of that pair.
// Creating it reads the file once and closes it again.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "platform/errors.h"
#include "platform/files/stream.h"

namespace zorpokaz {

// A file without a usable version resource; the message names the file.
class EFileVerInfoError : public Error {
 public:
  using Error::Error;
};

class TFileVerInfo {
 public:
  // The value names that StringByIndex counts through.
  static constexpr int kStringNameCount = 8;
  static const char* const kStringNames[kStringNameCount];

  // Throws EFileVerInfoError: "Niedostępna informacja o wersji" (no version
  // resource, or not an executable at all), "Błąd odczytu informacji o wersji"
  // (the block lies outside the file) or "Brak informacji o wersji językowej"
  // (no translation table), each followed by "\r(plik: <fileName>)".
  explicit TFileVerInfo(const QString& fileName);
  // The same over an open stream; `fileName` only names it in messages.
  TFileVerInfo(SeekableStream& file, const QString& fileName);

  std::uint16_t Language() const { return m_language; }
  std::uint16_t CodePage() const { return m_codePage; }
  const QByteArray& Block() const { return m_block; }

  // "\StringFileInfo\<language><code page>\<name>" as lower-case hexadecimal;
  // empty when the value is missing.
  QString StringByName(const QString& name) const;
  // The value named by kStringNames[index]; empty outside 0..7.
  QString StringByIndex(int index) const;
  // The raw value of any sub-block path; false when it is not there.
  bool QueryValue(const QString& subBlock, QByteArray& value) const;

 private:
  void load(SeekableStream& file, const QString& fileName);

  QByteArray m_block;
  std::uint16_t m_language = 0;
  std::uint16_t m_codePage = 0;
};

}  // namespace zorpokaz
