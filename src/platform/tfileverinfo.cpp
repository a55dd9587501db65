#include "platform/tfileverinfo.h"

#include <algorithm>
#include <memory>

#include "platform/bytereader.h"
#include "platform/files/filestream.h"
#include "platform/versionblock.h"

namespace zorpokaz {

namespace {

// A version block is addressed by 16-bit lengths, so nothing past this size
// can belong to it.
constexpr std::int64_t kMaxBlock = 0xFFFF;

[[noreturn]] void fail(const char* message, const QString& fileName) {
  throw EFileVerInfoError(std::string(message) + "\r(plik: " + fileName.toStdString() + ")");
}

QString hex4(std::uint16_t value) { return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')); }

}  // namespace

const char* const TFileVerInfo::kStringNames[kStringNameCount] = {
    "CompanyName",   "Comments",       "FileDescription", "FileVersion",
    "InternalName",  "LegalCopyright", "LegalTrademarks", "OriginalFilename"};

TFileVerInfo::TFileVerInfo(const QString& fileName) {
  std::unique_ptr<FileStream> file;
  try {
    file = std::make_unique<FileStream>(fileName);
  } catch (const Error&) {
    fail("Niedostępna informacja o wersji", fileName);
  }
  load(*file, fileName);
}

TFileVerInfo::TFileVerInfo(SeekableStream& file, const QString& fileName) { load(file, fileName); }

void TFileVerInfo::load(SeekableStream& file, const QString& fileName) {
  VersionBlockLocation where;
  try {
    where = FindVersionBlock(file);
  } catch (const Error&) {
    where = {};
  }
  if (where.size <= 0) fail("Niedostępna informacja o wersji", fileName);
  if (!where.inFile) fail("Błąd odczytu informacji o wersji", fileName);
  try {
    m_block.resize(static_cast<qsizetype>(std::min(where.size, kMaxBlock)));
    file.seek(where.offset);
    file.readBuffer(m_block.data(), static_cast<std::size_t>(m_block.size()));
  } catch (const Error&) {
    fail("Błąd odczytu informacji o wersji", fileName);
  }
  QByteArray translation;
  if (!QueryValue(QStringLiteral("\\VarFileInfo\\Translation"), translation) || translation.size() < 4)
    fail("Brak informacji o wersji językowej", fileName);
  const ByteReader bytes(translation);
  m_language = *bytes.u16(0);  // both there: the value has four bytes at least
  m_codePage = *bytes.u16(2);
}

bool TFileVerInfo::QueryValue(const QString& subBlock, QByteArray& value) const {
  VersionNode node;
  if (!QueryVersionValue(m_block, subBlock, node)) return false;
  value = m_block.mid(node.valueStart, node.valueSize);
  return true;
}

QString TFileVerInfo::StringByName(const QString& name) const {
  VersionNode node;
  const QString path =
      QStringLiteral("\\StringFileInfo\\") + hex4(m_language) + hex4(m_codePage) + QLatin1Char('\\') + name;
  if (!QueryVersionValue(m_block, path, node)) return {};
  // The text ends at its first zero character, or at the end of the value.
  return Utf16LeText(m_block.mid(node.valueStart, node.valueSize));
}

QString TFileVerInfo::StringByIndex(int index) const {
  if (index < 0 || index >= kStringNameCount) return {};
  return StringByName(QString::fromLatin1(kStringNames[index]));
}

}  // namespace zorpokaz
