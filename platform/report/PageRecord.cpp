#include "platform/report/PageRecord.h"

#include <cstring>

namespace {

// A page's picture is mostly paper: its pixels through a quick deflate cost a
// fraction of PNG's row filters, which made recording a page slower than
// drawing it. Pictures with a colour table go as 32-bit pixels.
void WritePicture(QDataStream& stream, const QImage& picture) {
  const QImage image = picture.colorTable().isEmpty() ? picture : picture.convertToFormat(QImage::Format_ARGB32);
  stream << qint32(image.width()) << qint32(image.height()) << qint32(image.format()) << qint32(image.dotsPerMeterX())
         << qint32(image.dotsPerMeterY());
  if (image.isNull()) return;
  stream << qCompress(image.constBits(), image.sizeInBytes(), 1);
}

QImage ReadPicture(QDataStream& stream) {
  qint32 width = 0, height = 0, format = 0, dotsX = 0, dotsY = 0;
  stream >> width >> height >> format >> dotsX >> dotsY;
  if (width <= 0 || height <= 0 || format <= QImage::Format_Invalid || format >= QImage::NImageFormats) return {};
  QByteArray compressed;
  stream >> compressed;
  const QByteArray pixels = qUncompress(compressed);
  QImage image(width, height, static_cast<QImage::Format>(format));
  if (image.isNull() || pixels.size() != image.sizeInBytes()) return {};
  std::memcpy(image.bits(), pixels.constData(), static_cast<std::size_t>(pixels.size()));
  image.setDotsPerMeterX(dotsX);
  image.setDotsPerMeterY(dotsY);
  return image;
}

}  // namespace

QDataStream& operator<<(QDataStream& stream, const PageCell& cell) {
  stream << static_cast<quint8>(cell.kind) << cell.rect << cell.text << cell.font << qint32(cell.alignment)
         << cell.band << cell.item << cell.color << cell.background << cell.frame << cell.whole << cell.continuation;
  const bool withPicture = cell.kind == PageCell::Kind::Picture;
  stream << withPicture;
  if (withPicture) WritePicture(stream, cell.picture);
  return stream;
}

QDataStream& operator>>(QDataStream& stream, PageCell& cell) {
  quint8 kind = 0;
  qint32 alignment = 0;
  bool withPicture = false;
  stream >> kind >> cell.rect >> cell.text >> cell.font >> alignment >> cell.band >> cell.item >> cell.color >>
      cell.background >> cell.frame >> cell.whole >> cell.continuation >> withPicture;
  cell.kind = static_cast<PageCell::Kind>(kind);
  cell.alignment = alignment;
  if (withPicture) cell.picture = ReadPicture(stream);
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
