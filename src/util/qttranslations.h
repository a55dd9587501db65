// Qt's own texts in Polish: the standard dialogs and buttons the program
// shows (the rename box's "Anuluj", the properties dialog's buttons) come from
// Qt, which speaks English unless its Polish catalogue is loaded.
#pragma once

class QCoreApplication;
class QTranslator;

namespace zorpokaz {

// Loads Qt's Polish catalogue (qtbase_pl) from Qt's translations directory
// into `app`; the translator belongs to `app`. Nullptr when the catalogue is
// not installed: Qt's texts then stay English and nothing else changes.
QTranslator* InstallQtTranslations(QCoreApplication& app);

}  // namespace zorpokaz
