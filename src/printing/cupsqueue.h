// Handing a finished document to a CUPS queue. Qt's own CUPS engine submits a
// job the moment its painter ends and cannot take it back, so a document that
// has to be abandoned (a declined question, a cancel, an error half way) would
// still reach the paper. The print target therefore spools into a file of its
// own and submits it here only when the document ends normally.
//
// libcups is opened at run time (it is what Qt's CUPS support links anyway),
// so the build needs no CUPS development files.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace zorpokaz {

using CupsOptions = QList<QPair<QByteArray, QByteArray>>;

// Prints `file` on `queue` (a CUPS destination name, an instance after "/" is
// dropped) with the job title shown in the queue; returns the job id. Throws
// Error with CUPS's own message when the job is refused or CUPS is missing.
int SubmitToCups(const QString& queue, const QString& file, const QString& title,
                 const CupsOptions& options);

}  // namespace zorpokaz
