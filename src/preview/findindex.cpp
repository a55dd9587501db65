#include "preview/findindex.h"

#include "platform/gfx/pageimage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace zorpokaz {

namespace {

char16_t foldOne(char16_t c) {
  if (QChar::isSurrogate(c)) return c;
  char16_t f = QChar::toCaseFolded(c);
  switch (f) {
    case u'ł':
      return u'l';
    case u'đ':
      return u'd';
    case u'ø':
      return u'o';
    case u'\u00A0':
      return u' ';
    default:
      break;
  }
  // The base letter of a composed one (ą ć ę ń ó ś ź ż and the rest of Latin).
  for (int depth = 0; depth < 3 && QChar::decompositionTag(f) == QChar::Canonical; ++depth) {
    const QString d = QChar::decomposition(f);
    if (d.isEmpty() || d[0].isSurrogate()) break;
    f = d[0].unicode();
  }
  return f;
}

const std::array<char16_t, 0x10000>& foldTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<char16_t, 0x10000>>();
    for (size_t c = 0; c < t->size(); ++c) (*t)[c] = foldOne(static_cast<char16_t>(c));
    return t;
  }();
  return *table;
}

int countIn(const char* begin, const char* end, const QByteArray& needle) {
  if (needle.isEmpty()) return 0;
  const size_t n = static_cast<size_t>(needle.size());
  int count = 0;
  const char* p = begin;
  while (static_cast<size_t>(end - p) >= n) {
    const void* hit = memmem(p, static_cast<size_t>(end - p), needle.constData(), n);
    if (!hit) break;
    ++count;
    p = static_cast<const char*>(hit) + n;
  }
  return count;
}

}  // namespace

char16_t FoldForSearch(char16_t c) { return foldTable()[c]; }

QString FoldForSearch(QString text) {
  const auto& table = foldTable();
  for (QChar& c : text) c = QChar(table[c.unicode()]);
  return text;
}

void FindIndex::addPage(const PageImage& page) {
  const auto& table = foldTable();
  const std::vector<TextRunRef> runs = PageTextRunRefs(page);
  size_t need = 0;
  for (const TextRunRef& run : runs) need += static_cast<size_t>(run.len8) + 1;
  // Grown by a quarter at a time rather than doubled: on a long printout the
  // buffer is the larger part of the index.
  if (m_text.size() + need > m_text.capacity())
    m_text.reserve(std::max(m_text.size() + need, m_text.capacity() + m_text.capacity() / 4));
  for (const TextRunRef& run : runs) {
    const char* bytes = run.utf8;
    const bool ascii = std::all_of(bytes, bytes + run.len8, [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    if (ascii) {
      // Most runs (dates, numbers, amounts) need no decoding at all.
      for (int i = 0; i < run.len8; ++i) m_text += static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
    } else {
      m_text += FoldForSearch(QString::fromUtf8(bytes, run.len8)).toStdString();
    }
    m_text += '\n';
  }
  m_pageStart.push_back(m_text.size());
}

int FindIndex::countOnPage(int index, const QByteArray& needle) const {
  if (index < 0 || index >= pageCount()) return 0;
  const char* base = m_text.data();
  return countIn(base + m_pageStart[static_cast<size_t>(index)], base + m_pageStart[static_cast<size_t>(index) + 1],
                 needle);
}

FindResult::FindResult(const QString& query)
    : m_query(query), m_folded(FoldForSearch(query)), m_needle(m_folded.toUtf8()) {
  // A pasted line break could never match: lines end there.
  m_folded.remove(QLatin1Char('\n'));
  m_needle = m_folded.toUtf8();
}

void FindResult::update(const FindIndex& index, const FindResult* narrower) {
  const bool narrows = narrower && !narrower->isEmpty() && m_folded.contains(narrower->m_folded);
  for (int page = pagesSearched(); page < index.pageCount(); ++page) {
    const bool skip = narrows && page < narrower->pagesSearched() && narrower->countOnPage(page) == 0;
    const int count = skip ? 0 : index.countOnPage(page, m_needle);
    m_counts.push_back(count);
    m_before.push_back(m_before.back() + count);
  }
}

int FindResult::countOnPage(int page) const {
  return page >= 0 && page < pagesSearched() ? m_counts[static_cast<size_t>(page)] : 0;
}

FindResult::Hit FindResult::locate(int64_t k) const {
  if (k < 0 || k >= total()) return {};
  // The last page whose matches before it are at most k, and that holds some.
  const auto it = std::upper_bound(m_before.begin(), m_before.end(), k);
  const int page = static_cast<int>(it - m_before.begin()) - 1;
  return {page, static_cast<int>(k - m_before[static_cast<size_t>(page)])};
}

int64_t FindResult::firstFrom(int page) const {
  page = std::clamp(page, 0, pagesSearched());
  return m_before[static_cast<size_t>(page)];
}

std::vector<RunMatch> MatchesInRuns(const std::vector<TextRun>& runs, const QString& foldedQuery) {
  std::vector<RunMatch> out;
  if (foldedQuery.isEmpty()) return out;
  for (size_t r = 0; r < runs.size(); ++r) {
    const QString folded = FoldForSearch(runs[r].text);
    for (qsizetype at = folded.indexOf(foldedQuery); at >= 0; at = folded.indexOf(foldedQuery, at + foldedQuery.size()))
      out.push_back({static_cast<int>(r), static_cast<int>(at), static_cast<int>(at + foldedQuery.size())});
  }
  return out;
}

}  // namespace zorpokaz
