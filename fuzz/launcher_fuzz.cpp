// Fuzz target: raw bytes as a package in the hands of the launcher. They are
// read as an executable with version values (its offsets and version), as a
// compressed viewer and as printout records, and the records are unpacked
// into a scratch directory with overwrite answers drawn from the data. A
// crash, a hang, an unbounded allocation or a file outside the scratch
// directory is a fault; a damaged package is an expected outcome.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "launcher/launcherui.h"
#include "launcher/packagecontent.h"
#include "launcher/unpack.h"
#include "launcher/versionvalues.h"

namespace {

using namespace zorpokaz::paczka;

struct Answers : LauncherUi {
  std::uint8_t bits = 0;
  void ErrorBox(const QString&) override {}
  void InformationBox(const QString&) override {}
  bool OverwriteQuestion(const QString&) override { return (bits >>= 1) & 1; }
  void RightsBox(const QString&) override {}
};

// Counts what inflating would write without keeping it.
class Discard : public QIODevice {
 public:
  Discard() { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override { return size; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir scratch;
  const QString package = scratch.path() + "/package.run";
  const QString target = scratch.path() + "/target/";
  {
    QFile f(package);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  const QByteArray block = VersionBlockOfFile(package);
  (void)VersionValueInBlock(block, QStringLiteral("FileVersion"));
  (void)ParseInteger(VersionValueInBlock(block, QStringLiteral("Rozmiar")));

  QFile file(package);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  Discard viewer;
  (void)InflateViewer(file, 0, qint64(size) / 2, viewer);

  LauncherState state;
  state.Exe = package;
  state.TargetDir = target;
  state.RecordsOffset = 0;
  Answers answers;
  answers.bits = size > 0 ? data[size - 1] : 0;
  QDir().mkpath(target);
  Unpack(state, false, true, false, answers);
  if (QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) !=
      QStringList({"package.run", "target"}))
    std::abort();
  QDir(target).removeRecursively();
  return 0;
}
