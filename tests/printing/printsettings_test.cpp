// The print dialog's remembered choices in the user's settings store.
#include "printing/printsettings.h"
#include "platform/usersettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

class PrintSettingsStore : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  }
  QTemporaryDir dir;
};

TEST_F(PrintSettingsStore, RoundTripAndDefaults) {
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
