#include "library/addprintouts.h"

#include <QFileInfo>

#include "document/linedruk.h"
#include "library/copyprintout.h"
#include "core/packagereader.h"
#include "platform/files/filestream.h"
#include "ui/apperror.h"
#include "ui/okienko.h"
#include "ui/texplorer.h"
#include "ui/tworkingdlg.h"
#include "util/bajery.h"

namespace zorpokaz {

namespace {

// The upper-case extension of a path: from the last "." after the last "/",
// the dot included (backslashes and colons are ordinary characters here).
QString upperExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || dot < path.lastIndexOf(QLatin1Char('/'))) return {};
  return path.mid(dot).toUpper();
}

bool isPackageExtension(const QString& ext) {
  return ext == QLatin1String(".EXE") || ext == QLatin1String(".RUN");
}

// The questions and messages of taking printouts out in the list window.
class AskingExtractHandler : public ExtractHandler {
 public:
  bool ConfirmOverwrite(const QString& dest, int) override {
    return AskYesNo(QStringLiteral("Potwierdź rozpakowanie pliku"),
                    QStringLiteral("Plik \"") + dest + QStringLiteral("\" już istnieje !\rCzy na pewno chcesz go pokryć ?"));
  }
  void NameRefused(const QString& message) override { ShowError(QStringLiteral("Błąd"), message); }
  // No trace of the question just answered stays on the screen while the
  // printout is written.
  void BeforeWrite() override { RepaintAllForms(); }
};

}  // namespace

void ConfigureExplorer(TExplorer& explorer, const QString& startDir) {
  explorer.Caption = QStringLiteral("Dokopiowanie wydruków");
  explorer.Hint = QStringLiteral("Wskaż plik wydruku/paczki");
  explorer.Katalog = startDir;
  explorer.Filtr = QStringLiteral("*.WYD;*.EXE;*.RUN");
  explorer.setWyborPliku(true);
  explorer.setPlikiWidoczne(true);
  explorer.setPodgladWidoczny(false);
  explorer.SzerPlikow = 300;
  explorer.SzerOpisow = 0;
  explorer.setSzukanie(true);
  explorer.setMultiWybor(true);
  explorer.OnDodajPlik = [](const QString& file, QString&, bool& accept) { accept = FileAcceptable(file); };
}

void ConfigureWorkingDlg(TWorkingDlg& working) {
  working.Caption = QStringLiteral(" Zaczekaj chwilę...");
  working.JestPostepLbl = true;
  working.JestPostepLbl2 = false;
  working.JestPostepBar = false;
  working.ScreenCenter = false;
  working.ZipAllSize32k = 0;
}

bool FileAcceptable(const QString& path) {
  try {
    const QString ext = upperExtension(path);
    if (ext == QLatin1String(".WYD")) {
      FileStream file(path);
      return CheckSignature(file, kTypeNameWydruk);
    }
    if (isPackageExtension(ext)) return QFileInfo(path).size() > CheckPackage(path);
  } catch (const std::exception&) {
  }
  return false;
}

void UnpackPackage(const QString& path, const QString& libraryDir) {
  try {
    const std::int64_t offset = CheckPackage(path);
    AskingExtractHandler handler;
    ExtractPrintouts(path, offset, libraryDir, handler);
  } catch (const std::exception& e) {
    ReportException(e);
  }
}

void AddPrintouts(TExplorer& explorer, TWorkingDlg& working, const QString& libraryDir,
                  const std::function<void()>& refresh) {
  try {
    if (explorer.Execute()) {
      const QStringList files = explorer.MultiWybor() ? explorer.WybranePliki() : QStringList{explorer.WybranyPlik()};
      working.OpenWithText(QStringLiteral("Trwa dodawanie wydruków..."), true, false);
      SetBusy(true);
      struct Finally {
        TWorkingDlg& working;
        ~Finally() {
          SetBusy(false);
          working.CloseWindow();
        }
      } finally{working};
      for (const QString& file : files) {
        working.SetProgressText(file);
        const QString ext = upperExtension(file);
        if (ext == QLatin1String(".WYD"))
          CopyPrintout(file, libraryDir);
        else if (isPackageExtension(ext))
          UnpackPackage(file, libraryDir);
      }
    }
  } catch (const std::exception& e) {
    ReportException(e);
    return;
  }
  if (refresh) refresh();
}

}  // namespace zorpokaz
