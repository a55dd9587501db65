// The print dialog as drawn: every caption fits its control and every control
// lies inside its parent, in both option panels. With ZP_SCREENSHOT_DIR set the
// dialog is also saved as PNG files to look at (run it under Xvfb for a real
// window system).
#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

#include "preview/printsettings.h"
#include "preview/temfviewer.h"
#include "printing/printersystem.h"
#include "printing/recordingtarget.h"
#include "printing/testpages.h"
#include "printing/twydrukidrukuj.h"
#include "ui/apperror.h"
#include "ui/tzorbtn.h"

namespace zorpokaz {
namespace {

class OnePrinter : public PrinterSystem {
 public:
  explicit OnePrinter(const PageImageList& pages) : m_target(pages) {}
  std::vector<InstalledPrinter> Printers() override {
    return {{"HP LaserJet 1000", "USB001"}, {"PDF", ""}};
  }
  int CurrentIndex() override { return 0; }
  void Select(int) override {}
  void ApplyColorSetting(bool) override {}
  bool ShowProperties(QWidget*, bool, bool&) override { return false; }
  PrintTarget& Target() override { return m_target; }

 private:
  testing::RecordingTarget m_target;
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
  dlg->SourceViewer = &viewer;
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

  delete dlg.data();
  SetAppErrorReport(oldReport);
  SetPrinterSystem(std::move(old));
  PrintSettings() = TPrintSettings{};
}

}  // namespace
}  // namespace zorpokaz
