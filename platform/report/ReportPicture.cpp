#include "platform/report/ReportPicture.h"

#include <QBuffer>
#include <QImageReader>

namespace {

constexpr int kPictureMegabytes = 64;

QImage readPicture(QImageReader& reader) {
  reader.setAllocationLimit(kPictureMegabytes);
  reader.setAutoTransform(true);
  QImage picture;
  if (!reader.read(&picture)) return {};
  return picture;
}

}  // namespace

QImage LoadPicture(const QString& fileName) {
  if (fileName.isEmpty()) return {};
  QImageReader reader(fileName);
  return readPicture(reader);
}

QImage PictureFromBytes(const QByteArray& bytes) {
  if (bytes.isEmpty()) return {};
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  return readPicture(reader);
}
