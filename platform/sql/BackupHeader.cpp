#include "platform/sql/BackupHeader.h"

#include <QtEndian>

namespace {

// The file format's write and read versions: 1, a database read and written
// without a WAL, where the copy left the WAL's 2 of the database copied.
constexpr int kFormatVersionsAt = 18;
constexpr int kChangeCounterAt = 24;
constexpr int kPageCountAt = 28;
// The page count holds only while this number is the change counter.
constexpr int kValidForAt = 92;

quint32 NumberAt(const char* header, int at) { return qFromBigEndian<quint32>(header + at); }
void SetNumberAt(char* header, int at, quint32 number) { qToBigEndian(number, header + at); }

}  // namespace

namespace BackupHeader {

quint32 Number(const QByteArray& header, int at) { return NumberAt(header.constData(), at); }

void SetNumber(QByteArray& header, int at, quint32 number) { SetNumberAt(header.data(), at, number); }

std::optional<qint64> WholePageSize(const QByteArray& header, qint64 length) {
  if (header.size() < kSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return std::nullopt;
  const int written = (uchar(header[16]) << 8) | uchar(header[17]);
  const qint64 pageSize = written == 1 ? 65536 : written;
  if (pageSize < 512 || length % pageSize != 0) return std::nullopt;
  const quint32 pages = Number(header, kPageCountAt);
  const bool counted = Number(header, kValidForAt) == Number(header, kChangeCounterAt);
  if (counted && length < qint64(pages) * pageSize) return std::nullopt;
  return pageSize;
}

void Mark(char* firstPage, quint32 pages) {
  firstPage[kFormatVersionsAt] = firstPage[kFormatVersionsAt + 1] = 1;
  SetNumberAt(firstPage, kPageCountAt, pages);
  SetNumberAt(firstPage, kValidForAt, NumberAt(firstPage, kChangeCounterAt));
  SetNumberAt(firstPage, kMarkAt, kMark);
  SetNumberAt(firstPage, kChecksumAt, 0);
}

}  // namespace BackupHeader
