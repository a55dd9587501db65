#include "document/tstyle.h"

#include "document/bodyreader.h"
#include <algorithm>

#include "platform/codepage.h"

namespace zorpokaz {

namespace {

// Names compare as the user's code page upper-cases them, one character at a
// time (no expansions such as "ß" -> "SS").
constexpr int kUserCodePage = 1250;

// Two names are the same name when their keys are equal.
QString nameKey(QByteArrayView name) {
  QString key(name.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < name.size(); ++i)
    key[i] = codePageChar(kUserCodePage, static_cast<unsigned char>(name[i])).toUpper();
  return key;
}

}  // namespace

TStyle::TStyle(TMLineWydruk* owner) : m_owner(owner) {
  DefineStyle(kDefaultStyleName, 0, "Courier New", 0, 132);
}

TStyle::~TStyle() = default;

void TStyle::LoadFromStream(BodyReader& reader) {
  std::int32_t count = 0;
  reader.read(count);
  // Items are read one by one; a count larger than the data fails at the first
  // missing marker without anything being reserved for it.
  for (std::int32_t i = 0; i < count; ++i) {
    reader.countStyle();
    auto style = std::make_unique<TStyl>(m_owner);
    style->LoadFromStream(reader);
    m_items.push_back(std::move(style));
    m_indexStale = true;
  }
}

TStyl* TStyle::findFileStyle(QByteArrayView name) const {
  if (m_indexStale) {
    // In list order, name before alias: a key keeps the first style that has it.
    m_index.clear();
    for (std::size_t i = 1; i < m_items.size(); ++i) {
      TStyl* style = m_items[i].get();
      for (const QByteArray& n : {style->Name, style->Alias}) {
        const QString key = nameKey(n);
        if (!m_index.contains(key)) m_index.insert(key, style);
      }
    }
    m_indexStale = false;
  }
  return m_index.value(nameKey(name), nullptr);
}

TStyl* TStyle::FindByName(QByteArrayView name) const {
  TStyl* style = findFileStyle(name);
  return style ? style : Default();
}

TStyl* TStyle::DefineStyle(const QByteArray& name, std::uint32_t color, const QByteArray& fontName,
                           std::uint8_t fontStyle, std::int32_t charsPerLine) {
  TStyl* style = findFileStyle(name);
  std::unique_ptr<TStyl> created;
  if (!style) {
    created = std::make_unique<TStyl>(m_owner);
    style = created.get();
  }
  style->SetColor(color);
  style->SetCharsPerLine(charsPerLine, true);
  style->SetFontStyle(fontStyle);
  style->SetFontName(fontName);
  style->Name = name;
  if (created) m_items.push_back(std::move(created));
  m_indexStale = true;
  return style;
}

void TStyle::MarkAllDirty() {
  for (std::size_t i = 1; i < m_items.size(); ++i) m_items[i]->Dirty = true;
}

void TStyle::ClearAllDirty() {
  for (std::size_t i = 1; i < m_items.size(); ++i) m_items[i]->Dirty = false;
}

void TStyle::Clear() {
  m_items.resize(std::min<std::size_t>(m_items.size(), 1));
  m_indexStale = true;
}

}  // namespace zorpokaz
