// The tab-stop list drawing the list window and the file chooser share: the
// second column starts at the tab stop, the first is never pushed over it,
// and a row without a description draws its name alone.
#include "ui/tabbeditemdelegate.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zorpokaz {
namespace {

// Columns of the first row of `list` that hold ink, from left to right.
std::vector<int> inkedColumns(QListWidget& list) {
  list.resize(400, 80);
  list.show();
  QCoreApplication::processEvents();
  const QImage shot = list.viewport()->grab().toImage();
  const QRect row = list.visualItemRect(list.item(0));
  std::vector<int> columns;
  for (int x = 0; x < shot.width(); ++x)
    for (int y = row.top(); y <= row.bottom(); ++y)
      if (qGray(shot.pixel(x, y)) < 128) {
        columns.push_back(x);
        break;
      }
  return columns;
}

TEST(TabbedItemDelegate, TheDescriptionStartsAtTheTabStop) {
  QListWidget list;
  auto* tabs = new TabbedItemDelegate(0, &list);
  tabs->setTabDistance(200);
  list.setItemDelegate(tabs);
  list.addItem(QStringLiteral("ab.wyd\tOpis"));
  const std::vector<int> ink = inkedColumns(list);
  ASSERT_FALSE(ink.empty());
  EXPECT_LT(ink.front(), 20);  // the name at the left edge
  const auto gap = std::find_if(ink.begin(), ink.end(), [](int x) { return x >= 100; });
  ASSERT_NE(gap, ink.end());
  EXPECT_GE(*gap, 200);  // nothing between the name and the stop
  EXPECT_LT(*gap, 215);

  // A row without a description: the name and nothing after it. The style's
  // own height is kept when none is given.
  QListWidget bare;
  bare.setItemDelegate(new TabbedItemDelegate(0, &bare));
  bare.addItem(QStringLiteral("ab.wyd\t"));
  const std::vector<int> alone = inkedColumns(bare);
  ASSERT_FALSE(alone.empty());
  EXPECT_LT(alone.back(), 100);
  QListWidget plain;
  plain.addItem(QStringLiteral("ab.wyd"));
  plain.show();
  EXPECT_EQ(bare.visualItemRect(bare.item(0)).height(), plain.visualItemRect(plain.item(0)).height());
}

}  // namespace
}  // namespace zorpokaz
