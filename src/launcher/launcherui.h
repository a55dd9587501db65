// How the launcher speaks to its user: four kinds of message box. The window
// shows them as platform message boxes; tests record them instead.
#pragma once

#include <QString>

namespace zorpokaz::paczka {

class LauncherUi {
 public:
  virtual ~LauncherUi();
  // "Błąd !", error icon, OK.
  virtual void ErrorBox(const QString& text) = 0;
  // The same box with `details` under the text: why something failed.
  virtual void ErrorBoxWithDetails(const QString& text, const QString& /*details*/) { ErrorBox(text); }
  // "Informacja", information icon, OK.
  virtual void InformationBox(const QString& text) = 0;
  // "Potwierdź", exclamation icon, Yes / No; true for Yes.
  virtual bool OverwriteQuestion(const QString& text) = 0;
  // "Brak uprawnień !", error icon, OK.
  virtual void RightsBox(const QString& text) = 0;
};

}  // namespace zorpokaz::paczka
