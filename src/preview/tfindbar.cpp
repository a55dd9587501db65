#include "preview/tfindbar.h"

#include "platform/gfx/pageimage.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

namespace zorpokaz {

namespace {

// One slice of indexing between two looks at the event queue.
constexpr int kSliceMs = 30;
// Marks are drawn on the few sheets in view; their runs are kept for these.
constexpr size_t kRunsKept = 8;

QToolButton* barButton(QWidget* parent, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setText(text);
  b->setToolTip(hint);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoRaise(true);
  return b;
}

}  // namespace

TFindBar::TFindBar(TEmfViewer* viewer, QWidget* parent) : QWidget(parent), m_viewer(viewer) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 2, 4, 2);
  row->setSpacing(4);
  auto* label = new QLabel(QStringLiteral("&Znajdź"), this);
  m_field = new QLineEdit(this);
  m_field->setObjectName(QStringLiteral("edZnajdz"));
  m_field->setMinimumWidth(120);
  m_field->setMaximumWidth(260);
  m_field->setClearButtonEnabled(true);
  label->setBuddy(m_field);
  m_previous = barButton(this, QStringLiteral("▲"), QStringLiteral("Shift+F3 - Poprzednie wystąpienie"));
  m_next = barButton(this, QStringLiteral("▼"), QStringLiteral("F3, Enter - Następne wystąpienie"));
  m_count = new QLabel(this);
  m_count->setMinimumWidth(90);
  m_close = barButton(this, QStringLiteral("✕"), QStringLiteral("Esc - Zamknięcie wyszukiwania"));
  row->addWidget(label);
  row->addWidget(m_field, 1);
  row->addWidget(m_previous);
  row->addWidget(m_next);
  row->addWidget(m_count);
  row->addStretch(1);
  row->addWidget(m_close);

  connect(m_field, &QLineEdit::textChanged, this, &TFindBar::queryChanged);
  connect(m_previous, &QToolButton::clicked, this, &TFindBar::FindPrevious);
  connect(m_next, &QToolButton::clicked, this, &TFindBar::FindNext);
  connect(m_close, &QToolButton::clicked, this, &TFindBar::Close);
  connect(m_viewer, &TEmfViewer::OnChange, this, &TFindBar::pagesChanged);
  hide();
}

void TFindBar::Open() {
  show();
  m_field->setFocus(Qt::ShortcutFocusReason);
  m_field->selectAll();
  if (!m_indexing) {
    m_indexing = true;
    catchUp();
  }
  m_viewer->setMarkSource([this](int page) { return marksOn(page); });
}

void TFindBar::Close() {
  hide();
  m_viewer->setMarkSource({});
  m_viewer->setFocus(Qt::OtherFocusReason);
}

void TFindBar::pagesChanged() {
  if (!m_indexing) return;
  if (m_viewer->PageCount() < m_index.pageCount()) {
    // The page list was emptied: everything indexed belongs to other pages.
    m_index = FindIndex();
    m_result = FindResult(m_result.query());
    m_current = -1;
    m_runs.clear();
  }
  if (!m_sliceQueued) {
    m_sliceQueued = true;
    QTimer::singleShot(0, this, [this] {
      m_sliceQueued = false;
      catchUp();
    });
  }
}

void TFindBar::catchUp() {
  QElapsedTimer slice;
  slice.start();
  while (m_index.pageCount() < m_viewer->PageCount() && slice.elapsed() < kSliceMs)
    m_index.addPage(m_viewer->Page(m_index.pageCount()));
  const bool hadMatch = m_result.total() > 0;
  m_result.update(m_index);
  // A query typed before its first match was made goes there when it comes.
  if (!hadMatch && m_result.total() > 0 && m_current < 0) {
    m_current = 0;
    showCurrent();
  }
  updateCount();
  if (m_index.pageCount() < m_viewer->PageCount()) pagesChanged();
}

void TFindBar::queryChanged(const QString& text) {
  FindResult next(text);
  next.update(m_index, &m_result);
  m_result = std::move(next);
  m_current = -1;
  if (m_result.total() > 0) {
    // From the page in view on, round to the start when nothing follows.
    const int64_t from = m_result.firstFrom(m_viewer->PageNr() - 1);
    m_current = from < m_result.total() ? from : 0;
    showCurrent();
  }
  updateCount();
  m_viewer->update();
}

void TFindBar::FindNext() { step(+1); }
void TFindBar::FindPrevious() { step(-1); }

void TFindBar::step(int delta) {
  const int64_t total = m_result.total();
  if (total == 0) return;
  m_current = m_current < 0 ? 0 : ((m_current + delta) % total + total) % total;
  showCurrent();
  updateCount();
}

void TFindBar::showCurrent() {
  const FindResult::Hit hit = m_result.locate(m_current);
  if (hit.page < 0) return;
  const std::vector<TextRun>& runs = runsOf(hit.page);
  const std::vector<RunMatch> matches = MatchesInRuns(runs, m_result.foldedQuery());
  if (hit.nth < static_cast<int>(matches.size())) {
    const RunMatch& m = matches[static_cast<size_t>(hit.nth)];
    const TextRun& run = runs[static_cast<size_t>(m.run)];
    const int left = run.x + run.advance(0, m.from);
    m_viewer->ScrollIntoView(hit.page, QRectF(left, run.top(), run.advance(m.from, m.to), run.bottom() - run.top()));
  }
  m_viewer->update();
}

QString TFindBar::CountText() const {
  if (m_result.isEmpty()) return {};
  if (m_result.total() == 0) return QStringLiteral("Nie znaleziono");
  return QStringLiteral("%1 z %2").arg(m_current + 1).arg(m_result.total());
}

void TFindBar::updateCount() {
  m_count->setText(CountText());
  m_previous->setEnabled(m_result.total() > 0);
  m_next->setEnabled(m_result.total() > 0);
}

const std::vector<TextRun>& TFindBar::runsOf(int page) {
  auto it = m_runs.find(page);
  if (it != m_runs.end()) return it->second;
  if (m_runs.size() >= kRunsKept) m_runs.clear();
  return m_runs[page] = PageTextRuns(m_viewer->Page(page));
}

std::vector<TEmfViewer::Mark> TFindBar::marksOn(int page) {
  std::vector<TEmfViewer::Mark> marks;
  if (!isVisible() || m_result.countOnPage(page) == 0) return marks;
  const FindResult::Hit current = m_result.locate(m_current);
  const std::vector<TextRun>& runs = runsOf(page);
  int nth = 0;
  for (const RunMatch& m : MatchesInRuns(runs, m_result.foldedQuery())) {
    const TextRun& run = runs[static_cast<size_t>(m.run)];
    const QRectF rect(run.x + run.advance(0, m.from), run.top(), run.advance(m.from, m.to), run.bottom() - run.top());
    marks.push_back({rect, current.page == page && current.nth == nth});
    ++nth;
  }
  return marks;
}

}  // namespace zorpokaz
