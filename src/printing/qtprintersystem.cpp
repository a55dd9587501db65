#include "printing/qtprintersystem.h"

#include <cups/cups.h>
#include <cups/pwg.h>

#include <QPageSize>
#include <QPrinterInfo>

#include "printing/cupsqueue.h"
#include "sheets/eprintdlgerror.h"
#include "printing/twlasciwoscidrukarki.h"

namespace zorpokaz {

QtPrinterSystem::QtPrinterSystem() : m_printer(QPrinter::HighResolution), m_target(m_printer) {}

std::vector<InstalledPrinter> QtPrinterSystem::Printers() {
  const std::map<QString, QString> ports = CupsQueuePorts();
  std::vector<InstalledPrinter> list;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    const auto port = ports.find(name);
    list.push_back({name, port == ports.end() ? QString() : port->second});
  }
  return list;
}

int QtPrinterSystem::CurrentIndex() {
  const QStringList names = QPrinterInfo::availablePrinterNames();
  int index = static_cast<int>(names.indexOf(m_printer.printerName()));
  if (index < 0)
    index = static_cast<int>(names.indexOf(QPrinterInfo::defaultPrinterName()));
  if (index < 0 && !names.isEmpty())
    index = 0;
  return index;
}

void QtPrinterSystem::Select(int index) {
  const QStringList names = QPrinterInfo::availablePrinterNames();
  if (index >= 0 && index < names.size() && names[index] != m_printer.printerName()) {
    m_printer.setPrinterName(names[index]);
    m_record.clear();
  }
}

void QtPrinterSystem::ApplyColorSetting(bool colour) {
  // The queue may have been deleted since the list was read.
  if (!m_printer.isValid() || !CupsQueueExists(m_printer.printerName()))
    throw EPrintDlgError("Błąd przy pobieraniu ustawień drukarki !");
  if (colour)
    m_record[kColourOption] = "color";
  applyRecord();
}

bool QtPrinterSystem::ShowProperties(QWidget* parent, bool colour, bool& monochrome) {
  const QString queue = m_printer.printerName();
  PrinterSettingsRecord given = m_record;
  if (colour)
    given[kColourOption] = "color";
  TWlasciwosciDrukarki dialog(queue, ReadPrinterOptions(queue), given, parent);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  m_record = dialog.Record();
  monochrome = IsMonochrome(m_record);
  applyRecord();
  return true;
}

// The record's paper becomes the page the job is laid out on, and every
// option goes with each job.
void QtPrinterSystem::applyRecord() {
  const auto media = m_record.find("media");
  if (media != m_record.end()) {
    if (const pwg_media_t* pwg = pwgMediaForPWG(media->second.constData())) {
      const QPageSize size(QSizeF(pwg->width / 100.0, pwg->length / 100.0), QPageSize::Millimeter,
                           QString(), QPageSize::FuzzyMatch);
      m_printer.setPageSize(size);
    }
  }
  m_printer.setColorMode(IsMonochrome(m_record) || m_record.count(kColourOption) == 0
                             ? QPrinter::GrayScale
                             : QPrinter::Color);
  CupsOptions options;
  for (const auto& [name, value] : m_record)
    options.append({name, value});
  m_target.setJobOptions(options);
}

}  // namespace zorpokaz
