// TabbedItemDelegate: draws list items whose text holds TAB characters the
// way a list box with tab stops does: every TAB moves to the next multiple of
// the tab distance. The list window and the file chooser's list use it. Items
// have a fixed height, or the style's own when it is 0. Units: pixels.
#pragma once

#include <QStyledItemDelegate>

namespace zorpokaz {

class TabbedItemDelegate : public QStyledItemDelegate {
 public:
  TabbedItemDelegate(int itemHeight, QObject* parent);  // itemHeight 0: the style's

  int tabDistance() const { return m_tabDistance; }
  void setTabDistance(int pixels) { m_tabDistance = pixels > 0 ? pixels : 1; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int m_itemHeight;
  int m_tabDistance = 80;
};

// A list box's tab width for a list `listWidth` pixels wide: the date column
// keeps 180 pixels; the result is in quarters of the average character width.
int ListTabWidth(int listWidth, int averageCharWidth);

}  // namespace zorpokaz
