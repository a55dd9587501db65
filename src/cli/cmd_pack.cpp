// `pack --stub LAUNCHER --viewer VIEWER [--version X.Y.Z.W] -o OUT.run
// [PRINTOUT.wyd ...]`: makes a package. A copy of the launcher gets its
// version values filled in (where the compressed viewer starts, where the
// records start, the viewer's version), then the viewer follows as one zlib
// stream and each printout as one record: reserved 0, name without directory
// and extension (code page 1250), packed local time of the file, size, data.
// The launcher also learns which shared libraries the viewer needs, to name
// them when the viewer cannot start on the machine the package reaches.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cstdint>
#include <limits>
#include <zlib.h>

#include "cli/commands.h"
#include "cli/elfneeded.h"
#include "document/linedruk.h"
#include "core/packagereader.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files/filestream.h"
#include "platform/files/memorystream.h"
#include "platform/tfileverinfo.h"
#include "platform/versionblock.h"

namespace zorpokaz::cli {

namespace {

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

struct PackArgs {
  QString stub, viewer, version, output;
  QStringList printouts;
};

PackArgs parse(const QStringList& args) {
  PackArgs p;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&]() -> QString {
      if (i + 1 >= args.size()) throw UsageError(a.toStdString() + " needs a value");
      return args[++i];
    };
    if (a == QLatin1String("--stub"))
      p.stub = value();
    else if (a == QLatin1String("--viewer"))
      p.viewer = value();
    else if (a == QLatin1String("--version"))
      p.version = value();
    else if (a == QLatin1String("-o"))
      p.output = value();
    else if (a.startsWith(QLatin1Char('-')))
      throw UsageError("unknown option " + a.toStdString());
    else
      p.printouts << a;
  }
  if (p.stub.isEmpty() || p.viewer.isEmpty() || p.output.isEmpty())
    throw UsageError("--stub, --viewer and -o are required");
  return p;
}

QByteArray readWhole(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) throw Error(("Cannot open file " + path).toStdString());
  if (f.size() > kMaxInt32) throw Error(("File too large for a package: " + path).toStdString());
  QByteArray bytes = f.readAll();
  if (bytes.size() != f.size()) throw Error(("Cannot read file " + path).toStdString());
  return bytes;
}

// Writes `text` into the stub's placeholder `name`, padding the room that is
// left with zero characters; the placeholder must have room for it.
void fillValue(QByteArray& stub, std::int64_t blockOffset, QByteArrayView block, const char* name,
               const QString& text) {
  VersionNode node;
  const QString path = QStringLiteral("\\StringFileInfo\\041504E2\\") + QLatin1String(name);
  if (!QueryVersionValue(block, path, node) || !node.isText)
    throw Error(std::string("The launcher has no version value ") + name);
  const qsizetype room = node.valueSize / 2;  // characters, the closing zero included
  if (text.size() >= room)
    throw Error(std::string("The launcher's version value ") + name + " has room for " +
                std::to_string(room - 1) + " characters");
  char* out = stub.data() + blockOffset + node.valueStart;
  for (qsizetype i = 0; i < room; ++i) {
    const char16_t c = i < text.size() ? text[i].unicode() : 0;
    out[2 * i] = char(c & 0xFF);
    out[2 * i + 1] = char(c >> 8);
  }
}

QByteArray encode1250(const QString& text, const QString& path) {
  static const QHash<char16_t, char> table = [] {
    QHash<char16_t, char> t;
    for (int b = 0; b < 256; ++b) {
      const QChar c = codePageChar(1250, static_cast<unsigned char>(b));
      if (c.unicode() != 0xFFFD) t.insert(c.unicode(), char(b));
    }
    return t;
  }();
  QByteArray bytes;
  for (const QChar c : text) {
    const auto it = table.constFind(c.unicode());
    if (it == table.constEnd())
      throw Error(("The name of " + path + " has a character code page 1250 cannot hold").toStdString());
    bytes += *it;
  }
  return bytes;
}

// Local time packed as date in the high word, time in the low; 0 outside the
// years the packed form can hold.
std::uint32_t packedTime(const QDateTime& local) {
  const QDate d = local.date();
  const QTime t = local.time();
  if (!local.isValid() || d.year() < 1980 || d.year() > 2107) return 0;
  const std::uint32_t date = std::uint32_t(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
  const std::uint32_t time = std::uint32_t((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
  return (date << 16) | time;
}

void appendLe(QByteArray& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

QByteArray headerString(const QByteArray& text) {
  QByteArray out;
  if (text.size() <= 253) {
    out += char(text.size());
  } else if (text.size() <= 0xFFFF) {
    out += char(254);
    out += char(text.size() & 0xFF);
    out += char(text.size() >> 8);
  } else {
    out += char(255);
    appendLe(out, std::uint32_t(text.size()));
  }
  return out + text;
}

QByteArray record(const QString& path) {
  const QByteArray data = readWhole(path);
  MemoryStream stream(data);
  bool isPrintout = false;
  try {
    isPrintout = CheckSignature(stream, kTypeNameWydruk);
  } catch (const std::exception&) {
  }
  if (!isPrintout) throw Error(("Not a printout: " + path).toStdString());
  const QFileInfo info(path);
  const QByteArray name = encode1250(info.completeBaseName(), path);
  const QString refused = RefusedNameReason(name);
  if (!refused.isEmpty()) throw Error(("Cannot pack " + path + ": " + refused).toStdString());
  QByteArray out;
  appendLe(out, 0);
  out += headerString(name);
  appendLe(out, packedTime(info.lastModified()));
  appendLe(out, std::uint32_t(data.size()));
  return out + data;
}

QByteArray compressed(const QByteArray& data) {
  uLongf size = compressBound(uLong(data.size()));
  QByteArray out(qsizetype(size), Qt::Uninitialized);
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
                uLong(data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
    throw Error("Cannot compress the viewer");
  out.resize(qsizetype(size));
  return out;
}

}  // namespace

int cmdPack(const QStringList& args) {
  const PackArgs p = parse(args);
  QByteArray stub = readWhole(p.stub);
  VersionBlockLocation where;
  {
    FileStream file(p.stub);
    where = FindVersionBlock(file);
  }
  if (where.size == 0 || !where.inFile) throw Error(("No version values in the launcher " + p.stub).toStdString());
  const QByteArray block = stub.mid(where.offset, where.size);

  QString version = p.version;
  if (version.isEmpty()) {
    try {
      version = TFileVerInfo(p.viewer).StringByName(QStringLiteral("FileVersion"));
    } catch (const std::exception&) {
      // A viewer without version values: only --version can say it.
    }
  }
  if (version.isEmpty()) throw UsageError("the viewer has no FileVersion; give --version");

  const QByteArray viewerBytes = readWhole(p.viewer);
  const QByteArray viewer = compressed(viewerBytes);
  const std::int64_t viewerOffset = stub.size();
  const std::int64_t recordsOffset = viewerOffset + viewer.size();
  if (recordsOffset > kMaxInt32) throw Error("The launcher and the viewer are too large for a package");
  fillValue(stub, where.offset, block, "Rozmiar0", QStringLiteral("%1").arg(viewerOffset, 10, 10, QLatin1Char('0')));
  fillValue(stub, where.offset, block, "Rozmiar", QStringLiteral("%1").arg(recordsOffset, 10, 10, QLatin1Char('0')));
  fillValue(stub, where.offset, block, "FileVersion", version);
  fillValue(stub, where.offset, block, "Biblioteki", NeededLibraries(viewerBytes).join(QLatin1Char(' ')));

  QSaveFile file(p.output);
  if (!file.open(QIODevice::WriteOnly)) throw Error(("Cannot create file " + p.output).toStdString());
  bool written = file.write(stub) == stub.size() && file.write(viewer) == viewer.size();
  for (const QString& printout : p.printouts) {
    const QByteArray r = record(printout);
    written = written && file.write(r) == r.size();
  }
  if (!written || !file.commit()) throw Error(("Cannot write file " + p.output).toStdString());
  QFile::setPermissions(p.output, QFile::permissions(p.output) | QFile::ExeOwner | QFile::ExeGroup |
                                      QFile::ExeOther | QFile::ReadGroup | QFile::ReadOther);
  out(QStringLiteral("%1: viewer %2, %3 printout(s)\n").arg(p.output, version).arg(p.printouts.size()));
  return 0;
}

}  // namespace zorpokaz::cli
