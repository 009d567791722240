#pragma once

#include <QString>

// The records this process deleted, by table (its file and name): SQLite
// gives a deleted record's row id, or its key, to a later record, and a
// bookmark made before the deletion must not find that one. Also those
// whose key (every value, in a table without one) it rewrote: a bookmark
// still finds them.
namespace RemovedRecords {

// How many deletions and rewrites the table has seen: what a bookmark
// remembers.
qint64 Count(const QString& table);
void Remove(const QString& table, const QString& record);
void Rewrite(const QString& table, const QString& record);
bool RewrittenSince(const QString& table, const QString& record, qint64 count);
// Every record of the table (emptied, dropped or made again).
void RemoveAll(const QString& table);
// Whether the record was deleted after the count was taken.
bool RemovedSince(const QString& table, const QString& record, qint64 count);

}  // namespace RemovedRecords
