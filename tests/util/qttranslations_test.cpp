#include "util/qttranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

// The standard buttons of Qt's dialogs (the rename box, the printer's
// properties) speak Polish once the catalogue is loaded.
TEST(QtTranslations, StandardButtonsSpeakPolish) {
  QTranslator* translator = InstallQtTranslations(*qApp);
  ASSERT_NE(translator, nullptr) << "Qt's Polish catalogue (qt6-translations-l10n) is missing";
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
            QStringLiteral("Anuluj"));
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QDialogButtonBox english(QDialogButtonBox::Cancel);
  EXPECT_EQ(english.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
            QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace zorpokaz
