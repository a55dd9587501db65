// The launcher's message boxes as Qt message boxes. Texts keep the system's
// "\r" line breaks and are shown with one line per "\r".
#pragma once

#include <QMessageBox>

#include "launcher/launcherui.h"

class QWidget;

namespace zorpokaz::paczka {

class MessageBoxes : public LauncherUi {
 public:
  // `owner` may be null (before the main window exists) and may change.
  explicit MessageBoxes(QWidget* owner = nullptr) : m_owner(owner) {}
  void SetOwner(QWidget* owner) { m_owner = owner; }

  void ErrorBox(const QString& text) override;
  void ErrorBoxWithDetails(const QString& text, const QString& details) override;
  void InformationBox(const QString& text) override;
  bool OverwriteQuestion(const QString& text) override;
  void RightsBox(const QString& text) override;

 private:
  int show(QMessageBox::Icon icon, const QString& title, const QString& text, bool question,
           const QString& details = QString());

  QWidget* m_owner;
};

}  // namespace zorpokaz::paczka
