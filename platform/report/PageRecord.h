#pragma once

#include <QColor>
#include <QDataStream>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <vector>

// What a laid-out page holds: plain drawing cells, each at its place in
// report units. Text cells keep the band they came from, so the exports can
// rebuild a line per band.
struct PageCell {
  enum class Kind : quint8 { Text, Line, Rectangle, Ellipse, Picture };
  Kind kind = Kind::Text;
  QRectF rect;
  QString text;
  QFont font;
  int alignment = 0;
  QColor color = Qt::black;
  QColor background;  // invalid: nothing behind the text
  bool frame = false;
  QImage picture;
  quint32 band = 0;  // the band's sequence number in the report
  QString item;      // the item's name
  // A wrapped text item's whole text, as its data gave it, on the cell of its
  // first line; the cells of its other lines are its continuation. An item
  // with no text leaves one cell with none, so that exports keep its column.
  QString whole;
  bool continuation = false;
};

struct PageRecord {
  int number = 0;
  std::vector<PageCell> cells;
};

QDataStream& operator<<(QDataStream& stream, const PageCell& cell);
QDataStream& operator>>(QDataStream& stream, PageCell& cell);
QDataStream& operator<<(QDataStream& stream, const PageRecord& page);
QDataStream& operator>>(QDataStream& stream, PageRecord& page);
