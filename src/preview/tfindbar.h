// TFindBar: the preview's find bar. A field ("Znajdź"), previous and next
// buttons, the match count ("3 z 17") and a close button. Typing searches the
// laid-out text of every page made so far, regardless of letter case and
// diacritics; the view goes to the first match from the page in view on, and
// every match on the sheets drawn is marked. Next and previous wrap round.
//
// The index (FindIndex) is built once, on the first opening, and grows with
// every page the viewer gains afterwards; long catch-ups run in slices so the
// window stays responsive. Owns the index and the current result; borrows the
// viewer, whose marks it supplies while open.
#pragma once

#include "preview/findindex.h"
#include "preview/temfviewer.h"

#include <QWidget>

#include <map>

class QLabel;
class QLineEdit;
class QToolButton;

namespace zorpokaz {

class TEmfViewer;

class TFindBar : public QWidget {
  Q_OBJECT

 public:
  TFindBar(TEmfViewer* viewer, QWidget* parent);

  // Shows the bar with the focus in its field, the text selected.
  void Open();
  // Hides it, drops the marks and gives the focus back to the viewer.
  void Close();
  bool IsOpen() const { return isVisible(); }
  void FindNext();
  void FindPrevious();

  // "3 z 17", "Nie znaleziono" or nothing.
  QString CountText() const;
  int64_t Current() const { return m_current; }
  const FindResult& Result() const { return m_result; }
  int IndexedPages() const { return m_index.pageCount(); }

  QLineEdit* edZnajdz() const { return m_field; }
  QToolButton* btnNastepny() const { return m_next; }
  QToolButton* btnPoprzedni() const { return m_previous; }
  QToolButton* btnZamknij() const { return m_close; }
  QLabel* lblIle() const { return m_count; }

 private:
  void queryChanged(const QString& text);
  void pagesChanged();
  void catchUp();
  void step(int delta);
  void showCurrent();
  void updateCount();
  std::vector<TEmfViewer::Mark> marksOn(int page);
  const std::vector<TextRun>& runsOf(int page);

  TEmfViewer* m_viewer;
  QLineEdit* m_field;
  QToolButton* m_previous;
  QToolButton* m_next;
  QLabel* m_count;
  QToolButton* m_close;

  FindIndex m_index;
  FindResult m_result;
  int64_t m_current = -1;
  bool m_indexing = false;    // the index follows the viewer's pages
  bool m_sliceQueued = false;
  // Runs of the few pages marks were last drawn on.
  std::map<int, std::vector<TextRun>> m_runs;
};

}  // namespace zorpokaz
