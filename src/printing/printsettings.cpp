#include "printing/printsettings.h"

#include "platform/usersettings.h"

namespace zorpokaz {

namespace {

void readInt(const QSettings& key, const char* name, int& field) {
  if (const auto v = ReadDword(key, QLatin1String(name))) field = *v;
}

void readBool(const QSettings& key, const char* name, bool& field) {
  if (const auto v = ReadBool(key, QLatin1String(name))) field = *v;
}

}  // namespace

void TPrintSettings::Load(const QSettings& key) {
  PrintDlg_NazwaDruk = ReadString(key, QStringLiteral("PrintDlg_NazwaDruk"));
  readInt(key, "PrintDlg_Tryb", PrintDlg_Tryb);
  readBool(key, "PrintDlg_Odwrotnie", PrintDlg_Odwrotnie);
  readBool(key, "PrintDlg_Dwustronnie", PrintDlg_Dwustronnie);
  readBool(key, "PrintDlg_Kolor", PrintDlg_Kolor);
  readInt(key, "PrintDlg_Kopie", PrintDlg_Kopie);
  readBool(key, "PrintDlg_NoAbort", PrintDlg_NoAbort);
  readBool(key, "PrintDlg_NoEMF", PrintDlg_NoEMF);
}

void TPrintSettings::Save(QSettings& key) const {
  WriteString(key, QStringLiteral("PrintDlg_NazwaDruk"), PrintDlg_NazwaDruk);
  WriteDword(key, QStringLiteral("PrintDlg_Tryb"), PrintDlg_Tryb);
  WriteBool(key, QStringLiteral("PrintDlg_Odwrotnie"), PrintDlg_Odwrotnie);
  WriteBool(key, QStringLiteral("PrintDlg_Dwustronnie"), PrintDlg_Dwustronnie);
  WriteBool(key, QStringLiteral("PrintDlg_Kolor"), PrintDlg_Kolor);
  WriteDword(key, QStringLiteral("PrintDlg_Kopie"), PrintDlg_Kopie);
  WriteBool(key, QStringLiteral("PrintDlg_NoAbort"), PrintDlg_NoAbort);
  WriteBool(key, QStringLiteral("PrintDlg_NoEMF"), PrintDlg_NoEMF);
}

TPrintSettings& PrintSettings() {
  static TPrintSettings record;
  return record;
}

}  // namespace zorpokaz
