// TSheetPicture: the print dialog's small picture of the sheets a print will
// make: the sheet sides in the order they leave the printer, pass by pass,
// each with the page numbers it carries (a blank side or half stays blank),
// and the number of sheets. Long runs show their first sides, an ellipsis and
// the last side. Owns nothing but its copy of the preview; pixels.
#pragma once

#include <QString>
#include <QWidget>

#include "sheets/sheetpreview.h"

namespace zorpokaz {

class TSheetPicture : public QWidget {
  Q_OBJECT

 public:
  explicit TSheetPicture(QWidget* parent = nullptr);

  void setPreview(const SheetPreview& preview);
  // Instead of sheets, a short note (a page set that cannot be printed).
  void setNote(const QString& note);
  const SheetPreview& Preview() const { return m_preview; }
  const QString& Note() const { return m_note; }
  // The sides as drawn, pass by pass, e.g. "2|_ 4|5 / _|3 _|1" or "3 2 1"; the
  // ellipsis shows as "…". For tests and the accessible description.
  QString Describe() const;

  // Of n sides, which are drawn when only `slots` fit: all, or the first
  // slots - 2, an ellipsis (-1) and the last one.
  static std::vector<int> ShownSides(int n, int slots);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize glyphSize() const;
  int slotsPerPass() const;
  int drawPass(QPainter& p, int top, const QString& caption, const std::vector<PreviewSide>& sides) const;
  void drawSide(QPainter& p, const QRect& r, const PreviewSide& side) const;

  SheetPreview m_preview;
  QString m_note;
};

}  // namespace zorpokaz
