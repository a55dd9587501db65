#include "document/stylenames.h"

#include "document/tstyle.h"

namespace zorpokaz {

StyleNames::StyleNames() { clear(); }

void StyleNames::clear() {
  m_entries.clear();
  m_index.clear();
  // A field that was never read names the default style.
  m_entries.push_back({QByteArray(TStyle::kDefaultStyleName), nullptr, false});
  m_index.insert(m_entries[0].name, 0);
  m_recent.fill(Recent{});
  m_nextRecent = 0;
}

std::uint32_t StyleNames::internSlow(QByteArrayView name) {
  const QByteArray key = name.toByteArray();
  auto it = m_index.constFind(key);
  std::uint32_t id;
  if (it != m_index.constEnd()) {
    id = *it;
  } else {
    id = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back({key, nullptr, key == "LOGO"});
    m_index.insert(key, id);
  }
  const QByteArray& known = m_entries[id].name;
  m_recent[m_nextRecent] = {known.constData(), known.size(), id};
  m_nextRecent = (m_nextRecent + 1) % m_recent.size();
  return id;
}

TStyl* StyleNames::findStyle(const QByteArray& name, const TStyle& styles) { return styles.FindByName(name); }

}  // namespace zorpokaz
