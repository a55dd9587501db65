// The style names the fields of a printout refer to, each held once: a field
// keeps the number of its name, and the style a name finds (TStyle::FindByName)
// is looked up once per name rather than once per field. Names are raw bytes
// as stored. Owned by the content; cleared with it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zorpokaz {

class TStyl;
class TStyle;

class StyleNames {
 public:
  StyleNames();

  // The number of `name`, adding it when new. Fields repeat a few names over
  // and over: the last ones used are compared first.
  std::uint32_t intern(QByteArrayView name) {
    for (const Recent& r : m_recent)
      if (r.size == name.size() && sameBytes(r.data, name.data(), r.size)) return r.id;
    return internSlow(name);
  }

  const QByteArray& name(std::uint32_t id) const { return m_entries[id].name; }
  // "LOGO", the name whose fields are centred in their line (case-sensitive).
  bool isLogo(std::uint32_t id) const { return m_entries[id].logo; }
  // The style the name finds in `styles`, looked up on first use.
  TStyl* style(std::uint32_t id, const TStyle& styles) {
    Entry& e = m_entries[id];
    if (!e.style) e.style = findStyle(e.name, styles);
    return e.style;
  }
  std::size_t count() const { return m_entries.size(); }

  // Forgets every name but the default style's name (number 0).
  void clear();

 private:
  struct Entry {
    QByteArray name;
    TStyl* style = nullptr;
    bool logo = false;
  };
  // A name used lately: its bytes (those of its entry, which never change).
  struct Recent {
    const char* data = nullptr;
    qsizetype size = -1;
    std::uint32_t id = 0;
  };
  static bool sameBytes(const char* a, const char* b, qsizetype n) {
    if (n >= 8 && n <= 16) {
      // Two overlapping words cover a name of 8 to 16 bytes.
      std::uint64_t a0, a1, b0, b1;
      std::memcpy(&a0, a, 8);
      std::memcpy(&b0, b, 8);
      std::memcpy(&a1, a + n - 8, 8);
      std::memcpy(&b1, b + n - 8, 8);
      return a0 == b0 && a1 == b1;
    }
    return n == 0 || std::memcmp(a, b, static_cast<size_t>(n)) == 0;
  }
  std::uint32_t internSlow(QByteArrayView name);
  static TStyl* findStyle(const QByteArray& name, const TStyle& styles);

  std::vector<Entry> m_entries;
  QHash<QByteArray, std::uint32_t> m_index;
  std::array<Recent, 4> m_recent{};
  std::size_t m_nextRecent = 0;
};

}  // namespace zorpokaz
