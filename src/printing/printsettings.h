// PrintSettings: the process-wide record of the print dialog's remembered
// choices. It starts with the defaults below, is filled from the user's
// settings by each preview window and written back when the window closes;
// the print dialog and the print job read it and the dialog updates it.
// Fields are named as the stored values they travel in.
#pragma once

#include <QString>

class QSettings;

namespace zorpokaz {

struct TPrintSettings {
  QString PrintDlg_NazwaDruk;  // printer display name; empty: the default printer
  int PrintDlg_Tryb = 1;       // 1 Normalnie, 2 Zmniejszone, 3 Książeczka
  bool PrintDlg_Odwrotnie = true;
  bool PrintDlg_Dwustronnie = false;
  bool PrintDlg_Kolor = false;
  int PrintDlg_Kopie = 1;
  bool PrintDlg_NoAbort = false;
  bool PrintDlg_NoEMF = false;

  bool operator==(const TPrintSettings&) const = default;

  // Each value on its own: a missing or mistyped number keeps the field as it
  // is; a missing printer name reads as empty.
  void Load(const QSettings& key);
  void Save(QSettings& key) const;
};

// The one record of the process (user-interface thread only).
TPrintSettings& PrintSettings();

}  // namespace zorpokaz
