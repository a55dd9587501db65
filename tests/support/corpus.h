// Hostile printouts kept in tests/corpus: small files that once cost the
// reader or the layout far more memory or time than their content could
// need. Made here by the writer, so the committed files can be checked
// against (and remade from) this code.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace zorpokaz::writer {

struct CorpusFile {
  QString fileName;  // inside tests/corpus
  QByteArray body;  // uncompressed; the file is wrapBody(body)
};

std::vector<CorpusFile> makeCorpus();

}  // namespace zorpokaz::writer
