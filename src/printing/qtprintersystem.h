// QtPrinterSystem: the printers of this machine through Qt (CUPS): the list
// from QPrinterInfo, one QPrinter as the current printer, Qt's print dialog as
// the driver's settings dialog, and a QPrinterTarget over that printer.
//
// Qt shows no port (device URI) for a printer, so the entries are the queue
// names alone.
#pragma once

#include <QPrinter>

#include "printing/printersystem.h"
#include "printing/qprintertarget.h"

namespace zorpokaz {

class QtPrinterSystem : public PrinterSystem {
 public:
  QtPrinterSystem();

  std::vector<InstalledPrinter> Printers() override;
  int CurrentIndex() override;
  void Select(int index) override;
  void ApplyColorSetting(bool colour) override;
  bool ShowProperties(QWidget* parent, bool colour, bool& monochrome) override;
  PrintTarget& Target() override { return m_target; }

 private:
  QPrinter m_printer;
  QPrinterTarget m_target;
};

}  // namespace zorpokaz
