// The application's default error report: what an error that no window
// handles itself ends in. A message box titled "ZorPokaz" with the error's
// text; the user's stop (EAbort) is never reported. The report can be
// replaced, so that tests and headless runs see the text instead of a window.
#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace zorpokaz {

using AppErrorReport = std::function<void(const QString& message)>;

void ShowAppError(const QString& message);
// Reports any exception with its message (ErrorText), except the silent abort.
void ReportException(const std::exception& error);
// Installs a replacement (an empty one restores the message box); returns
// the one installed before.
AppErrorReport SetAppErrorReport(AppErrorReport report);

}  // namespace zorpokaz
