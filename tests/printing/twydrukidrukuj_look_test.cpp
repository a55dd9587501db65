// The print dialog as drawn: every caption fits its control and every control
// lies inside its parent, in both option panels. With ZP_SCREENSHOT_DIR set the
// dialog is also saved as PNG files to look at (run it under Xvfb for a real
// window system).
#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "printing/printersystem.h"
#include "printing/recordingprinters.h"
#include "printing/recordingtarget.h"
#include "printing/testpages.h"
#include "printing/twydrukidrukuj.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"

namespace zorpokaz {
namespace {

// Two printers, one with a port and one without.
struct OnePrinter : testing::RecordingPrinters {
  explicit OnePrinter(const PageImageList& pages)
      : RecordingPrinters(pages, {{"HP LaserJet 1000", "USB001"}, {"PDF", ""}}) {}
};

// Widgets of `root` that show text but are narrower than that text needs, or
// stick out of their parent.
QStringList misfits(TWydrukiDrukuj* dlg) {
  QWidget* root = dlg;
  QStringList bad;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (w->isHidden() || !w->isVisibleTo(root))
      continue;
    const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                   : w->objectName();
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w))
      text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
      text = b->text();
    // The caption's glyph buttons are fixed 17 x 15 boxes, smaller than any
    // style's idea of a tool button.
    const bool glyph = w->parentWidget() == dlg->pCaptionBtns();
    if (!text.isEmpty() && !glyph && w->sizeHint().width() > w->width())
      bad << name + " too narrow for \"" + text + "\"";
    if (w->parentWidget() && !w->isWindow() &&
        !w->parentWidget()->rect().contains(w->geometry()))
      bad << name + " outside its parent (" + text + ")";
  }
  return bad;
}

TEST(PrintDialogLook, CaptionsFitAndControlsStayInside) {
  PrintSettings() = TPrintSettings{};
  const PageImageList pages = testing::makeTextPages(12);
  auto old = SetPrinterSystem(std::make_unique<OnePrinter>(pages));
  AppErrorReport oldReport = SetAppErrorReport([](const QString&) {});
  TEmfViewer viewer;
  for (const auto& p : pages)
    viewer.AddPage(p);
  QPointer<TWydrukiDrukuj> dlg = new TWydrukiDrukuj(nullptr);
  dlg->PrintoutTitle = QStringLiteral("raport");
  dlg->Source = &viewer;
  dlg->show();
  QCoreApplication::sendPostedEvents(dlg);
  QCoreApplication::processEvents();

  const QString dir = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  EXPECT_EQ(misfits(dlg), QStringList());
  if (!dir.isEmpty())
    dlg->grab().save(QDir(dir).filePath(QStringLiteral("print-dialog.png")));
  dlg->btnOpcje2Pokaz->Click();
  QCoreApplication::processEvents();
  EXPECT_EQ(misfits(dlg), QStringList());
  if (!dir.isEmpty())
    dlg->grab().save(QDir(dir).filePath(QStringLiteral("print-dialog-advanced.png")));
  dlg->ZorBtn1->Click();
  dlg->btnKsiazeczka->Click();
  QCoreApplication::processEvents();
  EXPECT_EQ(misfits(dlg), QStringList());
  if (!dir.isEmpty())
    dlg->grab().save(QDir(dir).filePath(QStringLiteral("print-dialog-booklet.png")));
  dlg->btnZmniejszone->Click();
  dlg->cbDwustronnie->setChecked(true);
  QCoreApplication::processEvents();
  EXPECT_EQ(misfits(dlg), QStringList());
  if (!dir.isEmpty())
    dlg->grab().save(QDir(dir).filePath(QStringLiteral("print-dialog-reduced-two-sided.png")));

  delete dlg.data();
  SetAppErrorReport(oldReport);
  SetPrinterSystem(std::move(old));
  PrintSettings() = TPrintSettings{};
}

// While printing every control is disabled: the mode buttons show their grey
// pictures (no trace of the pictures' transparent colour) and the hint bar's
// buttons keep readable captions.
TEST(PrintDialogLook, DisabledWhilePrintingStaysReadable) {
  PrintSettings() = TPrintSettings{};
  const PageImageList pages = testing::makeTextPages(2);
  auto printers = std::make_unique<OnePrinter>(pages);
  OnePrinter* system = printers.get();
  auto old = SetPrinterSystem(std::move(printers));
  AppErrorReport oldReport = SetAppErrorReport([](const QString&) {});
  TEmfViewer viewer;
  for (const auto& p : pages)
    viewer.AddPage(p);
  QPointer<TWydrukiDrukuj> dlg = new TWydrukiDrukuj(nullptr);
  dlg->Source = &viewer;
  dlg->show();
  QCoreApplication::sendPostedEvents(dlg);
  QCoreApplication::processEvents();

  QImage modes, bar;
  system->m_target.onDraw = [&] {
    if (!modes.isNull())
      return;
    EXPECT_FALSE(dlg->btnNormalne->isEnabled());
    modes = dlg->pOpcje1->grab().toImage();
    bar = dlg->hb()->grab().toImage();
    const QString dir = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
    if (!dir.isEmpty())
      dlg->grab().save(QDir(dir).filePath(QStringLiteral("print-dialog-printing.png")));
  };
  dlg->hb()->OnAccept(nullptr);
  ASSERT_FALSE(modes.isNull());
  const int magenta = testing::countPixels(modes, modes.rect(), [](const QColor& c) {
    return c.red() > 160 && c.blue() > 160 && c.green() < 140;
  });
  EXPECT_EQ(magenta, 0);
  // "Drukuj" and "Zamknij" in silver on the grey of an inactive bar.
  const int caption = testing::countPixels(bar, QRect(bar.width() - 190, 0, 190, bar.height()),
                                           [](const QColor& c) { return c.red() > 170 && c.red() == c.blue(); });
  EXPECT_GT(caption, 40);

  delete dlg.data();
  SetAppErrorReport(oldReport);
  SetPrinterSystem(std::move(old));
  PrintSettings() = TPrintSettings{};
}

}  // namespace
}  // namespace zorpokaz
