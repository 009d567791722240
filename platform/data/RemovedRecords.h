#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// The records this process deleted, by table (its file and name): SQLite
// gives a deleted record's row id, or its key, to a later record, and a
// bookmark made before the deletion must not find that one. Also those
// whose key (every value, in a table without one) it rewrote, and those it
// gave another name (a table without row ids names a record by its key): a
// bookmark still finds them, and not a record given their old name.
namespace RemovedRecords {

// How many deletions and rewrites the table has seen: what a bookmark
// remembers.
qint64 Count(const QString& table);
void Remove(const QString& table, const QString& record);
void Rewrite(const QString& table, const QString& record);
// The record named so is named otherwise from now on, and read by that key.
void Rename(const QString& table, const QString& record, const QString& renamed, const QList<QVariant>& key);
bool RewrittenSince(const QString& table, const QString& record, qint64 count);
// Every record of the table (emptied, dropped or made again).
void RemoveAll(const QString& table);
// What became of the record named so when the count was taken: nothing
// once it was deleted since, else its name now and, where it was renamed
// (moved), the key it was given last.
struct Followed {
  QString record;
  QList<QVariant> key;
  bool moved = false;
};
std::optional<Followed> Follow(const QString& table, const QString& record, qint64 count);

}  // namespace RemovedRecords
