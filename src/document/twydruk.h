// TWydruk: the printout document the rest of the program uses. It owns the
// content (TMLineWydruk), which owns the finished page images; a receiver of
// OnNextPage that keeps a page beyond the next build or the document's life
// takes its own copy. Single-threaded: callbacks run inside BuildPages.
#pragma once

#include <functional>
#include <memory>
#include <QString>

namespace zorpokaz {

class PageImage;
class TMLineWydruk;

class TWydruk {
 public:
  // (Sender, drukowanie, postep): postep is a percentage 0..100.
  using TWydrukProgress = std::function<void(TWydruk& sender, bool drukowanie, int postep)>;
  // (Sender, Page): the page is owned by the content.
  using TWydrukNextPage = std::function<void(TWydruk& sender, const PageImage& page)>;

  TWydruk();
  ~TWydruk();
  TWydruk(const TWydruk&) = delete;
  TWydruk& operator=(const TWydruk&) = delete;

  // Reads the file into the content; every reading error propagates unchanged.
  void LoadFromFile(const QString& fileName);
  // Lays the content out, reporting progress after every line and handing over
  // every page as soon as it is finished.
  void BuildPages();
  // Asks a running BuildPages to stop after the current line.
  void AbortBuild();

  TMLineWydruk& Tekst() { return *m_tekst; }
  const QString& Tytul() const { return m_tytul; }
  const QString& WczytanyPlikNazwa() const { return m_nazwa; }
  const QString& WczytanyPlikSciezka() const { return m_sciezka; }
  bool AbortRequested() const { return m_abortRequested; }
  bool Building() const { return m_building; }

  // Resolution R (pixels per inch) the pages are laid out for.
  void setResolution(int dpi);

  TWydrukProgress OnProgress;
  TWydrukNextPage OnNextPage;

 private:
  void lineDone();
  void pageDone(const PageImage& page);

  std::unique_ptr<TMLineWydruk> m_tekst;
  QString m_tytul;
  QString m_nazwa = QStringLiteral("WYDRUK");
  QString m_sciezka;
  bool m_building = false;
  bool m_abortRequested = false;
};

}  // namespace zorpokaz
