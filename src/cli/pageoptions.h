// Option parsing shared by the commands that lay a printout out.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "document/twydruk.h"
#include "sheets/pageset.h"

namespace zorpokaz::cli {

// Takes "--name VALUE" out of args (UsageError when VALUE is missing);
// returns the default when the option is absent.
QString takeOption(QStringList& args, const QString& name, const QString& fallback = {});
bool takeFlag(QStringList& args, const QString& name);
// A whole number in [min, max] or UsageError naming the option.
int parseInt(const QString& text, const QString& option, int min, int max);

// Every page, or the pages of a set in the print dialog's syntax
// ("5-10, 12, 15"); a wrong set is a UsageError with the dialog's message.
PageList choosePages(const QString& pageSet, int pageCount);

// Loads and lays out FILE at dpi; reading errors propagate unchanged.
std::unique_ptr<TWydruk> buildPrintout(const QString& file, int dpi);

}  // namespace zorpokaz::cli
