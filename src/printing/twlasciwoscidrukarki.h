// TWlasciwosciDrukarki: the printer's own settings for one queue, behind the
// print dialog's "Wł&aściwości..." — one list per option of the queue
// (PrinterOptionGroup), each showing the value of the settings record it was
// given, or the queue's default. OK hands back the new record; Anuluj leaves
// the given one as it was.
//
// The record it returns holds the colour field always and every other option
// whose choice differs from the queue's default.
#pragma once

#include <QDialog>

#include <vector>

#include "printing/printeroptions.h"

class QComboBox;

namespace zorpokaz {

class TWlasciwosciDrukarki : public QDialog {
  Q_OBJECT

 public:
  TWlasciwosciDrukarki(const QString& queue, std::vector<PrinterOptionGroup> groups,
                       const PrinterSettingsRecord& record, QWidget* parent = nullptr);

  PrinterSettingsRecord Record() const;

  // The list of one option (its object name is the keyword), for tests.
  QComboBox* list(const QByteArray& keyword) const;

 private:
  QWidget* buildGroups(const PrinterSettingsRecord& record);

  std::vector<PrinterOptionGroup> m_groups;
  std::vector<std::pair<const PrinterOption*, QComboBox*>> m_lists;
};

}  // namespace zorpokaz
