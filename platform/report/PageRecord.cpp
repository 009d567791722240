#include "platform/report/PageRecord.h"

QDataStream& operator<<(QDataStream& stream, const PageCell& cell) {
  stream << static_cast<quint8>(cell.kind) << cell.rect << cell.text << cell.font << qint32(cell.alignment)
         << cell.band << cell.item << cell.color << cell.background << cell.frame;
  const bool withPicture = cell.kind == PageCell::Kind::Picture;
  stream << withPicture;
  if (withPicture) stream << cell.picture;
  return stream;
}

QDataStream& operator>>(QDataStream& stream, PageCell& cell) {
  quint8 kind = 0;
  qint32 alignment = 0;
  bool withPicture = false;
  stream >> kind >> cell.rect >> cell.text >> cell.font >> alignment >> cell.band >> cell.item >> cell.color >> cell.background >> cell.frame >>
      withPicture;
  cell.kind = static_cast<PageCell::Kind>(kind);
  cell.alignment = alignment;
  if (withPicture) stream >> cell.picture;
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const PageRecord& page) {
  stream << qint32(page.number) << quint32(page.cells.size());
  for (const PageCell& cell : page.cells) stream << cell;
  return stream;
}

QDataStream& operator>>(QDataStream& stream, PageRecord& page) {
  qint32 number = 0;
  quint32 count = 0;
  stream >> number >> count;
  page.number = number;
  page.cells.clear();
  for (quint32 index = 0; index < count && stream.status() == QDataStream::Ok; ++index) {
    PageCell cell;
    stream >> cell;
    page.cells.push_back(std::move(cell));
  }
  return stream;
}
