// Test-side printout writer: plain model structs -> .wyd bytes, for every body
// version 0..6, with ways to damage any part of the file (markers, counts,
// strings, truncation, signature, type name, compressed data). Values are
// written as given: positions in stored units, texts as raw bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>
#include <vector>

namespace zorpokaz::writer {

struct WStyle {
  std::uint32_t color = 0;
  float charHeight = 3.5f;
  std::int32_t charsPerLine = 132;
  float charWidth = 210.0f / 132;
  std::uint8_t fontStyle = 0;
  std::int32_t reserved = -1;
  std::int32_t charset = 238;  // written from version 3
  QByteArray fontName = "Courier New";
  QByteArray name;
  QByteArray alias;
};

struct WField {
  std::int32_t x = 0;      // stored units
  std::int32_t width = 0;  // stored units
  std::uint8_t kind = 0;
  std::uint8_t align = 0;
  bool bottomSingleLine = false;  // written from version 6
  bool endEllipsis = false;       // written from version 6
  bool noWrap = false;
  std::uint8_t ruleStyle = 0;
  QByteArray styleName = "Domyslny";
  QByteArray text;
  QByteArray picture;  // whole EMF image; written for kind 6 from version 4
};

struct WLine {
  bool skipWhenRepeated = false;
  std::vector<WField> fields;
  std::optional<std::uint8_t> countOverride;  // field count written instead
};

struct WGroup {
  bool splittable = false;
  bool breakBefore = false;
  std::vector<WLine> lines;
  std::optional<std::int32_t> countOverride;
};

struct WBlock {
  WGroup intro;
  WGroup heading;
  std::vector<WBlock> children;
  WGroup reserved;
  WGroup closing;
  QByteArray name;             // written from version 2
  bool newPageBefore = false;  // written from version 2
  std::optional<std::int32_t> childCountOverride;
};

struct WPrintout {
  std::uint8_t version = 6;
  std::int32_t units = 1200;  // written from version 5
  float lineSpacing = 0.0f;
  std::int32_t reservedInt = 0;
  std::uint8_t reservedByte = 0;
  std::int32_t linesPerPage = 84;  // written from version 2
  std::vector<WStyle> styles;
  std::optional<std::int32_t> styleCountOverride;
  WBlock root;
};

// Replaces the n-th (0-based) written occurrence of a record marker (body
// string markers 101/102 included).
struct MarkerPatch {
  std::uint8_t marker;
  int occurrence;
  std::uint8_t value;
};

struct BodyOptions {
  std::vector<MarkerPatch> markers;
  bool longStrings = false;  // every body string with marker 102
  std::optional<qsizetype> truncateAt;  // cut the uncompressed body
};

struct FileOptions {
  QByteArray signature = "ZOREL2001";
  QByteArray typeName = "Wydruk";
  int typeNameForm = 0;  // 0: length byte; 254 or 255: the long forms
  int zlibLevel = 9;
  std::optional<qsizetype> corruptCompressedAt;  // flips the byte there
  std::optional<qsizetype> truncateFileAt;       // cuts the whole file
};

// Little-endian byte sink for hand-made bodies.
class BodyBuilder {
 public:
  BodyBuilder& u8(std::uint8_t v);
  BodyBuilder& u16(std::uint16_t v);
  BodyBuilder& i32(std::int32_t v);
  BodyBuilder& f32(float v);
  BodyBuilder& bytes(QByteArrayView v);
  // Body string: 101 + byte length, or 102 + uint16 length when `longForm` or
  // the text is longer than 255.
  BodyBuilder& str(QByteArrayView v, bool longForm = false);
  const QByteArray& data() const { return m_data; }

 private:
  QByteArray m_data;
};

QByteArray writeBody(const WPrintout& printout, const BodyOptions& options = {});
QByteArray headerString(QByteArrayView text, int form = 0);
QByteArray compressBody(const QByteArray& body, int level = 9);
// Signature + type name + compressed body.
QByteArray wrapBody(const QByteArray& body, const FileOptions& options = {});
QByteArray writePrintout(const WPrintout& printout, const BodyOptions& bodyOptions = {},
                         const FileOptions& fileOptions = {});

// Building blocks.
WField textField(std::int32_t x, std::int32_t width, QByteArray text,
                 QByteArray style = "Domyslny", std::uint8_t kind = 0);
WLine line(std::vector<WField> fields);
WGroup group(std::vector<WLine> lines, bool splittable = false);

}  // namespace zorpokaz::writer
