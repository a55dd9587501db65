// The chooser of "Dodaj wydruk" on a directory of printouts and packages: what
// it offers, how the search looks while it runs and after it. Every caption
// fits its control. With ZP_SCREENSHOT_DIR set the dialog is saved as PNGs
// there (run under a real display to see the platform's own look).
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "library/addprintouts.h"
#include "library/tfrmlista.h"
#include "support/cirequire.h"
#include "support/modalscript.h"
#include "support/pefixture.h"
#include "ui/texplorer.h"
#include "ui/texplorerdlg.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"

namespace zorpokaz {
namespace {

using fixtures::ModalScript;

void save(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  if (!dir.isEmpty()) w->grab().save(dir + "/" + name + ".png");
}

// No text of a label or button is cut off.
void expectCaptionsFit(QWidget* root) {
  for (auto* label : root->findChildren<QLabel*>()) {
    if (label->isVisible() && !label->text().isEmpty() && label->pixmap().isNull() && !label->wordWrap()) {
      EXPECT_LE(label->sizeHint().width(), label->width() + 1) << label->text().toStdString();
    }
  }
  for (auto* button : root->findChildren<QPushButton*>()) {
    if (button->isVisible()) {
      EXPECT_LE(button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')) + 8, button->width())
          << button->text().toStdString();
    }
  }
}

TEST(ChooserLook, OffersPrintoutsAndPackagesAndSearches) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  QTemporaryDir tmp;
  const QString dir = QDir(tmp.path()).canonicalPath() + "/Pobrane/";
  const QString samples = qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/samples/";
  QDir().mkpath(dir + "Archiwum 2024/styczeń");
  QDir().mkpath(dir + "Poczta");
  for (const QString& name : QDir(samples).entryList({"*.wyd"}, QDir::Files))
    QFile::copy(samples + name, dir + (name.startsWith("k") ? "Archiwum 2024/styczeń/" : "") + name);
  fixtures::WriteFile(dir + "Wydruki_Zorel.exe",
                      fixtures::BuildPackage(fixtures::PackageRecord("Zestawienie", 0, fixtures::ReadFile(samples + "pola.wyd"))));
  fixtures::WriteFile(dir + "Poczta/paczka.RUN",
                      fixtures::BuildPackage(fixtures::PackageRecord("Faktura 7", 0, fixtures::ReadFile(samples + "faktura.wyd"))));
  fixtures::WriteFile(dir + "notatki.txt", "x");
  fixtures::WriteFile(dir + "setup.exe", fixtures::BuildPe({}));  // no printouts: not offered

  TExplorer explorer;
  ConfigureExplorer(explorer, dir);
  TExplorerDlg* dialog = nullptr;
  bool grabbedSearch = false;
  const auto acceptable = explorer.OnDodajPlik;
  explorer.OnDodajPlik = [&](const QString& file, QString& opis, bool& accept) {
    acceptable(file, opis, accept);
    if (dialog && dialog->Searching() && !grabbedSearch) {
      grabbedSearch = true;
      EXPECT_TRUE(dialog->panSzukanie()->isVisible());
      expectCaptionsFit(dialog->panSzukanie());
      save(dialog, "explorer-searching");
    }
  };
  QWidget owner;
  TWorkingDlg working(&owner);
  QStringList offered, found;
  ModalScript s;
  s.then([&](QWidget* w) {
    dialog = static_cast<TExplorerDlg*>(w);
    for (int i = 0; i < dialog->lb()->count(); ++i) offered << dialog->lb()->item(i)->text().section('\t', 0, 0);
    expectCaptionsFit(dialog);
    save(dialog, "explorer-files");
    dialog->btnSzukaj()->click();
    for (int i = 0; i < dialog->lb()->count(); ++i) found << dialog->lb()->item(i)->text().section('\t', 0, 0);
    save(dialog, "explorer-search-result");
    dialog->reject();
  });
  AddPrintouts(explorer, working, tmp.path() + "/lib/", {});
  const QStringList sampleNames = QDir(samples).entryList({"*.wyd"}, QDir::Files);
  QStringList expected{"Wydruki_Zorel.exe"};
  for (const QString& name : sampleNames)
    if (!name.startsWith("k")) expected << name;
  std::sort(expected.begin(), expected.end(),
            [](const QString& a, const QString& b) { return QString::localeAwareCompare(a.toLower(), b.toLower()) < 0; });
  EXPECT_EQ(offered, expected);  // neither notatki.txt nor setup.exe, a program without printouts
  EXPECT_TRUE(grabbedSearch);
  EXPECT_EQ(found.size(), sampleNames.size() + 2);
  EXPECT_TRUE(found.contains("Archiwum 2024/styczeń/ksiega.wyd"));
  EXPECT_TRUE(found.contains("Poczta/paczka.RUN"));
}

// The whole road in the list window: F7, a printout and a package picked after
// a search, the overwrite question for a printout already in the library,
// and the list showing what arrived.
TEST(ChooserLook, AddingThroughTheListWindow) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  QTemporaryDir tmp;
  const QString dir = QDir(tmp.path()).canonicalPath() + "/Pobrane/";
  const QString lib = QDir(tmp.path()).canonicalPath() + "/ZorPokaz/";
  const QString samples = qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/samples/";
  QDir().mkpath(dir + "Poczta");
  QDir().mkpath(lib);
  QFile::copy(samples + "faktura.wyd", dir + "faktura.wyd");
  QFile::copy(samples + "litery.wyd", lib + "Zestawienie.wyd");
  const QByteArray records = fixtures::PackageRecord("Zestawienie", 0, fixtures::ReadFile(samples + "pola.wyd")) +
                             fixtures::PackageRecord("Ksi\xeaga g\xb3\xf3wna", 0,  // code page 1250
                                                       fixtures::ReadFile(samples + "ksiega.wyd"));
  fixtures::WriteFile(dir + "Poczta/Wydruki_Zorel.exe", fixtures::BuildPackage(records));

  TFrmLista window(QString(), lib);
  window.show();
  QApplication::processEvents();
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    dlg->NavigateTo(dir);
    dlg->btnSzukaj()->click();
    ASSERT_EQ(dlg->lb()->count(), 2);
    dlg->lb()->selectAll();
    save(dlg, "explorer-chosen");
    dlg->hb()->AcceptButton()->click();
  });
  s.then([&](QWidget* w) {
    save(w, "package-overwrite-question");
    static_cast<TMsgOkienko*>(w)->btnOk()->click();
  });
  QTest::keyClick(&window, Qt::Key_F7);
  EXPECT_TRUE(s.done());
  ASSERT_EQ(s.messages().size(), 1);
  EXPECT_TRUE(s.messages()[0].startsWith("Potwierdź rozpakowanie pliku|Plik \"" + lib + "Zestawienie.wyd\""));
  EXPECT_EQ(QDir(lib).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
            (QStringList{"faktura.wyd", "Księga główna.WYD", "Zestawienie.wyd"}));
  EXPECT_EQ(window.lista()->count(), 3);
  QApplication::processEvents();
  save(&window, "list-after-adding");
}

}  // namespace
}  // namespace zorpokaz
