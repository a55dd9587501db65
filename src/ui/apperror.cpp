#include "ui/apperror.h"

#include "platform/errors.h"

#include <QApplication>
#include <QMessageBox>

namespace zorpokaz {

namespace {

AppErrorReport& installed() {
  static AppErrorReport report;
  return report;
}

}  // namespace

void ShowAppError(const QString& message) {
  if (installed()) {
    installed()(message);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("ZorPokaz"), message, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void ReportException(const std::exception& error) {
  if (dynamic_cast<const EAbort*>(&error)) return;
  ShowAppError(QString::fromUtf8(ErrorText(error)));
}

AppErrorReport SetAppErrorReport(AppErrorReport report) {
  AppErrorReport previous = std::move(installed());
  installed() = std::move(report);
  return previous;
}

}  // namespace zorpokaz
