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
};

struct PageRecord {
  int number = 0;
  std::vector<PageCell> cells;
};

QDataStream& operator<<(QDataStream& stream, const PageCell& cell);
QDataStream& operator>>(QDataStream& stream, PageCell& cell);
QDataStream& operator<<(QDataStream& stream, const PageRecord& page);
QDataStream& operator>>(QDataStream& stream, PageRecord& page);
