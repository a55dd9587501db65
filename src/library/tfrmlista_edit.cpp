// The list window's changes to the library: renaming and deleting printouts.
#include "library/tfrmlista.h"

#include "core/libraryfiles.h"
#include "ui/okienko.h"

#include <QFile>
#include <QInputDialog>
#include <QListWidget>

namespace zorpokaz {

namespace {

QString nameFaultMessage(NameFault fault) {
  switch (fault) {
    case NameFault::ForbiddenChar:
      return QStringLiteral("Nazwa pliku nie może zawierać znaków:\r\\  /  :  *  ?  \"  <  >  |");
    case NameFault::ControlChar:
      return QStringLiteral("Nazwa pliku nie może zawierać znaków sterujących.");
    case NameFault::Hidden:
      // A file name starting with a dot is hidden here: the printout would
      // vanish from the list.
      return QStringLiteral("Nazwa pliku nie może być pusta ani zaczynać się od kropki.");
    case NameFault::None:
      break;
  }
  return QString();
}

}  // namespace

bool TFrmLista::askNewName(QString& text) {
  QInputDialog box(this);
  box.setWindowTitle(QStringLiteral("Zmiana nazwy pliku wydruku"));
  box.setLabelText(QStringLiteral("Podaj nową nazwę wydruku:"));
  box.setInputMode(QInputDialog::TextInput);
  box.setTextValue(text);
  if (box.exec() != QDialog::Accepted) return false;
  text = box.textValue();
  return true;
}

void TFrmLista::RenameSelected() {
  QListWidgetItem* item = m_lista->currentItem();
  const QString oldPath = selectedPath();
  if (!item || oldPath.isEmpty()) return;
  QString text = SelectedName();
  for (;;) {
    if (!askNewName(text)) return;
    const NameFault fault = CheckPrintoutName(text);
    if (fault == NameFault::None) break;
    ShowError(QStringLiteral("Błędna nazwa pliku"), nameFaultMessage(fault));
  }
  const QString newFile = text + QStringLiteral(".wyd");
  const QString newPath = m_dir + newFile;
  if (!RenameLibraryFile(oldPath, newPath)) {
    ShowError(QStringLiteral("Błąd - Nie można zmienić nazwy !"),
              QStringLiteral("Wystąpił błąd zmiany nazwy pliku\rz \"%1\"\rna \"%2\".").arg(oldPath, newPath));
    return;
  }
  const QString oldText = item->text();
  item->setText(text + oldText.mid(oldText.indexOf(QLatin1Char('\t'))));
  item->setData(Qt::UserRole, newFile);
  Refresh();
}

void TFrmLista::DeleteSelected() {
  const QString path = selectedPath();
  if (path.isEmpty()) return;
  if (!AskYesNo(QStringLiteral("Potwierdź usunięcie pliku ?"),
                QStringLiteral("Czy na pewno chcesz usunąć plik\r") + path + QStringLiteral(" ?")))
    return;
  QFile::remove(path);  // a file that stays is simply listed again
  Refresh();
}

}  // namespace zorpokaz
