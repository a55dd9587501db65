// The preview window opens the print dialog through the hook the program
// installs: Enter in a loaded preview shows TWydrukiDrukuj modally over that
// preview's pages, titled with its printout's name.
#include "preview/printhooks.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "preview/tfrmpodglad.h"
#include "printing/printersystem.h"
#include "printing/recordingprinters.h"
#include "printing/recordingtarget.h"
#include "printing/twydrukidrukuj.h"
#include "support/printoutwriter.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"

namespace zorpokaz {
namespace {

using QuietPrinter = testing::RecordingPrinters;

TEST(PrintDialogHook, EnterInTheLoadedPreviewOpensTheDialogOverItsPages) {
  QTemporaryDir cfg, files;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, cfg.path());
  PrintSettings() = TPrintSettings{};
  auto old = SetPrinterSystem(std::make_unique<QuietPrinter>());
  QStringList errors;
  AppErrorReport oldReport = SetAppErrorReport([&](const QString& m) { errors << m; });

  writer::WPrintout p;
  writer::WStyle s;
  s.name = "Domyslny";
  p.styles = {s};
  std::vector<writer::WLine> lines;
  for (int i = 0; i < 84 * 2 + 1; ++i)
    lines.push_back(writer::line({writer::textField(600, 6000, "Wiersz")}));
  p.root.intro = writer::group(lines, true);
  const QString path = files.filePath(QStringLiteral("raport.wyd"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(writer::writePrintout(p));
  f.close();

  InstallPrintDialog();
  TFrmPodglad preview;
  preview.OpenFile(path);
  preview.show();
  QCoreApplication::processEvents();
  ASSERT_EQ(preview.hb()->TextAccept(), QStringLiteral("Drukuj"));
  const int pages = preview.viewer()->PageCount();

  QString caption, title;
  bool sawDialog = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TWydrukiDrukuj*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    sawDialog = true;
    QCoreApplication::sendPostedEvents(dlg);
    title = dlg->PrintoutTitle;
    caption = dlg->rbStrony1->text();
    dlg->hb()->OnCancel(nullptr);
  });
  QTest::keyClick(preview.viewer(), Qt::Key_Return);
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(title, QStringLiteral("raport"));
  EXPECT_EQ(caption, QStringLiteral("&Całość (%1 strony)").arg(pages));
  EXPECT_GE(pages, 2);
  EXPECT_LE(pages, 4);  // "strony" in the caption
  EXPECT_EQ(errors, QStringList());

  TFrmPodglad::SetPrintHandler({});
  SetAppErrorReport(oldReport);
  SetPrinterSystem(std::move(old));
  PrintSettings() = TPrintSettings{};
}

}  // namespace
}  // namespace zorpokaz
