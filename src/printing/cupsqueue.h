// The CUPS queues of this machine as the printer system needs them: whether a
// queue still exists, what tells its device apart in the printer list, and
// handing a finished document to it.
//
// Qt's own CUPS engine submits a job the moment its painter ends and cannot
// take it back, so a document that has to be abandoned (a declined question,
// a cancel, an error half way) would still reach the paper. The print target
// therefore spools into a file of its own and submits it here only when the
// document ends normally.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <map>

namespace zorpokaz {

using CupsOptions = QList<QPair<QByteArray, QByteArray>>;

// Prints `file` on `queue` (a CUPS destination name, an instance after "/" is
// dropped) with the job title shown in the queue; returns the job id. Throws
// Error naming the queue, with CUPS's own reason, when the job is refused.
int SubmitToCups(const QString& queue, const QString& file, const QString& title,
                 const CupsOptions& options);

// Asks the scheduler now, not a list read earlier: a queue can be deleted
// while the print dialog is open.
bool CupsQueueExists(const QString& queue);

// The port of every queue the scheduler lists, by queue name (see PortOf).
std::map<QString, QString> CupsQueuePorts();

// What the printer list shows in brackets after a queue's name: its device
// URI, readable (percent-escapes decoded) and without any user name or
// password written into it; the location when there is no URI; else empty.
QString PortOf(const QString& deviceUri, const QString& location);

}  // namespace zorpokaz
