// zorpokaz-cli text: the text the preview copies, page after page with a form
// feed between them, for the chosen pages only, and the page-set mistakes
// reported as usage errors.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/clirun.h"
#include "support/searchprintout.h"

namespace zorpokaz {
namespace {

struct Output {
  int status = -1;
  QString out;
  QString err;
};

Output text(const QStringList& args) {
  const testcli::CliResult r = testcli::RunCli(QStringList{"text"} + args);
  return {r.status, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

class CliText : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writer::searchPrintout(4, 3));
  }
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("faktury.wyd"));
};

QString page(int k) {
  return QStringLiteral("Faktura nr %1/2024\nŻółw morski nr %1\nLp.\tNazwa\tKwota %1,00\n").arg(k);
}

TEST_F(CliText, PagesInOrderSeparatedByFormFeeds) {
  const Output all = text({path});
  EXPECT_EQ(all.status, 0) << all.err.toStdString();
  EXPECT_TRUE(all.err.isEmpty());
  EXPECT_EQ(all.out, page(1) + "\f" + page(2) + "\f" + page(3) + "Zielony ŻÓŁW\n" + "\f" + page(4));

  const Output some = text({path, "--pages", "4, 1"});
  EXPECT_EQ(some.status, 0);
  EXPECT_EQ(some.out, page(1) + "\f" + page(4));
}

TEST_F(CliText, MistakesAreUsageErrors) {
  const struct {
    QStringList args;
    const char* message;
  } cases[] = {
      {{"--pages", "5"}, "przekracza"},
      {{"--pages", "0"}, "za mały"},
      {{}, "expected one printout file"},
  };
  for (const auto& c : cases) {
    const Output o = text(c.args.isEmpty() ? QStringList{} : QStringList{path} + c.args);
    EXPECT_EQ(o.status, 1) << c.message;
    EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.message))) << o.err.toStdString();
    EXPECT_TRUE(o.out.isEmpty());
  }
  const Output missing = text({dir.filePath(QStringLiteral("brak.wyd"))});
  EXPECT_EQ(missing.status, 2);
}

}  // namespace
}  // namespace zorpokaz
