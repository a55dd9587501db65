// Printing through the print dialog's own code path — the real printer
// system, QPrinter, our spooling and submission — onto a cups-pdf queue of a
// scheduler of the test's own (PrivateCups), read back from what arrives: the
// jobs with their titles and options, the document handed in, and the PDFs
// the queue writes, whose sheets are told apart by their ink.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "printing/cupsqueue.h"
#include "printing/inkpages.h"
#include "printing/privatecups.h"
#include "printing/qtprintersystem.h"
#include "printing/recordingtarget.h"
#include "printing/testpages.h"
#include "printing/twlasciwoscidrukarki.h"
#include "printing/twydrukidrukuj.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"

namespace zorpokaz {
namespace {

using testing::QueueJob;

// "title: sheet sheet ..." for every job that arrived.
QStringList arrived(const std::vector<QueueJob>& jobs, bool landscapeSides = false) {
  QStringList out;
  for (const QueueJob& job : jobs)
    out << job.name() + ": " +
               (job.pdf.isEmpty() ? QStringLiteral("<no pdf, %1>").arg(job.state)
                                  : testing::inkSheets(job.pdf, landscapeSides).join(QLatin1Char(' ')));
  return out;
}

// What pdfimages (poppler-utils) lists for each picture of a document:
// "type color bpc enc", e.g. "image gray 1 image".
QStringList pictures(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  if (!p.waitForFinished(60000) || p.exitCode() != 0)
    return {QStringLiteral("<pdfimages failed>")};
  QStringList out;
  const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const QStringList f = lines[i].simplified().split(QLatin1Char(' '));
    if (f.size() >= 10)
      out << QStringList{f[2], f[5], f[7], f[8]}.join(QLatin1Char(' '));
  }
  out.removeDuplicates();
  return out;
}

class CupsQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    ZP_START_PRIVATE_CUPS(cups);
    oldSystem = SetPrinterSystem(std::make_unique<QtPrinterSystem>());
    oldReport = SetAppErrorReport([this](const QString& m) { reports << m; });
    PrintSettings() = TPrintSettings{};
    PrintSettings().PrintDlg_Odwrotnie = false;
  }
  void TearDown() override {
    if (oldReport)
      SetAppErrorReport(oldReport);
    if (oldSystem)
      SetPrinterSystem(std::move(oldSystem));
    PrintSettings() = TPrintSettings{};
  }

  // The dialog over a viewer of `pages`, shown with the queue chosen; the
  // questions are all answered yes at once.
  QPointer<TWydrukiDrukuj> openDialog(const PageImageList& pages) {
    viewer = std::make_unique<TEmfViewer>();
    for (const auto& p : pages)
      viewer->AddPage(p);
    QPointer<TWydrukiDrukuj> dlg = new TWydrukiDrukuj(nullptr);
    dlg->PrintoutTitle = QStringLiteral("raport");
    dlg->Source = viewer.get();
    dlg->AskOkCancelFn = [](const QString&, const QString&) { return true; };
    dlg->AskYesNoFn = [](const QString&, const QString&) { return true; };
    dlg->show();
    QCoreApplication::sendPostedEvents(dlg);
    return dlg;
  }

  void print(QPointer<TWydrukiDrukuj>& dlg) {
    dlg->hb()->OnAccept(nullptr);
    EXPECT_EQ(reports, QStringList());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dlg.isNull()) << "the dialog stays open after printing";
    delete dlg.data();
  }

  testing::PrivateCups cups;
  std::unique_ptr<TEmfViewer> viewer;
  QStringList reports;
  AppErrorReport oldReport;
  std::unique_ptr<PrinterSystem> oldSystem;
};

TEST_F(CupsQueue, NormalSheetsArriveInOrderOneJobPerPass) {
  {
    PrintSettings().PrintDlg_Odwrotnie = true;
    auto dlg = openDialog(testing::makeBlockPages(3));
    // The default queue is chosen, listed with its device URI as the port.
    EXPECT_EQ(dlg->cbDrukarki->currentText(),
              cups.queue() + QStringLiteral("  [cups-pdf:/") + cups.queue() + QLatin1Char(']'));
    print(dlg);
  }
  {
    PrintSettings().PrintDlg_Odwrotnie = false;
    PrintSettings().PrintDlg_Dwustronnie = true;
    auto dlg = openDialog(testing::makeBlockPages(3));
    print(dlg);
  }
  const std::vector<QueueJob> jobs = cups.waitForJobs(3);
  EXPECT_EQ(arrived(jobs), (QStringList{"raport: 3 2 1", "raport (1): 2 _", "raport (2): 1 3"}));
  for (const QueueJob& job : jobs) {
    EXPECT_EQ(job.state, "completed");
    EXPECT_EQ(job.attributes.count("landscape"), 0u);
  }
  // The stack is turned by hand: the device must not print both sides.
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(jobs[1].attributes.at("sides"), "one-sided");
  EXPECT_EQ(jobs[2].attributes.at("sides"), "one-sided");
}

TEST_F(CupsQueue, ReducedAndBookletSheetsArriveLandscapeInSheetOrder) {
  {
    PrintSettings().PrintDlg_Tryb = 2;
    auto dlg = openDialog(testing::makeBlockPages(5));
    print(dlg);
  }
  {
    PrintSettings().PrintDlg_Tryb = 3;
    auto dlg = openDialog(testing::makeBlockPages(8));
    print(dlg);
  }
  EXPECT_EQ(arrived(cups.waitForJobs(3), true),
            (QStringList{"raport: 1|2 3|4 5|_", "raport (1): 2|7 4|5", "raport (2): 8|1 6|3"}));
}

TEST_F(CupsQueue, AQueueDeletedWhileTheDialogIsOpenIsReportedAndNothingPrints) {
  auto dlg = openDialog(testing::makeBlockPages(2));
  ASSERT_EQ(cups.removeQueue(), QString());
  dlg->hb()->OnAccept(nullptr);
  EXPECT_EQ(reports, QStringList{"Błąd przy pobieraniu ustawień drukarki !"});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(dlg.isNull());
  EXPECT_TRUE(dlg->pFrame()->isEnabled());  // open for another choice
  delete dlg.data();
}

// Chooses in the properties dialog once it is open: `choices` maps an option
// to the text of the value to pick; OK or Anuluj.
void answerProperties(const std::map<QByteArray, QString>& choices, bool ok, QStringList& shown) {
  QTimer::singleShot(0, [choices, ok, &shown] {
    auto* dialog = qobject_cast<TWlasciwosciDrukarki*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no properties dialog";
      return;
    }
    for (QComboBox* list : dialog->findChildren<QComboBox*>())
      shown << list->objectName();
    bool found = true;
    for (const auto& [keyword, text] : choices) {
      QComboBox* list = dialog->list(keyword);
      const int at = list ? list->findText(text, Qt::MatchStartsWith) : -1;
      if (at < 0) {
        QStringList offered;
        for (int i = 0; list && i < list->count(); ++i)
          offered << list->itemText(i);
        ADD_FAILURE() << keyword.toStdString() << " offers no " << text.toStdString() << " but "
                      << offered.join(", ").toStdString();
        found = false;
        continue;
      }
      list->setCurrentIndex(at);
    }
    const QString dir = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
    if (ok && !dir.isEmpty())
      dialog->grab().save(QDir(dir).filePath(QStringLiteral("printer-properties.png")));
    ok && found ? dialog->accept() : dialog->reject();
  });
}

TEST_F(CupsQueue, ThePrintersOwnOptionsReachTheJob) {
  auto dlg = openDialog(testing::makeBlockPages(1));
  dlg->cbKolorowy->setChecked(true);
  QStringList shown;
  // Cancelled: nothing of it stays.
  answerProperties({{"Label", QStringLiteral("Prefix all documents with job-id")}, {"print-color-mode", QStringLiteral("Czarno-biało")}},
                   false, shown);
  dlg->btnWlasciwosci->Click();
  EXPECT_TRUE(dlg->cbKolorowy->isChecked());
  // The paper, the colour and one of the driver's own options.
  answerProperties({{"media", QStringLiteral("A5 (")},
                    {"print-color-mode", QStringLiteral("Czarno-biało")},
                    {"PDFVer", QStringLiteral("1.4")}},
                   true, shown);
  dlg->btnWlasciwosci->Click();
  EXPECT_FALSE(dlg->cbKolorowy->isChecked());
  EXPECT_TRUE(shown.contains("media"));
  EXPECT_TRUE(shown.contains("print-color-mode"));
  EXPECT_TRUE(shown.contains("Resolution"));
  EXPECT_FALSE(shown.contains("PageSize"));  // offered once, as the paper size
  print(dlg);

  const std::vector<QueueJob> jobs = cups.waitForJobs(1);
  ASSERT_EQ(jobs.size(), 1u);
  std::map<QString, QString> a = jobs[0].attributes;
  EXPECT_EQ(a.count("PDFVer") ? a.at("PDFVer") : QString(), "1.4");
  EXPECT_EQ(a.count("print-color-mode") ? a.at("print-color-mode") : QString(), "monochrome");
  // The driver's A5 is a fraction of a millimetre off the standard one.
  EXPECT_TRUE(a.count("media") && a.at("media").contains(QStringLiteral("148"))) << a["media"].toStdString();
  EXPECT_EQ(a.count("Label"), 0u);
  // The page is laid out on the chosen paper: A5 at 30 dpi.
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {jobs[0].pdf});
  info.waitForFinished(30000);
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("(A5)")));
  EXPECT_EQ(arrived(jobs), QStringList{"raport: 1"});
}

// Bitmap mode sends pictures, never lossy ones: 1 bit per pixel in black and
// white, lossless colour otherwise.
TEST_F(CupsQueue, BitmapModeSendsLosslessBands) {
  PrintSettings().PrintDlg_NoEMF = true;
  {
    auto dlg = openDialog(testing::makeBlockPages(2));
    print(dlg);
  }
  {
    PrintSettings().PrintDlg_Kolor = true;
    auto dlg = openDialog(testing::makeTextPages(1, 0x000000FF));
    print(dlg);
  }
  const std::vector<QueueJob> jobs = cups.waitForJobs(2);
  ASSERT_EQ(jobs.size(), 2u);
  const QStringList mono = pictures(jobs[0].spool);
  EXPECT_FALSE(mono.isEmpty());
  for (const QString& p : mono)
    EXPECT_TRUE(p.endsWith(QStringLiteral(" 1 image")) || p.startsWith(QStringLiteral("stencil")))
        << p.toStdString();
  const QStringList colour = pictures(jobs[1].spool);
  EXPECT_FALSE(colour.isEmpty());
  for (const QString& p : colour)
    EXPECT_EQ(p, QStringLiteral("image rgb 8 image"));
  EXPECT_EQ(arrived({jobs[0]}), QStringList{"raport: 1 2"});
}

}  // namespace
}  // namespace zorpokaz
