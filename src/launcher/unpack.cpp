#include "launcher/unpack.h"

#include <QDir>
#include <QFile>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "launcher/launcherui.h"
#include "launcher/newfile.h"
#include "launcher/packagecontent.h"
#include "launcher/programdir.h"

namespace zorpokaz::paczka {

namespace {

const QString kViewerDamaged = QStringLiteral(
    "Nie udało się rozpakować programu przeglądarki!\rPrawdopodobnie zbiór paczki jest uszkodzony.");
const QString kRecordsDamaged = QStringLiteral(
    "Nie udało się wypakować załączonych wydruków!\rPrawdopodobnie zbiór paczki jest uszkodzony.");

QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString overwriteText(const QString& path) {
  return QStringLiteral("Plik \"") + path + QStringLiteral("\" już istnieje!\r") +
         QStringLiteral("Czy na pewno mam go pokryć ?");
}

QString withoutSlash(QString dir) {
  while (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  return dir;
}

bool lstatOf(const QString& path, struct stat& st) { return ::lstat(native(path).constData(), &st) == 0; }

bool isOwnPrivateDir(const QString& dir) {
  struct stat st {};
  return lstatOf(dir, st) && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

class WaitCursor {
 public:
  WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~WaitCursor() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool m_shown;
};

// Copies `size` bytes at the package's position; false on a read error.
bool copyData(QFile& package, std::int64_t size, QIODevice* out) {
  std::vector<char> buffer(std::size_t(std::min<std::int64_t>(size, 64 * 1024)));
  while (size > 0) {
    const qint64 got = package.read(buffer.data(), std::min<std::int64_t>(size, qint64(buffer.size())));
    if (got <= 0) return false;
    if (out && out->write(buffer.data(), got) != got) out = nullptr;  // reported by the caller
    size -= got;
  }
  return true;
}

QString cannotWrite(const QString& path) { return QStringLiteral("Nie udało się zapisać pliku:\r") + path; }

// The viewer is inflated twice: first only counted, so that a stream that
// would make more than any viewer is (a bomb) or more than the target holds
// is refused before a byte is written; then written. False when the package
// cannot be used.
bool writeViewer(const LauncherState& state, QFile& package, LauncherUi& ui, int* viewerFd) {
  const QString path = state.TargetDir + QLatin1String(kViewerName);
  std::int64_t size = 0;
  if (MeasureViewer(package, state.ViewerOffset, state.RecordsOffset, size) != InflateResult::Done) {
    ui.ErrorBox(kViewerDamaged);
    return false;
  }
  if (!HasRoomFor(state.TargetDir, size)) {
    ui.ErrorBox(cannotWrite(path));
    return true;
  }
  PrepareViewerUpdate(state.TargetDir);
  NewFile file(state.TargetDir);
  if (!file.open()) {
    ui.ErrorBox(cannotWrite(path));
    return true;
  }
  switch (InflateViewer(package, state.ViewerOffset, state.RecordsOffset, file.device())) {
    case InflateResult::Short:
    case InflateResult::Damaged:
      ui.ErrorBox(kViewerDamaged);
      return false;
    case InflateResult::WriteFailed:
      ui.ErrorBox(cannotWrite(path));
      return true;
    case InflateResult::Done:
      break;
  }
  if (file.commit(path, 0777, true) != CommitResult::Done) {
    ui.ErrorBox(cannotWrite(path));
    return true;
  }
  if (viewerFd) *viewerFd = file.reopenReadOnly();
  return true;
}

// The record's data into a new file moved onto `path`, replacing what stands
// there when the user already agreed (`exists`), and asking when something
// appeared there meanwhile. False when the package cannot be read further.
bool writeRecordData(QFile& package, const RecordHeader& record, const QString& dir, const QString& path,
                     bool exists, LauncherUi& ui) {
  NewFile file(dir);
  const bool opened = file.open();
  QIODevice* out = opened ? &file.device() : nullptr;
  if (!copyData(package, record.Size, out)) return false;
  const QDateTime when = PackedLocalTime(record.Time);
  bool complete = opened && file.device().size() == record.Size && (!when.isValid() || file.setModified(when));
  for (bool replace = exists; complete;) {
    const CommitResult result = file.commit(path, 0666, replace);
    if (result == CommitResult::Done) return true;
    complete = result == CommitResult::Exists;
    if (complete && !ui.OverwriteQuestion(overwriteText(path))) {
      if (record.Time != 0) SetPackedFileTime(path, record.Time);
      return true;
    }
    replace = true;
  }
  ui.ErrorBox(cannotWrite(path));
  return true;
}

// One record whose header has been read; its data follow at the position.
// False when the package cannot be read further.
bool writePrintout(const LauncherState& state, QFile& package, const RecordHeader& record, LauncherUi& ui) {
  const QString reason = RefusedNameReason(record.Name);
  if (!reason.isEmpty()) {
    ui.ErrorBox(QStringLiteral("Pominięto wydruk \"") + DecodeName(record.Name) + QStringLiteral("\": ") + reason +
                QStringLiteral(" !"));
    return package.seek(package.pos() + record.Size);
  }
  const QString path = PrintoutPath(state.TargetDir, VisibleName(DecodeName(record.Name)));
  struct stat st {};
  const bool exists = lstatOf(path, st);
  if (exists && !ui.OverwriteQuestion(overwriteText(path))) {
    if (!package.seek(package.pos() + record.Size)) return false;
    // A kept file takes the record's time as well.
    if (record.Time != 0) SetPackedFileTime(path, record.Time);
    return true;
  }
  if (!HasRoomFor(state.TargetDir, record.Size)) {
    ui.ErrorBox(cannotWrite(path));
    return package.seek(package.pos() + record.Size);
  }
  return writeRecordData(package, record, state.TargetDir, path, exists, ui);
}

void writePrintouts(const LauncherState& state, QFile& package, LauncherUi& ui) {
  if (!package.seek(state.RecordsOffset)) return;
  RecordHeader record;
  for (;;) {
    const RecordRead read = ReadRecordHeader(package, record);
    if (read == RecordRead::End) return;
    if (read == RecordRead::Damaged || !writePrintout(state, package, record, ui)) {
      ui.ErrorBox(kRecordsDamaged);
      return;
    }
  }
}

}  // namespace

bool MakeTargetDir(const QString& dir, bool privateDir) {
  const QString path = withoutSlash(dir);
  if (path.isEmpty()) return false;
  if (::mkdir(native(path).constData(), privateDir ? 0700 : 0777) == 0) return true;
  if (errno != EEXIST) return false;
  if (!privateDir) return QFileInfo(path).isDir();
  // Someone else's directory, or a link, in a shared temporary directory
  // would let them read or replace what the viewer is about to run.
  if (!isOwnPrivateDir(path)) return false;
  return ::chmod(native(path).constData(), 0700) == 0;
}

QString PrintoutPath(const QString& dir, const QString& name) {
  const QString wanted = name + QStringLiteral(".wyd");
  struct stat st {};
  if (lstatOf(dir + wanted, st)) return dir + wanted;
  const QStringList entries =
      QDir(dir).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
  for (const QString& entry : entries)
    if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir + entry;
  return dir + wanted;
}

bool Unpack(const LauncherState& state, bool withViewer, bool withPrintouts, bool privateDir, LauncherUi& ui,
            int* viewerFd) {
  const WaitCursor wait;
  if (!MakeTargetDir(state.TargetDir, privateDir)) {
    ui.ErrorBox(QStringLiteral("Nie można utworzyć katalogu:\r") + state.TargetDir);
    return false;
  }
  QFile package(state.Exe);
  if (!package.open(QIODevice::ReadOnly)) {
    ui.ErrorBox(withViewer ? kViewerDamaged : kRecordsDamaged);
    return !withViewer;
  }
  if (withViewer && !writeViewer(state, package, ui, viewerFd)) return false;
  if (withPrintouts) writePrintouts(state, package, ui);
  return true;
}

void RemoveScratch(const QString& dir) {
  const QString path = withoutSlash(dir);
  if (!isOwnPrivateDir(path)) return;
  const QStringList entries =
      QDir(path).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
  for (const QString& entry : entries) {
    const QString file = path + QLatin1Char('/') + entry;
    struct stat st {};
    if (lstatOf(file, st) && !S_ISDIR(st.st_mode)) ::unlink(native(file).constData());
  }
  ::rmdir(native(path).constData());
}

}  // namespace zorpokaz::paczka
