// QtPrinterSystem: the printers of this machine through Qt and CUPS: the list
// from QPrinterInfo with each queue's device URI as its port, one QPrinter as
// the current printer, the queue's own options (TWlasciwosciDrukarki) as the
// driver's settings dialog, and a QPrinterTarget over that printer.
//
// The settings record belongs to the current printer: choosing another one
// starts from that printer's defaults. It owns the printer, the target and
// the record.
#pragma once

#include <QPrinter>

#include "printing/printeroptions.h"
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

  // The current printer's settings record.
  const PrinterSettingsRecord& Record() const { return m_record; }

 private:
  void applyRecord();

  QPrinter m_printer;
  QPrinterTarget m_target;
  PrinterSettingsRecord m_record;
};

}  // namespace zorpokaz
