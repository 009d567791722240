#pragma once

#include "platform/sql/BackupChecksum.h"

#include <QByteArray>

#include <optional>

// The first 100 bytes of a backup: a SQLite database header, with this
// system's mark and checksum in fields databases leave alone.
namespace BackupHeader {

constexpr qint64 kSize = 100;
// The header's application number of the backups this system writes, which
// tells the checksum they carry: the page checksum, or, written by earlier
// versions, the SHA-256 one or none (a checksum of 0).
constexpr quint32 kMark = 0x5A454D43;
constexpr quint32 kSha256Mark = 0x5A454D42;
constexpr int kMarkAt = 68;
constexpr int kChecksumAt = PageChecksum::kAt;

quint32 Number(const QByteArray& header, int at);
void SetNumber(QByteArray& header, int at, quint32 number);
// The page size of a file of that header and length when the length fits
// the page size and the page count of the header.
std::optional<qint64> WholePageSize(const QByteArray& header, qint64 length);
// Makes the first page of a copied database of that many pages a backup's:
// read without a WAL, its pages counted, the mark on and the checksum 0.
void Mark(char* firstPage, quint32 pages);
// The change counter and the schema cookie of a database's header, which
// every connection that has read it compares with what it read.
quint32 ChangeCounter(const char* header);
quint32 SchemaCookie(const char* header);
// Makes a backup's first page that of the database restored from it, over
// a file of that change counter and schema cookie: both moved on, so that
// no connection takes its pages or schema for those it read before, and
// neither mark nor checksum on it (a copy of a database is no backup).
void MarkRestored(char* firstPage, quint32 changeCounter, quint32 schemaCookie);
// The first page, of a database's page size and text encoding, of an empty
// database of that change counter.
QByteArray EmptyDatabasePage(const QByteArray& firstPage, quint32 changeCounter);

}  // namespace BackupHeader
