// Malformed printout files, each pinned to the exact message the reader gives,
// read the way the program reads files: open, check, inflate, read records.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "support/emfbuilder.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;

const std::string kNotAPrintout = "Plik nie zawiera prawidłowego wydruku Zorela";

std::string marker(int n) { return "Błąd czytania z pliku [" + std::to_string(n) + "]"; }

// One style, a root block with a child, a picture field.
WPrintout base(int version = 6) {
  WPrintout p;
  p.version = static_cast<std::uint8_t>(version);
  WStyle s;
  s.name = "Normalny";
  p.styles = {s};
  WField pic = textField(0, 0, "", "Normalny", 6);
  pic.picture = makeEmf(4000, 2000);
  p.root.intro = group({line({textField(120, 2400, "Tytuł", "Normalny")})});
  p.root.heading = group({line({textField(120, 600, "Lp.")})});
  WBlock child;
  child.intro = group({line({textField(120, 600, "1."), textField(720, 1800, "pozycja")}), line({pic})});
  child.name = "POZ";
  p.root.children = {child};
  p.root.closing = group({line({textField(120, 600, "koniec")})});
  return p;
}

class ReaderErrors : public ::testing::Test {
 protected:
  // Reads `bytes` from a real file; the message of the error, or "".
  std::string load(const QByteArray& bytes) {
    const QString name = m_dir.filePath("t.wyd");
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return "test file not writable";
    f.write(bytes);
    f.close();
    return loadFile(name);
  }
  static std::string loadFile(const QString& name) {
    TMLineWydruk content;
    try {
      OpenedBody opened = OpenBody(name);
      content.LoadFromStream(*opened.Body);
    } catch (const Error& e) {
      return e.what();
    }
    return {};
  }
  QTemporaryDir m_dir;
};

TEST_F(ReaderErrors, FileHeader) {
  struct Case {
    const char* what;
    FileOptions options;
    std::string message;
  };
  auto opts = [](QByteArray sig, QByteArray type, int form = 0) {
    FileOptions o;
    o.signature = std::move(sig);
    o.typeName = std::move(type);
    o.typeNameForm = form;
    return o;
  };
  const Case cases[] = {
      {"ZOREL2001", opts("ZOREL2001", "Wydruk"), ""},
      {"ZOREL2000 accepted", opts("ZOREL2000", "Wydruk"), ""},
      {"type name as 254 string", opts("ZOREL2001", "Wydruk", 254), ""},
      {"type name as 255 string", opts("ZOREL2001", "Wydruk", 255), ""},
      {"wrong signature", opts("ZOREL1999", "Wydruk"), kNotAPrintout},
      {"lower-case signature", opts("zorel2001", "Wydruk"), kNotAPrintout},
      {"WYDRUK", opts("ZOREL2001", "WYDRUK"), kNotAPrintout},
      {"wydruk", opts("ZOREL2001", "wydruk"), kNotAPrintout},
      {"package type", opts("ZOREL2001", "Paczka"), kNotAPrintout},
  };
  for (const Case& c : cases) EXPECT_EQ(load(writePrintout(base(), {}, c.options)), c.message) << c.what;
}

TEST_F(ReaderErrors, ShortOrMissingFiles) {
  const QByteArray good = writePrintout(base());
  EXPECT_EQ(load(good.left(5)), "Stream read error");
  EXPECT_EQ(load(QByteArray()), "Stream read error");
  EXPECT_EQ(load(good.left(12)), "Stream read error");  // inside the type name
  const QString missing = m_dir.filePath("brak.wyd");
  EXPECT_EQ(loadFile(missing), "Cannot open file " + missing.toStdString());
}

TEST_F(ReaderErrors, RecordMarkers) {
  struct Case {
    const char* what;
    int version;
    MarkerPatch patch;
    std::string message;
  };
  const Case cases[] = {
      {"style starts with 2", 6, {1, 0, 2}, marker(1)},
      {"root block marker", 6, {3, 0, 4}, marker(3)},
      {"child block marker", 6, {3, 1, 0}, marker(3)},
      {"marker before child count", 6, {12, 0, 13}, marker(12)},
      {"nested marker before child count", 6, {12, 1, 3}, marker(12)},
      {"marker 15 missing in version 2", 2, {15, 0, 14}, marker(15)},
      {"marker 15 of the child", 6, {15, 0, 0}, marker(15)},
      {"line group", 6, {4, 3, 5}, marker(4)},
      {"line", 6, {5, 2, 4}, marker(5)},
      {"field", 6, {6, 1, 5}, marker(6)},
      {"body string marker 100", 6, {101, 0, 100}, marker(101)},
      {"body string marker 103 in a field", 6, {101, 7, 103}, marker(101)},
  };
  for (const Case& c : cases) {
    BodyOptions o;
    o.markers = {c.patch};
    EXPECT_EQ(load(writePrintout(base(c.version), o)), c.message) << c.what;
  }
  // Version 1 has no marker 15: the same patch finds nothing to break.
  BodyOptions o;
  o.markers = {{15, 0, 14}};
  EXPECT_EQ(load(writePrintout(base(1), o)), "");
}

TEST_F(ReaderErrors, Versions) {
  for (int v = 0; v <= 6; ++v) EXPECT_EQ(load(writePrintout(base(v))), "") << v;
  WPrintout p = base();
  for (int v : {7, 8, 100, 255}) {
    p.version = static_cast<std::uint8_t>(v);
    EXPECT_EQ(load(writePrintout(p)), "Błąd odczytu - nieznana wersja pliku [" + std::to_string(v) + "]");
  }
}

TEST_F(ReaderErrors, CorruptCompressedData) {
  FileOptions header;  // zlib header byte: caught on the first read
  header.corruptCompressedAt = 0;
  EXPECT_EQ(load(writePrintout(base(), {}, header)), "error");
  // Only the Adler-32 at the very end: the inflater checks it as it
  // delivers the last body byte.
  FileOptions checksum;
  const QByteArray body = writeBody(base());
  checksum.corruptCompressedAt = compressBody(body).size() - 1;
  EXPECT_EQ(load(wrapBody(body, checksum)), "error");
  // Garbage after the end of the zlib stream is never looked at.
  EXPECT_EQ(load(writePrintout(base()) + "garbage"), "");
}

// A zlib stream whose data is good for the first `good` bytes of `body` and
// damaged right after them: one stored block, then a block header whose
// lengths disagree.
QByteArray damagedAfter(const QByteArray& body, int good) {
  BodyBuilder z;
  z.u8(0x78).u8(0x01).u8(0x00).u16(static_cast<std::uint16_t>(good)).u16(static_cast<std::uint16_t>(~good));
  z.bytes(body.left(good)).u8(0x01).u16(10).u16(10);
  return "ZOREL2001" + headerString("Wydruk") + z.data();
}

// The read that reaches damaged data fails, as a read of the inflater does:
// with the inflater's "error", or inside a body string with the string's own
// error; nothing before the damage fails.
TEST_F(ReaderErrors, DamageFailsTheReadThatReachesIt) {
  WPrintout p = base();
  p.root.intro = group({line({textField(120, 2400, "ZNACZNIK", "Normalny")})});
  const QByteArray body = writeBody(p);
  // The field record: marker, X, Width, six bytes, style name, text.
  const int text = static_cast<int>(body.indexOf("ZNACZNIK")) - 2;
  const int name = text - 2 - 8;
  const int field = name - 6 - 8 - 1;
  ASSERT_EQ(body[field], char(6));
  struct Case {
    const char* what;
    int good;
    std::string message;
  } cases[] = {
      {"the line's field count", field, "error"},
      {"the field's marker", field + 1, "error"},
      {"inside X", field + 3, "error"},
      {"the last of the six bytes", name, "error"},
      {"the style name's marker", name + 1, marker(101)},
      {"inside the style name", name + 5, marker(101)},
      {"the style name's last byte", text, marker(101)},
      {"inside the text", text + 6, marker(101)},
      {"the text's last byte", text + 10, marker(101)},
      {"the next record's marker", text + 11, "error"},
      {"the body's last byte", static_cast<int>(body.size()), "error"},
  };
  // Each case names the last good byte.
  for (const Case& c : cases) EXPECT_EQ(load(damagedAfter(body, c.good)), c.message) << c.what;
}

TEST_F(ReaderErrors, Pictures) {
  struct Case {
    const char* what;
    std::function<void(QByteArray&)> damage;
    std::string message;
  };
  const Case cases[] = {
      {"valid", [](QByteArray&) {}, ""},
      {"signature", [](QByteArray& e) { e[40] = 'X'; }, "Metafile is not valid"},
      {"size below the header", [](QByteArray& e) { patchUInt32(e, kEmfTotalSizeOffset, 99); },
       "Metafile is not valid"},
      {"size larger than the body", [](QByteArray& e) { patchUInt32(e, kEmfTotalSizeOffset, 0xFFFFFFF0u); },
       "Stream read error"},
      {"header cut short", [](QByteArray& e) { e.truncate(60); }, "Stream read error"},
  };
  for (const Case& c : cases) {
    WPrintout p = base();
    WField& pic = p.root.children[0].intro.lines[1].fields[0];
    c.damage(pic.picture);
    BodyOptions o;
    if (c.message == "Stream read error") {
      // The picture is the last thing read before the data ends.
      const QByteArray whole = writeBody(p);
      o.truncateAt = whole.indexOf(pic.picture) + pic.picture.size();
    }
    EXPECT_EQ(load(writePrintout(p, o)), c.message) << c.what;
  }
}

TEST_F(ReaderErrors, TruncatedFiles) {
  // Stored (level 0) compression: file offset = 9 + 7 (type name) + 2 (zlib
  // header) + 5 (block header) + body offset.
  const QByteArray body = writeBody(base());
  const qsizetype start = 9 + 7 + 2 + 5;
  const qsizetype titleAt = body.indexOf("Tytu");
  const qsizetype secondLine = body.indexOf(QByteArray("\x05\x00\x01\x06", 4), titleAt);
  struct Case {
    const char* what;
    qsizetype bodyBytes;
    std::string message;
  };
  const Case cases[] = {
      {"no body at all", 0, marker(3)},
      {"inside the header", 6, marker(3)},
      {"inside a field's text", titleAt + 2, marker(101)},
      {"before a field marker", secondLine + 3, marker(6)},
      {"before the last byte (NewPageBefore of the root)", body.size() - 1, marker(3)},
      {"complete", body.size(), ""},
  };
  for (const Case& c : cases) {
    FileOptions o;
    o.zlibLevel = 0;
    o.truncateFileAt = start + c.bodyBytes;
    EXPECT_EQ(load(wrapBody(body, o)), c.message) << c.what;
  }
  // A deflated file cut anywhere in its compressed data never loads.
  const QByteArray deflated = writePrintout(base());
  for (qsizetype cut = 16; cut < deflated.size() - 4; cut += 7)
    EXPECT_NE(load(deflated.left(cut)), "") << cut;
}

}  // namespace
}  // namespace zorpokaz
