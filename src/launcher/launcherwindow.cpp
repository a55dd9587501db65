#include "launcher/launcherwindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "launcher/launcherui.h"
#include "launcher/runviewer.h"
#include "launcher/unpack.h"

namespace zorpokaz::paczka {

namespace {

constexpr int kClientWidth = 492;
constexpr int kClientHeight = 233;
constexpr int kCellHeight = 16;

// The descriptor of the viewer just unpacked, for as long as it is started
// and waited for.
struct UnpackedViewer {
  int fd = -1;
  UnpackedViewer() = default;
  UnpackedViewer(const UnpackedViewer&) = delete;
  UnpackedViewer& operator=(const UnpackedViewer&) = delete;
  ~UnpackedViewer() {
    if (fd >= 0) ::close(fd);
  }
};

// The texts keep the system's "\r" line breaks; a label shows them as lines.
QString lines(const QString& text) {
  QString shown = text;
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

// The window was drawn for a sans-serif face with a 16-pixel cell; the
// largest size of the metric-compatible face that keeps within it.
QFont cellFont(bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(bold);
  for (int px = 16; px > 6; --px) {
    font.setPixelSize(px);
    if (QFontMetrics(font).height() <= kCellHeight) break;
  }
  return font;
}

// The font that stands in for the one the texts were measured in is wider:
// it is made smaller until the widest line of `texts` fits `width`.
QFont fittedFont(QFont font, const QStringList& texts, int width) {
  auto widest = [&] {
    int w = 0;
    for (const QString& text : texts)
      for (const QString& line : text.split(QLatin1Char('\n')))
        w = std::max(w, QFontMetrics(font).horizontalAdvance(line));
    return w;
  };
  while (widest() > width && font.pixelSize() > 8) font.setPixelSize(font.pixelSize() - 1);
  return font;
}

// A static text as the window was drawn for: one line per line of the text,
// a cell height apart, never wrapped.
class StaticText : public QLabel {
 public:
  StaticText(const QString& text, const QFont& font, const QRect& box, QWidget* parent) : QLabel(text, parent) {
    setGeometry(box);
    setFont(font);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int ascent = QFontMetrics(font()).ascent();
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) p.drawText(0, int(i) * kCellHeight + ascent, lines[i]);
  }
};

// A printout page with a folded corner over a box, the package's own icon.
QIcon launcherIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 60, 20), 1));
  p.setBrush(QColor(200, 150, 80));
  p.drawRect(QRectF(3.5, 17.5, 25, 12));
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  const QPointF page[] = {{8.5, 2.5}, {19.5, 2.5}, {24.5, 7.5}, {24.5, 24.5}, {8.5, 24.5}};
  p.drawPolygon(page, 5);
  p.drawLine(QPointF(19.5, 2.5), QPointF(19.5, 7.5));
  p.drawLine(QPointF(19.5, 7.5), QPointF(24.5, 7.5));
  p.setPen(QPen(QColor(0, 0, 160), 1));
  for (int y = 10; y <= 20; y += 3) p.drawLine(QPointF(11, y + 0.5), QPointF(22, y + 0.5));
  return QIcon(pixmap);
}

}  // namespace

QString LauncherWindow::Title(const LauncherState& state) {
  return QStringLiteral("Przeglądarka ZorPokaz - ") +
         (state.NoPrintouts ? QStringLiteral("Instalator programu") : QStringLiteral("Paczka z wydrukami")) +
         QStringLiteral("  [wersja ") + state.PackageVersion + QStringLiteral("]");
}

LauncherWindow::LauncherWindow(const LauncherState& state, const QString& tempDir, LauncherUi& ui)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_state(state),
      m_tempDir(tempDir),
      m_ui(ui),
      m_isAdmin([] { return ::geteuid() == 0; }) {
  setObjectName(QStringLiteral("ZorPokazPaczka"));
  setWindowTitle(Title(m_state));
  setWindowIcon(launcherIcon());
  setSizeGripEnabled(false);
  resize(kClientWidth, kClientHeight);
  move(150, 200);
  createControls();
}

void LauncherWindow::createControls() {
  const int W = kClientWidth;
  const QFont bold = cellFont(true), normal = cellFont(false);
  const QString installText = m_state.NeedsViewer
                                  ? QStringLiteral(
                                        "Zainstalowanie przeglądarki i rozpakowanie dołączonych wydruków\r"
                                        "w podanym niżej katalogu. Wydruki będzie można obejrzeć później\r"
                                        "uruchamiając program z ikonki utworzonej na pulpicie.")
                                  : QStringLiteral(
                                        "Rozpakowanie dołączonych wydruków w katalogu zainstalowanej\r"
                                        "wcześniej przeglądarki. Wydruki będzie można obejrzeć później\r"
                                        "uruchamiając program z ikonki \"ZorPokaz\" na pulpicie.");
  const QString viewText = lines(QStringLiteral(
      "Szybkie wyświetlenie dołączonych do paczki wydruków.  Wybierz,\r"
      "jeśli nie chcesz instalować przeglądarki do późniejszego wykorzystania."));
  const QFont textFont = fittedFont(normal, {viewText, lines(installText)}, W - 60);

  m_frame = new QGroupBox(this);
  m_frame->setGeometry(10, 0, W - 20, 185);

  m_viewOption = new QRadioButton(QStringLiteral("&Przeglądaj wydruki (bez instalacji)"), this);
  m_viewOption->setFont(bold);
  m_viewOption->setGeometry(20, 18, W - 40, 20);

  m_viewText = new StaticText(viewText, textFont, QRect(40, 37, W - 60, 33), this);

  m_installOption = new QRadioButton(QStringLiteral("&Zainstaluj przeglądarkę w systemie"), this);
  m_installOption->setFont(bold);
  m_installOption->setGeometry(20, 80, W - 40, 20);

  m_installText = new StaticText(lines(installText), textFont, QRect(40, 99, W - 60, 48), this);

  m_dirLabel = new QLabel(QStringLiteral("&Katalog docelowy:"), this);
  m_dirLabel->setFont(normal);
  m_dirLabel->setGeometry(40, 153, 155, 20);

  m_dirEdit = new QLineEdit(m_state.TargetDir, this);
  m_dirEdit->setFont(normal);
  m_dirEdit->setGeometry(158, 152, W - 180, 21);
  m_dirLabel->setBuddy(m_dirEdit);
  createButtons(bold);
  applyState();
}

void LauncherWindow::createButtons(const QFont& bold) {
  const int W = kClientWidth, H = kClientHeight;
  m_helpButton = new QPushButton(QStringLiteral("P&omoc"), this);
  m_helpButton->setFont(bold);
  m_helpButton->setGeometry(10, H - 35, 120, 25);

  m_nextButton = new QPushButton(QStringLiteral("&Dalej"), this);
  m_nextButton->setFont(bold);
  m_nextButton->setGeometry(W - 260, H - 35, 120, 25);
  m_nextButton->setDefault(true);

  m_closeButton = new QPushButton(QStringLiteral("Z&amknij"), this);
  m_closeButton->setFont(bold);
  m_closeButton->setGeometry(W - 130, H - 35, 120, 25);

  connect(m_helpButton, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl(QStringLiteral("http://www.zorel.pl/"))); });
  connect(m_nextButton, &QPushButton::clicked, this, [this] { Proceed(); });
  connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

// What the start-up found decides the captions, the initial choice and what
// can be chosen at all.
void LauncherWindow::applyState() {
  const QList<QWidget*> order = tabOrder();
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  if (!m_state.NeedsViewer) {
    m_installOption->setText(QStringLiteral("&Rozpakowanie dołączonych wydruków"));
    m_dirEdit->setEnabled(false);
  }
  QRadioButton* initial = (m_state.Installed || m_state.NoPrintouts) ? m_installOption : m_viewOption;
  initial->setChecked(true);
  initial->setFocus();
  if (m_state.NoPrintouts) {
    m_viewOption->setEnabled(false);
    m_viewText->setEnabled(false);
  }
}

QList<QWidget*> LauncherWindow::tabOrder() const {
  return {m_viewOption, m_installOption, m_dirEdit, m_helpButton, m_nextButton, m_closeButton};
}

// Tab visits both choices, the unchecked one too (Qt would skip it, as an
// exclusive group of buttons is one stop for it), in the window's order.
bool LauncherWindow::focusNextPrevChild(bool next) {
  const QList<QWidget*> order = tabOrder();
  const qsizetype at = order.indexOf(focusWidget());
  if (at < 0) return QDialog::focusNextPrevChild(next);
  const qsizetype n = order.size();
  for (qsizetype step = 1; step < n; ++step) {
    QWidget* candidate = order[((next ? at + step : at - step) % n + n) % n];
    if (candidate->isEnabled() && candidate->isVisible()) {
      candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;
}

void LauncherWindow::reject() { close(); }

void LauncherWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  Q_EMIT Closed();
}

bool LauncherWindow::Proceed() {
  const bool view = m_viewOption->isChecked();
  QString dir = view ? m_tempDir : m_dirEdit->text();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (view) dir += QStringLiteral("ZorPokaz.tmp/");
  m_state.TargetDir = dir;
  // An empty directory box would otherwise mean the root directory.
  if (!view && m_dirEdit->text().trimmed().isEmpty()) {
    m_ui.ErrorBox(QStringLiteral("Nie można utworzyć katalogu:\r") + m_dirEdit->text());
    return false;
  }
  if (!view && m_state.NeedsViewer && !m_isAdmin()) {
    m_ui.RightsBox(QStringLiteral(
        "Aby zainstalować przeglądarkę w systemie,\rmusisz wywołać program z konta administratora."));
    return false;
  }
  bool done = false;
  if (view) {
    done = proceedView();
    RemoveScratch(dir);
  } else {
    done = proceedInstall();
  }
  if (done) QTimer::singleShot(0, this, &QWidget::close);
  return done;
}

bool LauncherWindow::proceedView() {
  UnpackedViewer viewer;
  if (!Unpack(m_state, true, true, true, m_ui, &viewer.fd)) return false;
  QString why;
  if (!RunViewer(this, m_state.TargetDir + QLatin1String(kViewerName), QStringLiteral("TEMP"), true, viewer.fd, &why)) {
    reportStartFailure(QStringLiteral("Nie można uruchomić programu !"), why);
    return false;
  }
  return true;
}

bool LauncherWindow::proceedInstall() {
  UnpackedViewer viewer;
  if (!Unpack(m_state, m_state.NeedsViewer, true, false, m_ui, &viewer.fd)) return false;
  if (!m_state.NeedsViewer) {
    m_ui.InformationBox(QStringLiteral(
        "Instalacja została zakończona.\rAby obejrzeć wydruki, uruchom teraz przeglądarkę\r"
        "przy pomocy ikonki \"ZorPokaz\" na pulpicie."));
    return true;
  }
  QString why;
  if (!RunViewer(this, m_state.TargetDir + QLatin1String(kViewerName), QStringLiteral("INST"), false, viewer.fd,
                 &why)) {
    reportStartFailure(QStringLiteral("Podczas instalacji programu wystąpił błąd !"), why);
    return false;
  }
  m_ui.InformationBox(QStringLiteral(
      "Instalacja programu została zakończona.\rAby obejrzeć wydruki, uruchom przeglądarkę przy pomocy\r"
      "nowej ikonki \"ZorPokaz\" utworzonej teraz na pulpicie."));
  return true;
}

// Said on standard error for whoever started the package from a terminal,
// and under the message in its box for whoever double-clicked it.
void LauncherWindow::reportStartFailure(const QString& text, const QString& why) {
  const QString details = StartFailureDetails(MissingLibraries(m_state.ViewerLibraries), why);
  QString line = text + QLatin1Char('\n') + details;
  line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  std::fprintf(stderr, "zorpokaz-paczka: %s\n", line.toLocal8Bit().constData());
  m_ui.ErrorBoxWithDetails(text, details);
}

}  // namespace zorpokaz::paczka
