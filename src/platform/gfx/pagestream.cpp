#include "platform/gfx/pagestream.h"

#include "platform/codepage.h"

#include <QString>

#include <memory>
#include <mutex>
#include <utility>

namespace zorpokaz::pagestream {

void readText(Reader& r, uint64_t tag, const std::vector<uint32_t>& flagWords, DecodedText& t) {
  const bool oneLine = tag >= kTextLine;
  if (oneLine) {
    const uint64_t f = tag - kTextLine;
    t.flags = f < flagWords.size() ? flagWords[f] : 0;
  } else {
    t.flags = static_cast<unsigned>(r.u());
  }
  t.font = toInt(static_cast<int64_t>(r.u()));
  t.color = toInt(static_cast<int64_t>(r.u()));
  // One value per statement: the stream order must be the reading order.
  const int64_t left = r.s();
  const int64_t top = oneLine ? r.lastTop + r.s() : r.s();
  const int64_t width = r.s();
  const int64_t height = r.s();
  r.lastTop = top;
  t.rect = {toInt(left), toInt(top), toInt(left + width), toInt(top + height)};
  t.utf8 = r.bytes(r.u(), &t.len8);
  t.lines.clear();
  if (oneLine) {
    DecodedLine l{};
    l.utf8 = t.utf8;
    l.len8 = t.len8;
    l.x = toInt(left + r.s());
    l.baseline = toInt(top + r.s());
    t.lines.push_back(l);
    return;
  }
  const uint64_t count = r.u();
  for (uint64_t k = 0; k < count && !r.atEnd(); ++k) {
    DecodedLine l{};
    const uint64_t head = r.u();
    const uint64_t len8 = head >> 2;
    if (head & 1) {
      l.utf8 = r.bytes(len8, &l.len8);
    } else {
      const uint64_t start = std::min<uint64_t>(r.u(), static_cast<uint64_t>(t.len8));
      l.utf8 = t.utf8 + start;
      l.len8 = static_cast<int>(std::min<uint64_t>(len8, static_cast<uint64_t>(t.len8) - start));
    }
    const int64_t x = left + r.s();
    l.x = toInt(x);
    l.baseline = toInt(top + r.s());
    if (head & 2) {
      l.underlineX = toInt(x + r.s());
      l.underlineWidth = toInt(static_cast<int64_t>(r.u()));
    }
    t.lines.push_back(l);
  }
}

const Utf8Table& utf8Table(int codePage) {
  static std::mutex mutex;
  static std::vector<std::pair<int, std::unique_ptr<Utf8Table>>> tables;
  std::lock_guard lock(mutex);
  for (const auto& [page, table] : tables)
    if (page == codePage) return *table;
  auto table = std::make_unique<Utf8Table>();
  for (int b = 0; b < 256; ++b) {
    const QByteArray utf8 = QString(codePageChar(codePage, static_cast<unsigned char>(b))).toUtf8();
    table->length[b] = static_cast<uint8_t>(utf8.size());
    std::memcpy(table->bytes[b], utf8.constData(), static_cast<size_t>(utf8.size()));
  }
  tables.emplace_back(codePage, std::move(table));
  return *tables.back().second;
}

int utf8Length(QStringView s) {
  int n = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if (c < 0x80)
      n += 1;
    else if (c < 0x800)
      n += 2;
    else if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
      n += 4;
      ++i;
    } else
      n += 3;
  }
  return n;
}

}  // namespace zorpokaz::pagestream
