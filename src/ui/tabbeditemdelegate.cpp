#include "ui/tabbeditemdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

namespace zorpokaz {

TabbedItemDelegate::TabbedItemDelegate(int itemHeight, QObject* parent)
    : QStyledItemDelegate(parent), m_itemHeight(itemHeight) {}

void TabbedItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QString text = opt.text;
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  const bool selected = opt.state & QStyle::State_Selected;
  painter->save();
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                                    selected ? QPalette::HighlightedText : QPalette::Text));
  QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
  textOption.setWrapMode(QTextOption::NoWrap);
  textOption.setTabStopDistance(m_tabDistance);
  painter->drawText(QRectF(opt.rect.adjusted(2, 0, 0, 0)), text, textOption);
  painter->restore();
}

QSize TabbedItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QSize own = QStyledItemDelegate::sizeHint(option, index);
  return m_itemHeight > 0 ? QSize(own.width(), m_itemHeight) : own;
}

int ListTabWidth(int listWidth, int averageCharWidth) {
  if (averageCharWidth <= 0) return 0;
  return (listWidth - 180) * 4 / (2 * averageCharWidth);
}

}  // namespace zorpokaz
