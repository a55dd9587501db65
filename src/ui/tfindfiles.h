// TFindFiles: a non-visual file finder. Collects the entries of a directory,
// optionally of its whole sub-tree (breadth first), whose names match one or
// more masks and whose attributes pass the attribute modes. Each entry found
// becomes a TFileObj in FoundFiles, which the finder owns.
//
// Attributes on this platform: hidden = the name starts with "."; read-only =
// the owner's write permission is off or the current user may not write the
// entry; system is never set; archive is
// set on every regular file; directory = a directory. Only regular files and
// directories are ever reported (no devices, pipes or dangling links), and
// the walk never descends through a symbolic link, so it always ends.
// Masks use "*" and "?" and ignore letter case, so "*.wyd" finds x.WYD.
//
// The search runs on absolute paths and never changes the process's current
// directory. Units: sizes in bytes, times in local time.
#pragma once

#include "platform/errors.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zorpokaz {

// A search that cannot start: a missing property or a start directory that
// cannot be entered.
class EFindFilesError : public Error {
 public:
  using Error::Error;
};

enum class TFindMode { fmDontCare = 0, fmYes = 1, fmNo = 2 };

// Attribute bits of a found entry (the platform's own values).
enum TFileAttr : unsigned {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSystem = 0x04,
  faDirectory = 0x10,
  faArchive = 0x20,
};

// One found entry. Directories end with "/"; relDir is empty for the root.
struct TFileObj {
  QString fullDir;   // rootDir + relDir
  QString rootDir;   // the search's start directory, absolute
  QString relDir;    // below the root
  QString name;      // without the extension
  QString ext;       // with the dot; empty when there is none
  unsigned attributes = 0;  // TFileAttr bits
  QDateTime modified;       // last write, local time
  qint64 size = 0;          // bytes

  bool has(TFileAttr attr) const { return (attributes & attr) != 0; }
  QString fullPath() const { return fullDir + name + ext; }
  QString relPath() const { return relDir + name + ext; }
  QString fileName() const { return name + ext; }
};

// An owning list of found entries. Entries keep their address while they are
// in the list, so a pointer taken in OnAddFile stays valid until clear().
class TFileList {
 public:
  enum SortKey {
    skPathNoCase = 0,  // full path, ignoring case, in the locale's order
    skPath = 1,        // full path, case-sensitive, in the locale's order
    skModified = 2,    // modification time, oldest first
  };

  int count() const { return static_cast<int>(m_items.size()); }
  TFileObj& item(int index) { return *m_items.at(index); }
  const TFileObj& item(int index) const { return *m_items.at(index); }
  TFileObj& operator[](int index) { return item(index); }
  const TFileObj& operator[](int index) const { return item(index); }

  void add(std::unique_ptr<TFileObj> file);
  void clear() { m_items.clear(); }
  // Other key numbers leave the order as it is.
  void sort(int key);

  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

 private:
  std::vector<std::unique_ptr<TFileObj>> m_items;
};

class TFindFiles {
 public:
  // Progress 0..100, never decreasing; the directory about to be scanned.
  using TFFProgress = std::function<void(int progress, const QString& dirName, bool& stop)>;
  // Accept=false drops the entry; an exception from the handler drops it too.
  using TFFAddFile = std::function<void(TFileObj& newFile, bool& accept, bool& stop)>;

  QString Directory;
  // One or more masks separated by ";" (spaces are part of a mask).
  QString Mask = QStringLiteral("*.*");
  bool Recurse = false;
  TFindMode aReadOnly = TFindMode::fmNo;
  TFindMode aArchive = TFindMode::fmDontCare;
  TFindMode aSystem = TFindMode::fmNo;
  TFindMode aHidden = TFindMode::fmNo;
  TFindMode aDirectory = TFindMode::fmNo;
  // Called once per directory of a recursive search, then once with 100 and
  // an empty name at the end.
  TFFProgress OnProgress;
  TFFAddFile OnAddFile;

  // Emptied at the start of every search; holds what was found so far even
  // when the search stopped or failed.
  TFileList FoundFiles;

  // Synchronous. Throws EFindFilesError when the search cannot start and
  // EAbort when a handler asked to stop.
  void Execute();

  // Windows-style mask test ("*", "?", letter case ignored; "*.*" is
  // everything and "x.*" also matches a name without an extension).
  static bool MatchesMask(const QString& fileName, const QString& mask);

 private:
  struct Walk;
  void scanDirectory(Walk& walk, const QString& relDir);
  unsigned requestedAttributes() const;
  bool passesModes(unsigned attributes) const;
  void addFile(std::unique_ptr<TFileObj> file, bool& stop);
};

}  // namespace zorpokaz
