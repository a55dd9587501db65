#include "ui/texplorer.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>

#include "ui/texplorerdlg.h"

namespace zorpokaz {

TExplorer::TExplorer(QObject* parent) : QObject(parent) {}

TExplorer::~TExplorer() = default;

void TExplorer::setWyborPliku(bool value) {
  m_wyborPliku = value;
  if (!value) m_wyborKatalogu = true;
  if (value) m_plikiWidoczne = true;
}

void TExplorer::setWyborKatalogu(bool value) {
  m_wyborKatalogu = value;
  if (!value) {
    m_plikiWidoczne = true;
    m_wyborPliku = true;
    m_szukanie = false;
  }
}

void TExplorer::setPlikiWidoczne(bool value) {
  m_plikiWidoczne = value;
  if (!value) {
    m_podgladWidoczny = false;
    m_wyborPliku = false;
    m_szukanie = false;
    // A dialog needs at least one pane to choose from.
    m_wyborKatalogu = true;
  }
}

void TExplorer::setPodgladWidoczny(bool value) {
  m_podgladWidoczny = value;
  if (value) {
    m_plikiWidoczne = true;
    m_wyborPliku = true;
  }
}

void TExplorer::setSzukanie(bool value) {
  m_szukanie = value;
  if (value) m_plikiWidoczne = true;
}

void TExplorer::setWysokosc(int value) { m_wysokosc = std::max(value, 100); }

bool TExplorer::Execute() {
  const QString previousDir = QDir::currentPath();
  TExplorerDlg dialog(QApplication::activeWindow());
  m_dialog = &dialog;
  dialog.Setup(*this);
  if (BeforeExecute) BeforeExecute(&dialog);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  if (AfterExecute) AfterExecute(&dialog);
  if (confirmed) {
    Katalog = dialog.SelectedDir();
    if (m_wyborPliku) m_wybranyPlik = dialog.ChosenFile();
    if (m_multiWybor) m_wybranePliki = dialog.SelectedFiles();
  }
  m_dialog = nullptr;
  QDir::setCurrent(previousDir);
  return confirmed;
}

}  // namespace zorpokaz
