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
    for (std::uint32_t id : m_recent) {
      const QByteArray& known = m_entries[id].name;
      if (known.size() == name.size() && std::equal(name.begin(), name.end(), known.constBegin())) return id;
    }
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
  std::uint32_t internSlow(QByteArrayView name);
  static TStyl* findStyle(const QByteArray& name, const TStyle& styles);

  std::vector<Entry> m_entries;
  QHash<QByteArray, std::uint32_t> m_index;
  std::array<std::uint32_t, 4> m_recent{};
  std::size_t m_nextRecent = 0;
};

}  // namespace zorpokaz
