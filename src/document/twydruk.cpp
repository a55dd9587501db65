#include "document/twydruk.h"

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"

namespace zorpokaz {

TWydruk::TWydruk() : m_tekst(std::make_unique<TMLineWydruk>()) {
  m_tekst->OnLineDone = [this](TLinie&) { lineDone(); };
  m_tekst->OnPageDone = [this](TMLineWydruk&, const PageImage& page) { pageDone(page); };
}

TWydruk::~TWydruk() = default;

void TWydruk::setResolution(int dpi) { m_tekst->Resolution = dpi; }

void TWydruk::LoadFromFile(const QString& fileName) {
  // The names change only once the file has proved to be a printout.
  OpenedBody body = OpenBody(fileName);
  m_tytul = fileName;
  m_sciezka = fileName;
  const qsizetype sep = std::max(fileName.lastIndexOf(QLatin1Char('\\')),
                                 std::max(fileName.lastIndexOf(QLatin1Char(':')), fileName.lastIndexOf(QLatin1Char('/'))));
  QString name = fileName.mid(sep + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  m_nazwa = name;
  m_tekst->LoadFromStream(*body.Body);
}

void TWydruk::BuildPages() {
  m_building = true;
  m_abortRequested = false;
  m_tekst->Aborted = false;
  try {
    m_tekst->Build();
  } catch (...) {
    m_building = false;
    throw;
  }
  m_building = false;
}

void TWydruk::AbortBuild() {
  m_abortRequested = true;
  m_tekst->Aborted = true;
}

void TWydruk::lineDone() {
  if (!OnProgress) return;
  const int total = m_tekst->LinesTotal;
  const int percent = total > 0 ? static_cast<int>(static_cast<long long>(m_tekst->LinesDone) * 100 / total) : 0;
  OnProgress(*this, m_building, percent);
}

void TWydruk::pageDone(const PageImage& page) {
  if (OnNextPage) OnNextPage(*this, page);
}

}  // namespace zorpokaz
