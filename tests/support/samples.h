// The sample printouts shipped in samples/, described as writer models so the
// committed files can be checked against (and remade from) this code.
#pragma once

#include <QString>
#include <vector>

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

struct Sample {
  QString fileName;  // inside samples/
  WPrintout printout;
};

std::vector<Sample> makeSamples();

// Text in the code page of a font character set (unmappable characters -> '?').
QByteArray encodeText(const QString& text, int charset);

// Stored units (1200 per inch) of a length in millimetres.
std::int32_t mmUnits(double mm);

}  // namespace zorpokaz::writer
