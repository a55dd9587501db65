// The style list of a printout. Owns its styles. Item 0 is always the built-in
// default style "Domyslny", created with the list; styles read from a file
// follow as items 1, 2, ...
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "document/tstyl.h"

namespace zorpokaz {

class TStyle {
 public:
  static constexpr char kDefaultStyleName[] = "Domyslny";

  explicit TStyle(TMLineWydruk* owner);
  ~TStyle();
  TStyle(const TStyle&) = delete;
  TStyle& operator=(const TStyle&) = delete;

  // Reads an int32 count and that many Style records, appending each (none
  // when the count is 0 or negative).
  void LoadFromStream(BodyReader& reader);

  int Count() const { return static_cast<int>(m_items.size()); }
  TStyl* Item(int index) const { return m_items.at(index).get(); }
  TStyl* Default() const { return m_items.front().get(); }

  // The first of items 1.. whose Name or Alias equals `name` without regard to
  // letter case (upper-casing in the user's code page, 1250); item 0 when none.
  // Looked up in an index of the names, so a field costs the same whatever
  // the number or length of the names (Name and Alias change only through
  // LoadFromStream and DefineStyle).
  TStyl* FindByName(QByteArrayView name) const;

  // Finds the style by name among items 1.. (no fallback) or appends a new one,
  // then applies colour, characters per line (recomputing the cell), font style
  // and typeface through the setters and sets Name.
  TStyl* DefineStyle(const QByteArray& name, std::uint32_t color, const QByteArray& fontName,
                     std::uint8_t fontStyle, std::int32_t charsPerLine);

  void MarkAllDirty();   // items 1..
  void ClearAllDirty();  // items 1..
  void Clear();          // frees items 1.., keeps item 0 unchanged

 private:
  TStyl* findFileStyle(QByteArrayView name) const;

  TMLineWydruk* m_owner;
  std::vector<std::unique_ptr<TStyl>> m_items;
  // Upper-cased Name and Alias of items 1.. -> the first item that has it.
  mutable QHash<QString, TStyl*> m_index;
  mutable bool m_indexStale = true;
};

}  // namespace zorpokaz
