#include "library/startup.h"

#include "library/tfrmlista.h"
#include "listscript.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace zorpokaz {
namespace {

using namespace zorpokaz::listtest;

bool anyListWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TFrmLista*>(w)) return true;
  return false;
}

TEST(Startup, OnlyTheFirstArgumentCounts) {
  EXPECT_EQ(StartArgument({"zorpokaz"}), QString());
  EXPECT_EQ(StartArgument({"zorpokaz", "/tmp/a.wyd", "INST"}), "/tmp/a.wyd");
  EXPECT_EQ(StartArgument({"zorpokaz", "TEMP", "x"}), "TEMP");
  struct Case {
    const char* argument;
    StartKind kind;
  } cases[] = {
      {"INST", StartKind::Install}, {"UNINST", StartKind::Uninstall}, {"inst", StartKind::Viewer},
      {"Uninst", StartKind::Viewer}, {"INST ", StartKind::Viewer},     {"TEMP", StartKind::Viewer},
      {"", StartKind::Viewer},
  };
  for (const auto& c : cases) EXPECT_EQ(StartKindOf(c.argument), c.kind) << c.argument;
}

// Run without administrator rights, both stop at the rights message: the
// routines are reached and nothing of the machine is changed by the test.
TEST(Startup, InstallationAndRemovalNeverCreateTheListWindow) {
  struct Case {
    const char* argument;
    const char* prefix;
  } cases[] = {{"INST", "Instalacja"}, {"UNINST", "Odinstalowanie"}};
  const bool root = geteuid() == 0;
  for (const Case& c : cases) {
    bool listSeen = true;
    ListScript script;
    script.then([&](QWidget& w) {
      listSeen = anyListWindow();
      QTest::keyClick(&w, Qt::Key_Return);
    });
    if (root) {
      ASSERT_EQ(seteuid(65534), 0);  // nobody
    }
    const int status = RunProgram(*qApp, c.argument);
    if (root) {
      ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(listSeen);
    EXPECT_FALSE(anyListWindow());
    ASSERT_EQ(script.seen.size(), 1);
    EXPECT_EQ(script.seen[0], QStringLiteral("Brak uprawnień !|") + c.prefix +
                                  " programu wymaga uprawnień administratora systemu.");
  }
}

TEST(Startup, LowerCaseInstStartsTheViewer) {
  QTemporaryDir lib;
  ASSERT_TRUE(lib.isValid());
  bool listShown = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* list = qobject_cast<TFrmLista*>(w); list && list->isVisible()) {
        listShown = true;
        EXPECT_FALSE(list->TempMode());
        QTest::keyClick(list->lista(), Qt::Key_Escape);
      }
  });
  poll.start();
  EXPECT_EQ(RunProgram(*qApp, "inst", lib.path() + "/"), 0);
  EXPECT_TRUE(listShown);
  EXPECT_EQ(QCoreApplication::applicationName(), "ZorPokaz");
}

}  // namespace
}  // namespace zorpokaz
