// Tests that need something CI always has (root, a tool scripts/setup.sh
// installs, a virtual display) are skipped on a machine that lacks it, so a
// developer without root or mingw-w64 can still run the suite. In CI
// (CI=true) the same lack fails the test instead: there it means the set-up
// broke, and a skip would let the test quietly stop running.
#pragma once

#include <QStandardPaths>
#include <QString>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <unistd.h>

namespace zorpokaz::fixtures {

inline bool RunningInCi() { return qEnvironmentVariable("CI") == QLatin1String("true"); }

// Empty when running as root; otherwise why the test needs it.
inline std::string RootMissing(const char* why) {
  return geteuid() == 0 ? std::string() : std::string("needs root: ") + why;
}

// Empty when every program is on the PATH; otherwise which one is missing
// and the Debian package that brings it.
inline std::string ToolMissing(std::initializer_list<const char*> tools, const char* package) {
  for (const char* tool : tools)
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      return std::string(tool) + " is not installed (Debian " + package + ", scripts/setup.sh installs it)";
  return {};
}

}  // namespace zorpokaz::fixtures

// Skips the test (fails it in CI) when `missing`, a text saying what the test
// lacks, is not empty. Usable in a test body and in SetUp.
#define ZP_REQUIRE(missing)                                                  \
  do {                                                                       \
    if (const std::string zpMissing_ = (missing); !zpMissing_.empty()) {     \
      if (::zorpokaz::fixtures::RunningInCi()) {                             \
        GTEST_FAIL() << "CI must provide this, the test did not run: " << zpMissing_; \
      }                                                                      \
      GTEST_SKIP() << zpMissing_;                                            \
    }                                                                        \
  } while (false)
