#include "platform/usersettings.h"

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

}  // namespace
}  // namespace zorpokaz
