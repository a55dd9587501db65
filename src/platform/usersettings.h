// The per-user settings store of the viewer: the key \SOFTWARE\ZorPokaz of the
// system this program comes from, here a QSettings in the native format of the
// platform (~/.config/ZorPokaz.conf on Linux), with the same value names. Every
// number is a 32-bit DWORD and every boolean 0 or 1; readers tell a missing
// value and a value of another type apart from a real one.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

namespace zorpokaz {

// Opens the key; with create false, returns nullptr when it does not exist.
std::unique_ptr<QSettings> OpenUserKey(bool create);

// A DWORD value as the signed integer the program uses; nullopt when the value
// is missing or not a 32-bit number.
std::optional<int> ReadDword(const QSettings& key, const QString& name);
// A boolean: any number but 0 is true.
std::optional<bool> ReadBool(const QSettings& key, const QString& name);
// A string value; a missing one reads as empty.
QString ReadString(const QSettings& key, const QString& name);

void WriteDword(QSettings& key, const QString& name, int value);
void WriteBool(QSettings& key, const QString& name, bool value);
void WriteString(QSettings& key, const QString& name, const QString& value);

// Pushes the writes to the store; throws Error when they could not be stored.
void FlushUserKey(QSettings& key);

}  // namespace zorpokaz
