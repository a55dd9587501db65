// StrToInt: the runtime conversion the page-set parser and the package
// reader rely on, with its message for every text it refuses.
#include <gtest/gtest.h>

#include <string>

#include "core/strtoint.h"

namespace zorpokaz {
namespace {

std::string failure(std::string_view text) {
  try {
    StrToInt(text);
  } catch (const EConvertError& e) {
    return e.what();
  }
  return "(converted)";
}

TEST(StrToInt, Converts) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("7"), 7);
  EXPECT_EQ(StrToInt("010"), 10);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt(std::string(500, '0') + "42"), 42);
}

TEST(StrToInt, RefusesWithTheRuntimeMessage) {
  for (const char* text : {"", "-", "+", "2147483648", "-2147483649", "99999999999999999999999",
                           "12a", " 1", "1 ", "--1", "0x10", "$10"})
    EXPECT_EQ(failure(text), std::string("'") + text + "' is not a valid integer value");
}

// The package reader's size value: missing is 0, bad text is the same error.
TEST(StrToInt, OrZeroTakesAnEmptyTextAsZero) {
  EXPECT_EQ(StrToIntOrZero(""), 0);
  EXPECT_EQ(StrToIntOrZero("0001200"), 1200);
  EXPECT_EQ(StrToIntOrZero("-5"), -5);
  for (const char* text : {" ", "12a", "-"}) {
    try {
      StrToIntOrZero(text);
      ADD_FAILURE() << "converted " << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace zorpokaz
