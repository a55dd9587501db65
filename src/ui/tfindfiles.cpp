#include "ui/tfindfiles.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <deque>

namespace zorpokaz {

namespace {

bool sameCharNoCase(QChar a, QChar b) {
  return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// "*" and "?" over the whole name, iteratively: the last star is the only
// backtracking point, so the cost stays linear in name x mask.
bool globNoCase(const QString& name, const QString& mask) {
  qsizetype n = 0, m = 0, starM = -1, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || (mask[m] != u'*' && sameCharNoCase(mask[m], name[n])))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == u'*') {
      starM = m++;
      starN = n;
    } else if (starM >= 0) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*')
    ++m;
  return m == mask.size();
}

QString withSlash(const QString& dir) {
  return dir.endsWith(u'/') ? dir : dir + u'/';
}

// Only regular files and directories are entries: a device or a pipe named
// like a printout must never be opened by whoever reads the results.
bool isListable(const QFileInfo& info) {
  if (info.isSymLink() && !info.exists())
    return false;
  return info.isDir() || info.isFile();
}

unsigned attributesOf(const QFileInfo& info) {
  unsigned attrs = 0;
  if (info.fileName().startsWith(u'.'))
    attrs |= faHidden;
  // The owner's write bit is what "chmod a-w" clears, and it holds even for
  // root, who may write anything; a file the user may not write is read-only
  // to them as well.
  if (!info.permission(QFile::WriteOwner) || !info.isWritable())
    attrs |= faReadOnly;
  if (info.isDir())
    attrs |= faDirectory;
  else
    attrs |= faArchive;
  return attrs;
}

bool canEnter(const QFileInfo& info) {
  return info.isDir() && info.isExecutable() && info.isReadable();
}

}  // namespace

void TFileList::add(std::unique_ptr<TFileObj> file) {
  if (file)
    m_items.push_back(std::move(file));
}

void TFileList::sort(int key) {
  using Ptr = std::unique_ptr<TFileObj>;
  if (key == skPathNoCase || key == skPath) {
    QCollator collator;
    collator.setCaseSensitivity(key == skPath ? Qt::CaseSensitive : Qt::CaseInsensitive);
    std::stable_sort(m_items.begin(), m_items.end(), [&](const Ptr& a, const Ptr& b) {
      return collator.compare(a->fullPath(), b->fullPath()) < 0;
    });
  } else if (key == skModified) {
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const Ptr& a, const Ptr& b) { return a->modified < b->modified; });
  }
}

bool TFindFiles::MatchesMask(const QString& fileName, const QString& mask) {
  if (mask == u"*.*" || mask == u"*")
    return true;
  if (globNoCase(fileName, mask))
    return true;
  // "x.*" also names x itself, as it does on the original platform.
  return mask.endsWith(u".*") && !fileName.contains(u'.') && globNoCase(fileName, mask.chopped(2));
}

struct TFindFiles::Walk {
  QString root;
  std::deque<QString> queue;  // relative directories, each ending with "/"
  QStringList masks;
};

unsigned TFindFiles::requestedAttributes() const {
  unsigned request = 0;
  if (aReadOnly != TFindMode::fmNo) request |= faReadOnly;
  if (aArchive != TFindMode::fmNo) request |= faArchive;
  if (aSystem != TFindMode::fmNo) request |= faSystem;
  if (aHidden != TFindMode::fmNo) request |= faHidden;
  if (aDirectory != TFindMode::fmNo) request |= faDirectory;
  return request;
}

// The directory search always returns read-only and archive entries and
// leaves out hidden, system and directory entries unless they were
// requested; then every attribute asked for with fmYes must be present.
bool TFindFiles::passesModes(unsigned attributes) const {
  const unsigned request = requestedAttributes();
  const unsigned filtered = faHidden | faSystem | faDirectory;
  if ((attributes & filtered & ~request) != 0)
    return false;
  const std::pair<TFindMode, TFileAttr> modes[] = {
      {aReadOnly, faReadOnly}, {aArchive, faArchive}, {aSystem, faSystem},
      {aHidden, faHidden},     {aDirectory, faDirectory}};
  for (const auto& [mode, attr] : modes)
    if (mode == TFindMode::fmYes && (attributes & attr) == 0)
      return false;
  return true;
}

void TFindFiles::addFile(std::unique_ptr<TFileObj> file, bool& stop) {
  bool accept = true;
  if (OnAddFile) {
    try {
      OnAddFile(*file, accept, stop);
    } catch (const std::exception&) {
      accept = false;
    }
  }
  if (accept)
    FoundFiles.add(std::move(file));
}

void TFindFiles::scanDirectory(Walk& walk, const QString& relDir) {
  const QString fullDir = walk.root + relDir;
  const QFileInfo dirInfo(fullDir);
  if (!canEnter(dirInfo))
    return;
  QDir dir(fullDir);
  // Name order within a directory makes results repeatable, like the
  // original platform's sorted directories.
  const QFileInfoList entries = dir.entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  bool stop = false;
  for (const QString& mask : walk.masks) {
    for (const QFileInfo& info : entries) {
      if (!isListable(info) || !MatchesMask(info.fileName(), mask))
        continue;
      const unsigned attrs = attributesOf(info);
      if (!passesModes(attrs))
        continue;
      auto file = std::make_unique<TFileObj>();
      file->rootDir = walk.root;
      file->relDir = relDir;
      file->fullDir = fullDir;
      const QString fileName = info.fileName();
      const qsizetype dot = fileName.lastIndexOf(u'.');
      file->name = dot < 0 ? fileName : fileName.left(dot);
      file->ext = dot < 0 ? QString() : fileName.mid(dot);
      file->attributes = attrs;
      file->modified = info.lastModified().toLocalTime();
      file->size = info.isDir() ? 0 : info.size();
      addFile(std::move(file), stop);
      if (stop)
        throw EAbort();
    }
  }
  if (!Recurse)
    return;
  for (const QFileInfo& info : entries)
    if (info.isDir() && !info.isSymLink())
      walk.queue.push_back(relDir + info.fileName() + u'/');
}

void TFindFiles::Execute() {
  FoundFiles.clear();
  if (Directory.isEmpty())
    throw EFindFilesError("Missing \"Directory\" property");
  if (Mask.isEmpty())
    throw EFindFilesError("Missing \"Mask\" property");
  if (requestedAttributes() == 0)
    return;
  const QFileInfo start(QDir::cleanPath(QDir(Directory).absolutePath()));
  if (!canEnter(start))
    throw EFindFilesError(QStringLiteral("Can not access the directory \"%1\".").arg(Directory).toStdString());

  Walk walk;
  walk.root = withSlash(start.absoluteFilePath());
  walk.masks = Mask.split(u';');
  walk.queue.push_back(QString());
  const bool reporting = Recurse && OnProgress;
  int reported = 0;
  for (size_t index = 0; index < walk.queue.size(); ++index) {
    const QString relDir = walk.queue[index];
    if (reporting) {
      const int p = static_cast<int>(std::lrint(100.0 * static_cast<double>(index) /
                                                 static_cast<double>(walk.queue.size())));
      reported = std::max(reported, p);
      bool stop = false;
      OnProgress(reported, walk.root + relDir, stop);
      if (stop)
        throw EAbort();
    }
    scanDirectory(walk, relDir);
  }
  if (reporting) {
    bool stop = false;
    OnProgress(100, QString(), stop);
  }
}

}  // namespace zorpokaz
