#include "printing/printersystem.h"

#include "printing/qtprintersystem.h"

namespace zorpokaz {

namespace {

std::unique_ptr<PrinterSystem>& installed() {
  static std::unique_ptr<PrinterSystem> system;
  return system;
}

}  // namespace

PrinterSystem& ThePrinterSystem() {
  auto& system = installed();
  if (!system)
    system = std::make_unique<QtPrinterSystem>();
  return *system;
}

std::unique_ptr<PrinterSystem> SetPrinterSystem(std::unique_ptr<PrinterSystem> system) {
  std::unique_ptr<PrinterSystem> old = std::move(installed());
  installed() = std::move(system);
  return old;
}

QString PrinterEntry(const InstalledPrinter& printer) {
  const QString device = printer.device.left(80);
  const QString port = printer.port.left(80);
  return port.isEmpty() ? device : QStringLiteral("%1  [%2]").arg(device, port);
}

PrinterListing ListPrinters(const std::vector<InstalledPrinter>& printers, int current,
                            const QString& remembered) {
  PrinterListing listing;
  listing.choice = current;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    listing.entries.push_back(PrinterEntry(printers[i]));
    if (!remembered.isEmpty() && remembered == listing.entries.back())
      listing.choice = static_cast<int>(i);
  }
  return listing;
}

}  // namespace zorpokaz
