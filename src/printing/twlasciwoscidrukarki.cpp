#include "printing/twlasciwoscidrukarki.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace zorpokaz {

TWlasciwosciDrukarki::TWlasciwosciDrukarki(const QString& queue,
                                           std::vector<PrinterOptionGroup> groups,
                                           const PrinterSettingsRecord& record, QWidget* parent)
    : QDialog(parent), m_groups(std::move(groups)) {
  setWindowTitle(QStringLiteral("Właściwości drukarki %1").arg(queue));
  auto* layout = new QVBoxLayout(this);
  QWidget* options = buildGroups(record);
  // A long driver list scrolls down within the screen, never sideways.
  const int most = screen() ? screen()->availableGeometry().height() * 3 / 4 : 600;
  if (options->sizeHint().height() <= most) {
    layout->addWidget(options);
  } else {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumSize(options->sizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                           most);
    scroll->setWidget(options);
    layout->addWidget(scroll);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QWidget* TWlasciwosciDrukarki::buildGroups(const PrinterSettingsRecord& record) {
  auto* inner = new QWidget;
  auto* column = new QVBoxLayout(inner);
  column->setContentsMargins(0, 0, 0, 0);
  if (m_groups.empty())
    column->addWidget(new QLabel(QStringLiteral("Ta drukarka nie ma ustawień do wyboru."), inner));
  for (const PrinterOptionGroup& group : m_groups) {
    auto* box = new QGroupBox(group.title, inner);
    auto* form = new QFormLayout(box);
    for (const PrinterOption& option : group.options) {
      auto* list = new QComboBox(box);
      list->setObjectName(QString::fromUtf8(option.keyword));
      for (const PrinterChoice& choice : option.choices)
        list->addItem(choice.text, choice.value);
      const auto chosen = record.find(option.keyword);
      const QByteArray value = chosen != record.end() ? chosen->second : option.defaultValue;
      int at = list->findData(value);
      if (at < 0)
        at = list->findData(option.defaultValue);
      list->setCurrentIndex(qMax(at, 0));
      auto* label = new QLabel(option.text + QLatin1Char(':'), box);
      label->setBuddy(list);
      form->addRow(label, list);
      m_lists.emplace_back(&option, list);
    }
    column->addWidget(box);
  }
  column->addStretch();
  return inner;
}

PrinterSettingsRecord TWlasciwosciDrukarki::Record() const {
  PrinterSettingsRecord record;
  for (const auto& [option, list] : m_lists) {
    const QByteArray value = list->currentData().toByteArray();
    if (value != option->defaultValue || option->keyword == kColourOption)
      record[option->keyword] = value;
  }
  return record;
}

QComboBox* TWlasciwosciDrukarki::list(const QByteArray& keyword) const {
  for (const auto& [option, list] : m_lists)
    if (option->keyword == keyword)
      return list;
  return nullptr;
}

}  // namespace zorpokaz
