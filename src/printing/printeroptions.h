// A CUPS queue's own settings, as its properties dialog offers them: the
// standard ones every queue answers for (paper size, source and type, print
// quality, colour, the device's duplex) and the options of its driver (PPD)
// that the standard ones do not already cover. Each option is a CUPS job
// option keyword with the values the queue accepts.
//
// The settings record is what the person chose there: option keyword ->
// value, handed to every job on that queue.
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace zorpokaz {

using PrinterSettingsRecord = std::map<QByteArray, QByteArray>;

// The record's colour field.
inline constexpr char kColourOption[] = "print-color-mode";

struct PrinterChoice {
  QByteArray value;
  QString text;
};

struct PrinterOption {
  QByteArray keyword;
  QString text;
  std::vector<PrinterChoice> choices;
  QByteArray defaultValue;
};

struct PrinterOptionGroup {
  QString title;
  std::vector<PrinterOption> options;
};

// The options of `queue` with more than one value to choose from, grouped.
// Throws Error when the scheduler cannot tell (the queue is gone).
std::vector<PrinterOptionGroup> ReadPrinterOptions(const QString& queue);

// True when the record's colour field says black and white.
bool IsMonochrome(const PrinterSettingsRecord& record);

// Polish texts of the standard options and of their well-known values;
// empty when there is none (the queue's own wording is used then).
QString StandardOptionText(const QByteArray& keyword);
QString StandardValueText(const QByteArray& keyword, const QByteArray& value);
// A paper by its PWG (or legacy) name: "A4 (210 × 297 mm)"; the name itself
// when CUPS does not know it.
QString PaperText(const QByteArray& media);

}  // namespace zorpokaz
