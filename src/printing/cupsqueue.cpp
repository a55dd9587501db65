#include "printing/cupsqueue.h"

#include <cups/cups.h>

#include <QFile>
#include <QUrl>

#include <vector>

#include "platform/errors.h"

namespace zorpokaz {

namespace {

QString optionOf(const cups_dest_t& dest, const char* name) {
  return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

}  // namespace

int SubmitToCups(const QString& queue, const QString& file, const QString& title,
                 const CupsOptions& options) {
  cups_option_t* list = nullptr;
  int count = 0;
  for (const auto& [name, value] : options)
    count = cupsAddOption(name.constData(), value.constData(), count, &list);
  const QByteArray dest = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  const int job = cupsPrintFile(dest.constData(), QFile::encodeName(file).constData(),
                                title.toUtf8().constData(), count, list);
  cupsFreeOptions(count, list);
  if (job <= 0) {
    const char* why = cupsLastErrorString();
    throw Error(QStringLiteral("Drukarka %1 nie przyjęła wydruku:\r%2")
                    .arg(queue, QString::fromUtf8(why && *why ? why : "?"))
                    .toStdString());
  }
  return job;
}

bool CupsQueueExists(const QString& queue) {
  const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
  cupsFreeDests(dest ? 1 : 0, dest);
  return dest != nullptr;
}

std::map<QString, QString> CupsQueuePorts() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  std::map<QString, QString> ports;
  for (int i = 0; i < count; ++i) {
    QString name = QString::fromUtf8(dests[i].name);
    if (dests[i].instance)
      name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
    QString uri = optionOf(dests[i], "device-uri");
    if (uri.isEmpty())
      uri = optionOf(dests[i], "printer-uri-supported");
    ports[name] = PortOf(uri, optionOf(dests[i], "printer-location"));
  }
  cupsFreeDests(count, dests);
  return ports;
}

QString PortOf(const QString& deviceUri, const QString& location) {
  if (deviceUri.isEmpty())
    return location.simplified();
  // A URI can carry the credentials of a network printer; the list is shown
  // to every user and its entry is stored in the settings. The rest stays as
  // it is written (a USB URI names the make where a host would be).
  QString uri = deviceUri;
  const qsizetype start = uri.indexOf(QStringLiteral("://"));
  if (start >= 0) {
    const qsizetype authority = start + 3;
    qsizetype end = uri.indexOf(QLatin1Char('/'), authority);
    if (end < 0)
      end = uri.size();
    const qsizetype at = uri.lastIndexOf(QLatin1Char('@'), end - 1);
    if (at >= authority)
      uri.remove(authority, at + 1 - authority);
  }
  return QUrl::fromPercentEncoding(uri.toUtf8()).simplified();
}

}  // namespace zorpokaz
