#include "preview/printsettings.h"
#include "preview/usersettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

class UserSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  }
  QTemporaryDir dir;
};

TEST_F(UserSettingsTest, KeyIsNotCreatedByLooking) {
  EXPECT_EQ(OpenUserKey(false), nullptr);
  {
    auto key = OpenUserKey(true);
    WriteDword(*key, "Margin_Top", 12);
    FlushUserKey(*key);
  }
  auto key = OpenUserKey(false);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->fileName().startsWith(dir.path()));
  EXPECT_EQ(ReadDword(*key, "Margin_Top"), 12);
}

TEST_F(UserSettingsTest, TypedReads) {
  auto key = OpenUserKey(true);
  key->setValue("n", 15);
  key->setValue("text", "abc");
  key->setValue("big", "4294967295");  // a DWORD of all ones reads as -1
  key->setValue("huge", "4294967296");
  key->setValue("neg", -8);
  key->setValue("two", 2);
  key->setValue("zero", 0);
  key->setValue("list", QStringList{"a", "b"});
  FlushUserKey(*key);
  QSettings again(key->fileName(), QSettings::NativeFormat);
  EXPECT_EQ(ReadDword(again, "n"), 15);
  EXPECT_EQ(ReadDword(again, "text"), std::nullopt);
  EXPECT_EQ(ReadDword(again, "big"), -1);
  EXPECT_EQ(ReadDword(again, "huge"), std::nullopt);
  EXPECT_EQ(ReadDword(again, "neg"), -8);
  EXPECT_EQ(ReadDword(again, "missing"), std::nullopt);
  EXPECT_EQ(ReadDword(again, "list"), std::nullopt);
  EXPECT_EQ(ReadBool(again, "two"), true);
  EXPECT_EQ(ReadBool(again, "zero"), false);
  EXPECT_EQ(ReadString(again, "text"), QStringLiteral("abc"));
  EXPECT_EQ(ReadString(again, "missing"), QString());
}

TEST_F(UserSettingsTest, PrintSettingsRoundTripAndDefaults) {
  const TPrintSettings defaults;
  EXPECT_EQ(defaults.PrintDlg_NazwaDruk, QString());
  EXPECT_EQ(defaults.PrintDlg_Tryb, 1);
  EXPECT_TRUE(defaults.PrintDlg_Odwrotnie);
  EXPECT_FALSE(defaults.PrintDlg_Dwustronnie);
  EXPECT_FALSE(defaults.PrintDlg_Kolor);
  EXPECT_EQ(defaults.PrintDlg_Kopie, 1);
  EXPECT_FALSE(defaults.PrintDlg_NoAbort);
  EXPECT_FALSE(defaults.PrintDlg_NoEMF);

  TPrintSettings chosen;
  chosen.PrintDlg_NazwaDruk = QStringLiteral("HP LaserJet  [lp0]");
  chosen.PrintDlg_Tryb = 3;
  chosen.PrintDlg_Odwrotnie = false;
  chosen.PrintDlg_Dwustronnie = true;
  chosen.PrintDlg_Kolor = true;
  chosen.PrintDlg_Kopie = 4;
  chosen.PrintDlg_NoAbort = true;
  chosen.PrintDlg_NoEMF = true;
  auto key = OpenUserKey(true);
  chosen.Save(*key);
  FlushUserKey(*key);
  EXPECT_EQ(key->value("PrintDlg_Odwrotnie").toString(), QStringLiteral("0"));  // booleans as 0/1
  TPrintSettings read;
  read.Load(*OpenUserKey(false));
  EXPECT_EQ(read, chosen);

  // Each value on its own: a mistyped one keeps its field, the others still load.
  key->setValue("PrintDlg_Kopie", "dwie");
  key->remove("PrintDlg_NazwaDruk");
  FlushUserKey(*key);
  TPrintSettings partly;
  partly.PrintDlg_NazwaDruk = QStringLiteral("stara");
  partly.Load(*OpenUserKey(false));
  EXPECT_EQ(partly.PrintDlg_Kopie, 1);
  EXPECT_EQ(partly.PrintDlg_NazwaDruk, QString());  // missing reads as empty
  EXPECT_EQ(partly.PrintDlg_Tryb, 3);
  EXPECT_TRUE(partly.PrintDlg_NoEMF);
}

}  // namespace
}  // namespace zorpokaz
