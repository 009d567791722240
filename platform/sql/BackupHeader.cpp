#include "platform/sql/BackupHeader.h"

#include <QtEndian>

#include <cstring>

namespace {

// The file format's write and read versions: 1, a database read and written
// without a WAL, where the copy left the WAL's 2 of the database copied.
constexpr int kFormatVersionsAt = 18;
constexpr int kChangeCounterAt = 24;
constexpr int kPageCountAt = 28;
constexpr int kFreeListAt = 32;  // its first page and its length
constexpr int kSchemaCookieAt = 40;
constexpr int kLargestRootAt = 52;  // of auto-vacuum databases
constexpr int kIncrementalVacuumAt = 64;
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

quint32 ChangeCounter(const char* header) { return NumberAt(header, kChangeCounterAt); }

quint32 SchemaCookie(const char* header) { return NumberAt(header, kSchemaCookieAt); }

void MarkRestored(char* firstPage, quint32 changeCounter, quint32 schemaCookie) {
  SetNumberAt(firstPage, kChangeCounterAt, changeCounter);
  SetNumberAt(firstPage, kValidForAt, changeCounter);
  SetNumberAt(firstPage, kSchemaCookieAt, schemaCookie);
  SetNumberAt(firstPage, kMarkAt, 0);
  SetNumberAt(firstPage, kChecksumAt, 0);
}

QByteArray EmptyDatabasePage(const QByteArray& firstPage, quint32 changeCounter) {
  QByteArray page(firstPage.size(), '\0');
  std::memcpy(page.data(), firstPage.constData(), kSize);
  char* header = page.data();
  SetNumberAt(header, kPageCountAt, 1);
  SetNumberAt(header, kFreeListAt, 0);
  SetNumberAt(header, kFreeListAt + 4, 0);
  SetNumberAt(header, kLargestRootAt, 0);
  SetNumberAt(header, kIncrementalVacuumAt, 0);
  MarkRestored(header, changeCounter, NumberAt(header, kSchemaCookieAt) + 1);
  // The schema table's root: a table leaf of no cells, its content area
  // starting where the page's reserved bytes do (0 for 65536).
  constexpr char kTableLeaf = 0x0D;
  constexpr int kReservedAt = 20;
  header[kSize] = kTableLeaf;
  const int usable = int(page.size()) - uchar(header[kReservedAt]);
  const int contentStart = usable == 65536 ? 0 : usable;
  header[kSize + 5] = char(contentStart >> 8);
  header[kSize + 6] = char(contentStart & 0xFF);
  return page;
}

}  // namespace BackupHeader
