#include "support/pefixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <stdexcept>
#include <zlib.h>

#include "support/printoutwriter.h"

namespace zorpokaz::fixtures {

namespace {

const char kWindres[] = "x86_64-w64-mingw32-windres";
const char kGcc[] = "x86_64-w64-mingw32-gcc";

QTemporaryDir& workDir() {
  static QTemporaryDir dir;
  return dir;
}

void run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setWorkingDirectory(workDir().path());
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    throw std::runtime_error((program + " " + args.join(' ') + " failed: " +
                              QString::fromLocal8Bit(p.readAllStandardError()))
                                 .toStdString());
}

// A wide string literal of the resource script, every character that is not
// plain ASCII written as a four-digit escape.
QString rcString(const QString& text) {
  QString out = QStringLiteral("L\"");
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F && u != '"' && u != '\\')
      out += c;
    else
      out += QStringLiteral("\\x%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
  }
  return out + QLatin1Char('"');
}

QString script(const VersionValues& version) {
  QString values;
  auto value = [&](const char* name, const std::optional<QString>& v) {
    if (v) values += QStringLiteral("      VALUE \"%1\", %2\n").arg(QLatin1String(name), rcString(*v));
  };
  value("CompanyName", QStringLiteral("Zorel"));
  value("FileDescription", version.description);
  value("FileVersion", version.fileVersion);
  value("Rozmiar0", version.rozmiar0);
  value("Rozmiar", version.rozmiar);
  value("ProductVersion", QStringLiteral("1.0.0.0"));
  QString rc = QStringLiteral(
                   "1 VERSIONINFO\nFILEVERSION 2,2,1,0\nPRODUCTVERSION 1,0,0,0\nBEGIN\n"
                   "  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"%1\"\n    BEGIN\n%2    END\n  END\n")
                   .arg(version.stringTable, values);
  if (version.translation)
    rc += QStringLiteral("  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", %1, %2\n  END\n")
              .arg(version.language)
              .arg(version.codePage);
  return rc + QStringLiteral("END\n");
}

// Each distinct script is compiled once per process.
QString stem(const QString& rc) {
  return QString::fromLatin1(
      QCryptographicHash::hash(rc.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

QString compileScript(const VersionValues& values) {
  const QString rc = script(values);
  const QString name = stem(rc);
  if (!QFile::exists(workDir().filePath(name + ".rc")))
    WriteFile(workDir().filePath(name + ".rc"), rc.toUtf8());
  return name;
}

std::uint32_t u32At(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 4 > b.size()) throw std::runtime_error("truncated .res file");
  return std::uint8_t(b[at]) | (std::uint8_t(b[at + 1]) << 8) | (std::uint8_t(b[at + 2]) << 16) |
         (std::uint32_t(std::uint8_t(b[at + 3])) << 24);
}

QByteArray le32(std::int32_t v) {
  QByteArray b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
  return b;
}

}  // namespace

QString MingwMissing() {
  for (const char* tool : {kWindres, kGcc})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      return QStringLiteral("%1 is not installed (scripts/setup.sh installs mingw-w64)").arg(tool);
  return {};
}

QByteArray BuildPe(const VersionValues& values) {
  const QString name = compileScript(values);
  const QString exe = workDir().filePath(name + ".exe");
  if (!QFile::exists(exe)) {
    if (!QFile::exists(workDir().filePath("main.c")))
      WriteFile(workDir().filePath("main.c"), "int main(void) { return 0; }\n");
    run(kWindres, {name + ".rc", "-O", "coff", "-o", name + ".res.o"});
    run(kGcc, {"-s", "-o", name + ".exe", "main.c", name + ".res.o"});
  }
  return ReadFile(exe);
}

QByteArray VersionBlockOf(const VersionValues& values) {
  const QString name = compileScript(values);
  if (!QFile::exists(workDir().filePath(name + ".res")))
    run(kWindres, {name + ".rc", "-O", "res", "-o", name + ".res"});
  const QByteArray res = ReadFile(workDir().filePath(name + ".res"));
  // A .res file is a run of (data size, header size, type, name, ...) headers,
  // each followed by its data, aligned to 4 bytes.
  for (qsizetype at = 0; at + 12 <= res.size();) {
    const std::uint32_t dataSize = u32At(res, at);
    const std::uint32_t headerSize = u32At(res, at + 4);
    const std::uint32_t type = u32At(res, at + 8);
    if (type == 0x0010FFFFu) return res.mid(at + headerSize, dataSize);
    at = (at + headerSize + dataSize + 3) & ~qsizetype(3);
  }
  throw std::runtime_error("no version resource in the .res file");
}

QByteArray BuildElf(const VersionValues& values) {
  const QByteArray block = VersionBlockOf(values);
  const QString name = stem(script(values)) + "-elf";
  WriteFile(workDir().filePath(name + ".bin"), block);
  run("objcopy", {"-I", "binary", "-O", "elf64-x86-64", "-B", "i386:x86-64", "--rename-section",
                  ".data=.versioninfo", name + ".bin", name + ".o"});
  return ReadFile(workDir().filePath(name + ".o"));
}

QByteArray PackageRecord(const QByteArray& name, std::int32_t time, const QByteArray& data, int form,
                         std::optional<std::int32_t> declaredSize) {
  const int marker = form == 5 ? 255 : form == 3 ? 254 : 0;
  return le32(0) + writer::headerString(name, marker) + le32(time) +
         le32(declaredSize.value_or(std::int32_t(data.size()))) + data;
}

QByteArray BuildPackage(const QByteArray& records, VersionValues values) {
  QByteArray viewer(20000, '\0');
  for (int i = 0; i < viewer.size(); ++i) viewer[i] = char((i * 7) % 251);
  uLongf packedSize = compressBound(uLong(viewer.size()));
  QByteArray packed(qsizetype(packedSize), '\0');
  if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
               reinterpret_cast<const Bytef*>(viewer.constData()), uLong(viewer.size())) != Z_OK)
    throw std::runtime_error("compress failed");
  packed.resize(qsizetype(packedSize));
  // Sizes are written with a fixed width, so the stub keeps its size when the
  // placeholders are replaced by the real offsets.
  const bool fill0 = !values.rozmiar0, fill = !values.rozmiar;
  if (fill0) values.rozmiar0 = QStringLiteral("0000000");
  if (fill) values.rozmiar = QStringLiteral("0000000");
  QByteArray stub = BuildPe(values);
  const qsizetype stubSize = stub.size();
  if (fill0) values.rozmiar0 = QStringLiteral("%1").arg(stubSize, 7, 10, QLatin1Char('0'));
  if (fill) values.rozmiar = QStringLiteral("%1").arg(stubSize + packed.size(), 7, 10, QLatin1Char('0'));
  stub = BuildPe(values);
  if (stub.size() != stubSize) throw std::runtime_error("stub size changed with its size values");
  return stub + packed + records;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
    throw std::runtime_error(("cannot write " + path).toStdString());
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error(("cannot read " + path).toStdString());
  return f.readAll();
}

}  // namespace zorpokaz::fixtures
