// TExplorer: the program's own file and directory chooser as a component a
// window keeps and configures. Execute opens the modal TExplorerDlg for one
// choice and copies the result back. The setters keep the flags consistent
// (choosing a file needs the file pane, the file pane needs a directory
// choice or a file choice, and so on).
//
// Paths: directories end with "/". The component owns its result list.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace zorpokaz {

class TExplorerDlg;

class TExplorer : public QObject {
  Q_OBJECT

 public:
  // May refuse a directory the user confirms.
  using TExplorerSprawdzKat = std::function<void(const QString& Katalog, bool& MozeByc)>;
  // Per file found: refuse it, or give its description.
  using TExplorerDodajPlik = std::function<void(const QString& Plik, QString& Opis, bool& Akceptuj)>;
  using TNotifyEvent = std::function<void(TExplorerDlg* sender)>;

  explicit TExplorer(QObject* parent = nullptr);
  ~TExplorer() override;

  QString Caption;
  QString Hint;
  // Start directory; after a confirmed dialog, the chosen one. A directory
  // that does not exist opens the dialog on the file system's root.
  QString Katalog = QStringLiteral("/");
  QString Filtr = QStringLiteral("*.DBF");
  int SzerPlikow = 400;
  int SzerOpisow = 0;
  TExplorerSprawdzKat OnSprawdzKatalog;
  TExplorerDodajPlik OnDodajPlik;
  TNotifyEvent BeforeExecute;
  TNotifyEvent AfterExecute;

  bool WyborPliku() const { return m_wyborPliku; }
  void setWyborPliku(bool value);
  bool WyborKatalogu() const { return m_wyborKatalogu; }
  void setWyborKatalogu(bool value);
  bool PlikiWidoczne() const { return m_plikiWidoczne; }
  void setPlikiWidoczne(bool value);
  bool PodgladWidoczny() const { return m_podgladWidoczny; }
  void setPodgladWidoczny(bool value);
  bool Szukanie() const { return m_szukanie; }
  void setSzukanie(bool value);
  bool MultiWybor() const { return m_multiWybor; }
  void setMultiWybor(bool value) { m_multiWybor = value; }
  int Wysokosc() const { return m_wysokosc; }
  void setWysokosc(int value);

  // True when the user confirmed.
  bool Execute();

  // The chosen file's full path (file choice) and every selected file's full
  // path in list order (multiple selection).
  const QString& WybranyPlik() const { return m_wybranyPlik; }
  const QStringList& WybranePliki() const { return m_wybranePliki; }

  // The dialog while Execute runs (for tests and the notify events).
  TExplorerDlg* Dialog() const { return m_dialog; }

 private:
  bool m_wyborPliku = false;
  bool m_wyborKatalogu = true;
  bool m_plikiWidoczne = false;
  bool m_podgladWidoczny = false;
  bool m_szukanie = false;
  bool m_multiWybor = false;
  int m_wysokosc = 400;
  QString m_wybranyPlik;
  QStringList m_wybranePliki;
  TExplorerDlg* m_dialog = nullptr;
};

}  // namespace zorpokaz
