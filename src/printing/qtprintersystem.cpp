#include "printing/qtprintersystem.h"

#include <QPrintDialog>
#include <QPrinterInfo>

#include "printing/eprintdlgerror.h"

namespace zorpokaz {

QtPrinterSystem::QtPrinterSystem() : m_printer(QPrinter::HighResolution), m_target(m_printer) {}

std::vector<InstalledPrinter> QtPrinterSystem::Printers() {
  std::vector<InstalledPrinter> list;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
    list.push_back({info.printerName(), QString()});
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
  if (index >= 0 && index < names.size() && names[index] != m_printer.printerName())
    m_printer.setPrinterName(names[index]);
}

void QtPrinterSystem::ApplyColorSetting(bool colour) {
  if (!m_printer.isValid())
    throw EPrintDlgError("Błąd przy pobieraniu ustawień drukarki !");
  if (colour)
    m_printer.setColorMode(QPrinter::Color);
}

bool QtPrinterSystem::ShowProperties(QWidget* parent, bool colour, bool& monochrome) {
  const QString chosen = m_printer.printerName();
  if (colour)
    m_printer.setColorMode(QPrinter::Color);
  QPrintDialog dialog(&m_printer, parent);
  dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
  if (dialog.exec() != QDialog::Accepted)
    return false;
  monochrome = m_printer.colorMode() == QPrinter::GrayScale;
  // The printer is chosen in the list of our own dialog, not in this one.
  if (m_printer.printerName() != chosen) {
    m_printer.setPrinterName(chosen);
    m_printer.setColorMode(monochrome ? QPrinter::GrayScale : QPrinter::Color);
  }
  return true;
}

}  // namespace zorpokaz
