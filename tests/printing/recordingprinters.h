// A printer system for dialog tests: fixed printers, no properties window,
// and every print recorded by a RecordingTarget over the given pages.
#pragma once

#include <utility>
#include <vector>

#include "printing/printersystem.h"
#include "printing/recordingtarget.h"

namespace zorpokaz::testing {

class RecordingPrinters : public PrinterSystem {
 public:
  explicit RecordingPrinters(const PageImageList& pages = {},
                             std::vector<InstalledPrinter> printers = {{"Laser", ""}})
      : m_target(pages), m_printers(std::move(printers)) {}
  std::vector<InstalledPrinter> Printers() override { return m_printers; }
  int CurrentIndex() override { return 0; }
  void Select(int) override {}
  void ApplyColorSetting(bool) override {}
  bool ShowProperties(QWidget*, bool, bool&) override { return false; }
  PrintTarget& Target() override { return m_target; }

  RecordingTarget m_target;

 private:
  std::vector<InstalledPrinter> m_printers;
};

}  // namespace zorpokaz::testing
