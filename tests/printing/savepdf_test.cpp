// "Zapisz jako PDF…" in the preview, through the active window's keys on a
// printout of 2,000 pages: not while pages are still being made; then the
// proposed name in the documents directory, every page written with the
// preview's margins as zorpokaz-cli render writes them, and Escape stopping
// a saving without leaving a file or closing the window.
#include "sheets/pagespdf.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "preview/printhooks.h"
#include "preview/temfviewer.h"
#include "preview/tfrmpodglad.h"
#include "printing/printsettings.h"
#include "support/cirequire.h"
#include "support/modalscript.h"
#include "support/searchprintout.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"

namespace zorpokaz {
namespace {

QByteArray run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(120000) || p.exitCode() != 0) return "<" + program.toUtf8() + " failed>";
  return p.readAllStandardOutput();
}

int pdfPages(const QString& pdf) {
  for (const QByteArray& line : run(QStringLiteral("pdfinfo"), {pdf}).split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

// Page p drawn small in grey levels: equal pictures mean the same placement.
QByteArray raster(const QString& pdf, int p) {
  return run(QStringLiteral("pdftoppm"),
             {"-f", QString::number(p), "-l", QString::number(p), "-r", "30", "-gray", pdf});
}

void press(QKeyCombination key) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr);
  QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

class SaveAsPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    ZP_REQUIRE(fixtures::ToolMissing({"pdfinfo", "pdftoppm", "pdftotext"}, "poppler-utils"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, cfg.path());
    PrintSettings() = TPrintSettings{};
    qputenv("XDG_DOCUMENTS_DIR", docs.path().toUtf8());
    previous = SetAppErrorReport([this](const QString& m) { errors << m; });
    InstallPdfWriter();
    path = files.filePath(QStringLiteral("faktury.wyd"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writer::searchPrintout(2000));
  }
  void TearDown() override {
    qunsetenv("XDG_DOCUMENTS_DIR");
    TFrmPodglad::SetPdfWriter({});
    SetAppErrorReport(previous);
  }
  void openActive(TFrmPodglad& w) {
    w.SkipSettingsSave();
    w.OpenFile(path);
    w.show();
    QCoreApplication::processEvents();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }

  QTemporaryDir cfg, files, docs;
  QString path;
  AppErrorReport previous;
  QStringList errors;
};

TEST_F(SaveAsPdf, WritesEveryPageWithThePreviewsMarginsUnderTheProposedName) {
  fixtures::ModalScript script;
  QString proposed;
  script.then([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    proposed = dialog->selectedFiles().value(0);
    static_cast<QDialog*>(dialog)->accept();
  });
  TFrmPodglad w;
  bool enabledWhileLoading = true;
  QObject::connect(w.viewer(), &TEmfViewer::OnChange, &w, [&] {
    if (w.viewer()->PageCount() != 2) return;
    enabledWhileLoading = w.btnPdf()->isEnabled();
    QTest::keyClick(w.viewer(), Qt::Key_S, Qt::ControlModifier);  // not yet: nothing opens
  });
  openActive(w);
  EXPECT_FALSE(enabledWhileLoading);
  EXPECT_TRUE(w.btnPdf()->isEnabled());
  EXPECT_TRUE(proposed.isEmpty()) << proposed.toStdString();
  w.margL()->setValue(20);
  w.margB()->setValue(12);
  w.viewer()->setFocus();
  press(Qt::ControlModifier | Qt::Key_S);
  EXPECT_TRUE(script.done());
  EXPECT_EQ(script.unexpected(), 0);
  const QString pdf = docs.filePath(QStringLiteral("faktury.pdf"));
  EXPECT_EQ(proposed, pdf);
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(pdfPages(pdf), 2000);
  EXPECT_TRUE(run(QStringLiteral("pdftotext"), {"-f", "2000", "-l", "2000", pdf, "-"}).contains("Faktura nr 2000/2024"));
  EXPECT_TRUE(w.hb()->TextCenter().contains(QStringLiteral("faktury.pdf")));
  EXPECT_FALSE(w.Saving());
  EXPECT_TRUE(errors.isEmpty());

  // The same placement as the writer zorpokaz-cli render uses, with these margins.
  const QString reference = files.filePath(QStringLiteral("wzor.pdf"));
  ASSERT_TRUE(WritePagesPdf(reference, {&w.viewer()->Page(0)}, MarginsMM{20, 15, 10, 12}));
  EXPECT_EQ(raster(pdf, 1), raster(reference, 1));
  ASSERT_TRUE(WritePagesPdf(reference, {&w.viewer()->Page(0)}, MarginsMM{10, 15, 10, 25}));
  EXPECT_NE(raster(pdf, 1), raster(reference, 1));
}

// Escape reaches the preview, or (under a window manager that gives a new
// window the keyboard) the please-wait window: either stops the saving.
class SaveAsPdfStopped : public SaveAsPdf, public ::testing::WithParamInterface<bool> {};

QWidget* pleaseWait() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == QStringLiteral(" Zaczekaj chwilę...")) return w;
  return nullptr;
}

TEST_P(SaveAsPdfStopped, EscapeStopsTheSavingAndKeepsTheWindowAndAnyEarlierFile) {
  const bool inPleaseWait = GetParam();
  TFrmPodglad w;
  openActive(w);
  const QString pdf = docs.filePath(QStringLiteral("faktury.pdf"));
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("earlier file");
  old.close();
  fixtures::ModalScript script;
  script.then([&](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
  script.then([](QWidget* question) {  // the file dialog's question whether to replace the file
    auto* box = qobject_cast<QMessageBox*>(question);
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
  });
  // Once the saving runs, the person presses Escape.
  bool sawSaving = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (sawSaving || !w.Saving()) return;
    if (inPleaseWait) {
      if (!pleaseWait()) return;
      sawSaving = true;
      QTest::keyClick(pleaseWait(), Qt::Key_Escape);
      return;
    }
    if (!QApplication::focusWidget()) return;
    sawSaving = true;
    press(Qt::Key_Escape);
  });
  watch.start(1);
  press(Qt::ControlModifier | Qt::Key_S);
  EXPECT_TRUE(sawSaving);
  EXPECT_FALSE(w.Saving());
  EXPECT_TRUE(w.isVisible());
  QFile after(pdf);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), QByteArray("earlier file"));
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(script.unexpected(), 0);
  EXPECT_EQ(w.hb()->TextCenter(), QStringLiteral("Zapisywanie pliku PDF przerwano"));
}

INSTANTIATE_TEST_SUITE_P(Where, SaveAsPdfStopped, ::testing::Values(false, true));

TEST_F(SaveAsPdf, AFailedWritingIsReportedInPolishAndTheWindowStays) {
  TFrmPodglad::SetPdfWriter([](const TFrmPodglad::PdfRequest& r) -> bool {
    throw Error(QStringLiteral("Cannot create file %1").arg(r.path).toStdString());
  });
  TFrmPodglad w;
  openActive(w);
  fixtures::ModalScript script;
  script.then([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); }).ok();
  press(Qt::ControlModifier | Qt::Key_S);
  EXPECT_TRUE(script.done());
  const QString pdf = docs.filePath(QStringLiteral("faktury.pdf"));
  EXPECT_EQ(script.messages(), QStringList{QStringLiteral("Błąd zapisu|Nie udało się zapisać pliku:\n") + pdf});
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Saving());
  EXPECT_TRUE(w.btnPdf()->isEnabled());
}

TEST(PagesPdf, AFileThatCannotBeWrittenIsAnError) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("brak/x.pdf"));
  try {
    WritePagesPdf(path, {}, MarginsMM{});
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Cannot create file ") + path);
  }
}

}  // namespace
}  // namespace zorpokaz
