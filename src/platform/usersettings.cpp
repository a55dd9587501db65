#include "platform/usersettings.h"

#include "platform/errors.h"

#include <QFileInfo>

#include <cstdint>

namespace zorpokaz {

std::unique_ptr<QSettings> OpenUserKey(bool create) {
  auto key = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         QStringLiteral("ZorPokaz"));
  if (create) return key;
  if (key->status() != QSettings::NoError) return nullptr;
  if (!QFileInfo::exists(key->fileName()) && key->allKeys().isEmpty()) return nullptr;
  return key;
}

std::optional<int> ReadDword(const QSettings& key, const QString& name) {
  const QVariant v = key.value(name);
  if (!v.isValid()) return std::nullopt;
  qlonglong n = 0;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      n = v.toLongLong();
      break;
    case QMetaType::QString: {
      bool ok = false;
      n = v.toString().toLongLong(&ok);
      if (!ok) return std::nullopt;
      break;
    }
    default:
      return std::nullopt;
  }
  // A DWORD holds 32 bits; the program reads it as a signed integer.
  if (n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
}

std::optional<bool> ReadBool(const QSettings& key, const QString& name) {
  const std::optional<int> n = ReadDword(key, name);
  if (!n) return std::nullopt;
  return *n != 0;
}

QString ReadString(const QSettings& key, const QString& name) {
  const QVariant v = key.value(name);
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

void WriteDword(QSettings& key, const QString& name, int value) { key.setValue(name, value); }
void WriteBool(QSettings& key, const QString& name, bool value) { key.setValue(name, value ? 1 : 0); }
void WriteString(QSettings& key, const QString& name, const QString& value) {
  key.setValue(name, value);
}

void FlushUserKey(QSettings& key) {
  key.sync();
  if (key.status() != QSettings::NoError)
    throw Error(QStringLiteral("Cannot create file %1").arg(key.fileName()).toStdString());
}

}  // namespace zorpokaz
