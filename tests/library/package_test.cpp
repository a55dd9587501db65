// The package reader on packages made with the mingw-w64 stub: identification,
// record layout, names that must not leave the library, damaged records,
// overwrite answers and modification times.
#include "core/packagereader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "library/addprintouts.h"
#include "platform/files/memorystream.h"
#include "platform/tfileverinfo.h"
#include "core/strtoint.h"
#include "support/cirequire.h"
#include "support/pefixture.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using fixtures::BuildPackage;
using fixtures::PackageRecord;
using fixtures::ReadFile;
using fixtures::VersionValues;
using fixtures::WriteFile;

#define REQUIRE_MINGW() ZP_REQUIRE(fixtures::MingwMissing().toStdString())

// Answers the overwrite questions from a script (then "Nie") and records
// what happened.
struct Recorder : ExtractHandler {
  QList<bool> answers;
  QStringList asked, refused, written, kept;
  bool ConfirmOverwrite(const QString& dest, int) override {
    asked << dest;
    return answers.isEmpty() ? false : answers.takeFirst();
  }
  void NameRefused(const QString& message) override { refused << message; }
  void Done(const QString& dest, bool wasWritten) override { (wasWritten ? written : kept) << dest; }
};

// Packed local date-time of 2003-04-05 06:07:08.
constexpr std::int32_t kTime = (23 << 25) | (4 << 21) | (5 << 16) | (6 << 11) | (7 << 5) | 4;

class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_MINGW();
    lib = tmp.path() + "/lib/";
    QDir().mkpath(lib);
  }
  QString write(const QByteArray& bytes, const QString& name = "paczka.exe") {
    const QString path = tmp.filePath(name);
    WriteFile(path, bytes);
    return path;
  }
  // Extracts a package made of `records`; returns the error message, if any.
  std::string extract(const QByteArray& records, Recorder& r) {
    const QString path = write(BuildPackage(records));
    try {
      ExtractPrintouts(path, CheckPackage(path), lib, r);
    } catch (const std::exception& e) {
      return e.what();
    }
    return {};
  }
  QStringList libraryFiles() const {
    return QDir(lib).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }
  QTemporaryDir tmp;
  QString lib;
};

TEST_F(Package, CheckPackageIdentifiesAndSizes) {
  const QByteArray records = PackageRecord("a", 0, "x");
  const QByteArray good = BuildPackage(records);
  const QString path = write(good);
  EXPECT_EQ(CheckPackage(path), good.size() - records.size());

  auto values = [](auto change) {
    VersionValues s;
    change(s);
    return s;
  };
  const QString p = tmp.filePath("p.exe");
  const std::string noSize = "Plik: " + p.toStdString() + "\rBrak informacji o rozmiarze paczki !";
  const struct {
    const char* what;
    QByteArray file;
    std::string error;
  } cases[] = {
      {"another description", BuildPackage({}, values([](VersionValues& s) { s.description = "Przeglądarka Zorela 2002"; })),
       "Plik: " + p.toStdString() + "\rTo nie jest paczka z wydrukami Zorela !"},
      {"no Rozmiar", fixtures::BuildPe({}), noSize},
      {"Rozmiar 0", BuildPackage({}, values([](VersionValues& s) { s.rozmiar = "0"; })), noSize},
      {"Rozmiar negative", BuildPackage({}, values([](VersionValues& s) { s.rozmiar = "-20"; })), noSize},
      {"Rozmiar abc", BuildPackage({}, values([](VersionValues& s) { s.rozmiar = "abc"; })),
       "'abc' is not a valid integer value"},
      {"no translation", BuildPackage({}, values([](VersionValues& s) { s.translation = false; })),
       "Brak informacji o wersji językowej\r(plik: " + p.toStdString() + ")"},
      {"a printout", writer::wrapBody("x"), "Niedostępna informacja o wersji\r(plik: " + p.toStdString() + ")"},
  };
  for (const auto& c : cases) {
    WriteFile(p, c.file);
    try {
      CheckPackage(p);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const std::exception& e) {
      EXPECT_EQ(e.what(), c.error) << c.what;
    }
  }
}

TEST_F(Package, RecordLengthForms) {
  const QByteArray n253(253, 'n'), n254(254, 'm');
  const struct {
    QByteArray name;
    int form;
    int headerSize;
  } cases[] = {{n253, 0, 1}, {n254, 0, 3}, {"krótki", 5, 5}, {"", 0, 1}, {"a", 3, 3}};
  for (const auto& c : cases) {
    const QByteArray bytes = PackageRecord(c.name, kTime, "dane", c.form) + PackageRecord("next", 0, "");
    MemoryStream stream(bytes);
    const TPackageRecord r = ReadPackageRecord(stream);
    EXPECT_EQ(r.Name, c.name);
    EXPECT_EQ(r.Time, kTime);
    EXPECT_EQ(r.Size, 4);
    EXPECT_EQ(stream.position(), 4 + c.headerSize + c.name.size() + 8);
    stream.seek(stream.position() + r.Size);
    EXPECT_EQ(ReadPackageRecord(stream).Name, "next");
  }
}

TEST_F(Package, ExtractsEveryRecord) {
  Recorder r;
  const QByteArray wyd = writer::wrapBody("treść");
  const QByteArray records = PackageRecord("Faktura \xb9", kTime, wyd) + PackageRecord("", 0, "pusta nazwa") +
                             PackageRecord("zero", 0, "") + PackageRecord(QByteArray(253, 'n'), 0, "za długa") +
                             PackageRecord("ostatni", 0, "koniec", 5);
  ASSERT_EQ(extract(records, r), "");
  EXPECT_EQ(ReadFile(lib + QStringLiteral("Faktura ą.WYD")), wyd);  // code page 1250
  EXPECT_EQ(ReadFile(lib + "bez nazwy.WYD"), "pusta nazwa");
  EXPECT_EQ(QFileInfo(lib + "zero.WYD").size(), 0);
  EXPECT_EQ(ReadFile(lib + "ostatni.WYD"), "koniec");
  ASSERT_EQ(r.refused.size(), 1);  // 253 bytes + ".WYD" is more than a file name holds here
  EXPECT_TRUE(r.refused[0].endsWith("nazwa jest za długa !"));
  EXPECT_EQ(libraryFiles().size(), 4);
  EXPECT_EQ(QFileInfo(lib + QStringLiteral("Faktura ą.WYD")).lastModified(),
            QDateTime(QDate(2003, 4, 5), QTime(6, 7, 8)));
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_LT(QFileInfo(lib + "zero.WYD").lastModified().secsTo(now), 3600);  // time stamp 0: left alone
}

TEST_F(Package, NamesThatWouldLeaveTheLibraryAreRefused) {
  Recorder r;
  const QByteArray records = PackageRecord("../poza", 0, "1") + PackageRecord("pod/katalog", 0, "2") +
                             PackageRecord("a\\b", 0, "3") + PackageRecord("..", 0, "4") +
                             PackageRecord("dzwonek\x07", 0, "5") + PackageRecord("nowa\nlinia", 0, "6") +
                             PackageRecord("/etc/passwd", 0, "7") + PackageRecord("dobry", 0, "8");
  ASSERT_EQ(extract(records, r), "");
  EXPECT_EQ(r.refused.size(), 7);
  EXPECT_EQ(libraryFiles(), QStringList{"dobry.WYD"});
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"paczka.exe"});
  EXPECT_TRUE(r.refused[4].contains("\"dzwonek?\""));  // shown without the control character
  for (const QString& m : r.refused) EXPECT_TRUE(m.startsWith("Plik: " + tmp.filePath("paczka.exe") + "\rPominięto wydruk"));
}

// Names that would make hidden files, never shown in the list, get visible
// ones; two records meeting under one name are asked about as usual.
TEST_F(Package, NamesThatWouldBeHiddenBecomeVisible) {
  Recorder r;
  const QByteArray records =
      PackageRecord("", 0, "pusta") + PackageRecord(".", 0, "kropka") + PackageRecord(".ukryty", 0, "ukryty");
  ASSERT_EQ(extract(records, r), "");
  EXPECT_TRUE(r.refused.isEmpty());
  EXPECT_EQ(r.asked, QStringList{lib + "bez nazwy.WYD"});
  EXPECT_EQ(libraryFiles(), (QStringList{"bez nazwy.WYD", "ukryty.WYD"}));
  EXPECT_EQ(ReadFile(lib + "bez nazwy.WYD"), "pusta");
  EXPECT_EQ(ReadFile(lib + "ukryty.WYD"), "ukryty");
}

// A dangling link, a link to a file outside and a link to a directory,
// planted under printout names by another user of the library: each is
// asked about, and "Tak" replaces the link itself; nothing outside changes.
TEST_F(Package, LinksUnderPrintoutNamesAreNeverFollowed) {
  const QString outside = tmp.path() + "/outside/";
  QDir().mkpath(outside + "katalog");
  WriteFile(outside + "cudzy", "cudzy");
  const QDateTime before = QFileInfo(outside + "cudzy").lastModified();
  for (const auto& [target, name] : {std::pair{"nowy", "a.WYD"}, {"cudzy", "b.WYD"}, {"katalog", "c.WYD"}})
    ASSERT_TRUE(QFile::link(outside + target, lib + name));
  const QByteArray records = PackageRecord("a", kTime, "A") + PackageRecord("b", kTime, "B") +
                             PackageRecord("c", kTime, "C");
  for (const QList<bool>& answers : {QList<bool>{}, QList<bool>{false, true, true}}) {
    Recorder r;
    r.answers = answers;
    ASSERT_EQ(extract(records, r), "");
    EXPECT_EQ(r.asked, (QStringList{lib + "a.WYD", lib + "b.WYD", lib + "c.WYD"}));
    EXPECT_FALSE(QFileInfo::exists(outside + "nowy"));
    EXPECT_EQ(ReadFile(outside + "cudzy"), "cudzy");
    EXPECT_EQ(QFileInfo(outside + "cudzy").lastModified(), before);
    EXPECT_TRUE(QDir(outside + "katalog").isEmpty());
    EXPECT_TRUE(QFileInfo(lib + "a.WYD").isSymLink());
  }
  EXPECT_EQ(ReadFile(lib + "b.WYD"), "B");
  EXPECT_EQ(ReadFile(lib + "c.WYD"), "C");
  EXPECT_FALSE(QFileInfo(lib + "b.WYD").isSymLink() || QFileInfo(lib + "c.WYD").isSymLink());
}

TEST_F(Package, OverwriteAnswers) {
  // The existing printout has a lower-case extension: it is the one asked
  // about and replaced, so no second file differing only in case appears.
  WriteFile(lib + "a.wyd", "stary a");
  WriteFile(lib + "b.WYD", "stary b");
  const QByteArray records = PackageRecord("a", kTime, "nowy a") + PackageRecord("b", 0, "nowy b") +
                             PackageRecord("c", 0, "nowy c");
  Recorder keep;
  ASSERT_EQ(extract(records, keep), "");
  EXPECT_EQ(keep.asked, (QStringList{lib + "a.wyd", lib + "b.WYD"}));
  EXPECT_EQ(ReadFile(lib + "a.wyd"), "stary a");
  EXPECT_EQ(ReadFile(lib + "c.WYD"), "nowy c");  // the record after a kept one is read right

  Recorder replace;
  replace.answers = {true, false};
  ASSERT_EQ(extract(records, replace), "");
  EXPECT_EQ(ReadFile(lib + "a.wyd"), "nowy a");
  EXPECT_EQ(ReadFile(lib + "b.WYD"), "stary b");
  EXPECT_EQ(libraryFiles(), (QStringList{"a.wyd", "b.WYD", "c.WYD"}));
  EXPECT_EQ(replace.kept, (QStringList{lib + "b.WYD", lib + "c.WYD"}));  // c came with the first run
}

TEST_F(Package, DamagedRecordsKeepWhatWasWritten) {
  const QString p = tmp.filePath("paczka.exe");
  const QByteArray first = PackageRecord("pierwszy", 0, "ok");
  const struct {
    const char* what;
    QByteArray tail;
    const char* shown;
  } cases[] = {
      {"size beyond the end", PackageRecord("drugi", 0, "abc", 0, 1000), " (wydruk \"drugi\")"},
      {"negative size", PackageRecord("drugi", 0, "abc", 0, -1), " (wydruk \"drugi\")"},
      {"huge size", PackageRecord("drugi", 0, "abc", 0, 0x7FFFFFFF), " (wydruk \"drugi\")"},
      {"ends inside the header", PackageRecord("drugi", 0, "").left(9), ""},
      {"name length beyond the end", QByteArray(4, '\0') + "\xff\xff\xff\xff\x7f", ""},
  };
  for (const auto& c : cases) {
    QDir(lib).removeRecursively();
    QDir().mkpath(lib);
    Recorder r;
    EXPECT_EQ(extract(first + c.tail, r),
              "Plik: " + p.toStdString() + "\rPaczka z wydrukami jest uszkodzona" + c.shown + " !")
        << c.what;
    EXPECT_EQ(libraryFiles(), QStringList{"pierwszy.WYD"}) << c.what;
  }
}

TEST_F(Package, FileAcceptable) {
  const QByteArray wyd = writer::wrapBody("x");
  VersionValues abc;
  abc.rozmiar = "abc";
  const struct {
    const char* name;
    QByteArray bytes;
    bool accepted;
  } cases[] = {
      {"a.Wyd", wyd, true},
      {"b.WYD", wyd, true},
      {"c.wyd", "ZOREL2001", false},  // too short
      {"d.wyd", "not a printout at all", false},
      {"e.txt", wyd, false},
      {"P.exe", BuildPackage(PackageRecord("a", 0, "x")), true},
      {"q.RUN", BuildPackage(PackageRecord("a", 0, "x")), true},
      {"pusta.exe", BuildPackage({}), false},
      {"abc.exe", BuildPackage(PackageRecord("a", 0, "x"), abc), false},
      {"program.exe", fixtures::BuildPe({}), false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileAcceptable(write(c.bytes, c.name)), c.accepted) << c.name;
  EXPECT_FALSE(FileAcceptable(tmp.filePath("brak.wyd")));
}

}  // namespace
}  // namespace zorpokaz
