// PrinterSystem: the installed printers as the print dialog sees them — the
// list (device name and port), the current printer (the system's default until
// one is chosen; it stays chosen for the life of the process), its colour
// setting, the driver's own settings dialog, and the current printer as a
// print target. QtPrinterSystem is the real one over QPrinterInfo/QPrinter;
// tests install their own with SetPrinterSystem.
//
// The system object is process-wide and owns its printer and target.
#pragma once

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace zorpokaz {

class PrintTarget;

struct InstalledPrinter {
  QString device;
  QString port;  // empty when the printer has none to show
};

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;

  virtual std::vector<InstalledPrinter> Printers() = 0;
  // Index into Printers() of the current printer; -1 with no printer.
  virtual int CurrentIndex() = 0;
  virtual void Select(int index) = 0;
  // The colour field of the current printer's settings: set to colour when
  // the box is ticked, otherwise the printer's own value stays. Throws
  // EPrintDlgError "Błąd przy pobieraniu ustawień drukarki !" when the printer
  // has no settings to give.
  virtual void ApplyColorSetting(bool colour) = 0;
  // The driver's settings dialog over the current settings, with colour chosen
  // when `colour`; true after OK, and `monochrome` tells what the user left.
  // Cancelled, nothing changes.
  virtual bool ShowProperties(QWidget* parent, bool colour, bool& monochrome) = 0;
  virtual PrintTarget& Target() = 0;
};

// The process's printer system: QtPrinterSystem unless one was installed.
PrinterSystem& ThePrinterSystem();
// Installs a replacement (nullptr restores the real one); returns the old one.
std::unique_ptr<PrinterSystem> SetPrinterSystem(std::unique_ptr<PrinterSystem> system);

// The printer list's entry: the device name, or "device  [port]" (two spaces)
// when there is a port; each part at most 80 characters, as the system reads
// them.
QString PrinterEntry(const InstalledPrinter& printer);

struct PrinterListing {
  std::vector<QString> entries;
  int choice = -1;  // the remembered printer when it is listed, else the current one
};

// FillPrinterList: entries for every printer; the remembered name chooses its
// entry when it matches one exactly (case-sensitive), else `current` stays.
PrinterListing ListPrinters(const std::vector<InstalledPrinter>& printers, int current,
                            const QString& remembered);

}  // namespace zorpokaz
