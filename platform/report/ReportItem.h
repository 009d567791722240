#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

// One printable element of a band, placed in report units from the band's
// top-left corner.
enum class ItemKind {
  Label,       // Caption
  DataText,    // DataField, through DisplayMask when given
  Memo,        // Caption; lines wrap at the width and the item stretches
  Picture,     // PictureFile, or the bytes of DataField
  Shape,       // Shape
  Line,        // a horizontal line along the top, or vertical when narrower than tall
  Sum,         // Sum(DataField) of the group or report, through DisplayMask
  PageNumber,  // Caption followed by the page's number
  Date,        // the date of the run
};

enum class ShapeKind { Rectangle, Ellipse };

struct ReportItem {
  ItemKind Kind = ItemKind::Label;
  QString Name;
  int Tag = 0;
  bool Enabled = true;
  double Left = 0;
  double Top = 0;
  double Width = 100;
  double Height = 17;
  QString Caption;
  QString DataField;
  QString DisplayMask;
  QString PictureFile;
  QFont Font;
  int Alignment = 0x21;  // Qt::AlignLeft | Qt::AlignTop
  QColor Color = Qt::black;  // of the text, or of a shape's line
  QColor BackColor;          // none when invalid: the band shows through
  bool Frame = false;        // a text framed on its four sides
  bool AutoStretch = false;  // a data text grows downwards with its wrapped text
  bool CutAtFrame = false;   // a memo keeps to its height: the lines below it are left out
  ShapeKind Shape = ShapeKind::Rectangle;
  // Runs as the item prints, with the text it is about to print.
  std::function<void(ReportItem& item, QString& value)> OnPrint;

  ReportItem();
};
