#include "launcher/messageboxes.h"

#include <QPushButton>

namespace zorpokaz::paczka {

LauncherUi::~LauncherUi() = default;

int MessageBoxes::show(QMessageBox::Icon icon, const QString& title, const QString& text, bool question,
                       const QString& details) {
  QString shown = text;
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(icon, title, shown, QMessageBox::NoButton, m_owner);
  box.setTextFormat(Qt::PlainText);
  if (!details.isEmpty()) {
    // Escaped into markup of our own: a library name or a loader message is
    // shown as it is, never read as markup.
    QString lines = details.toHtmlEscaped();
    lines.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    lines.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    box.setInformativeText(QStringLiteral("<p style=\"white-space:pre\">") + lines + QStringLiteral("</p>"));
  }
  if (question) {
    // Button texts of a Polish system, whatever language Qt itself speaks.
    box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
    box.setEscapeButton(no);
  } else {
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  }
  box.exec();
  return box.buttonRole(box.clickedButton());
}

void MessageBoxes::ErrorBox(const QString& text) {
  show(QMessageBox::Critical, QStringLiteral("Błąd !"), text, false);
}

void MessageBoxes::ErrorBoxWithDetails(const QString& text, const QString& details) {
  show(QMessageBox::Critical, QStringLiteral("Błąd !"), text, false, details);
}

void MessageBoxes::InformationBox(const QString& text) {
  show(QMessageBox::Information, QStringLiteral("Informacja"), text, false);
}

bool MessageBoxes::OverwriteQuestion(const QString& text) {
  return show(QMessageBox::Warning, QStringLiteral("Potwierdź"), text, true) == QMessageBox::YesRole;
}

void MessageBoxes::RightsBox(const QString& text) {
  show(QMessageBox::Critical, QStringLiteral("Brak uprawnień !"), text, false);
}

}  // namespace zorpokaz::paczka
