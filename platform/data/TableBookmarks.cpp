// A table's bookmarks name their record by its key, or by its row id in a
// table without one, within the table in its file: every dataset on the
// table finds the record with them. The dataset that made one also follows
// its record through a change of key.

#include "platform/data/RemovedRecords.h"
#include "platform/data/Table.h"
#include "platform/engine/EngineConnection.h"


QString Table::bookmarkSource() { return connection().Identity() + u'\x1f' + tableName_.toLower(); }

QString Table::recordName(const Row& row) const {
  return withoutRowId_ ? keyText(row.values) : QString::number(rowIdOf(row));
}

// Its key's values; every value of a record without a key.
QList<QVariant> Table::bookmarkKey(const Row& row) const {
  if (keyColumns_.isEmpty()) return row.values;
  QList<QVariant> key;
  for (const int column : keyColumns_) key.append(row.values[column]);
  return key;
}

BookmarkTarget Table::BookmarkOf(const Row& row) {
  BookmarkTarget target;
  target.source = bookmarkSource();
  target.record = recordName(row);
  target.key = bookmarkKey(row);
  target.removals = RemovedRecords::Count(target.source);
  return target;
}

std::optional<Dataset::Row> Table::BookmarkedRecord(const BookmarkTarget& target, const Row* read) {
  if (target.source != bookmarkSource() || RemovedRecords::RemovedSince(target.source, target.record, target.removals))
    return std::nullopt;
  // Another program may have given the record's row id, or the key it was
  // known by, to a new record: that one does not hold the bookmark's key.
  const auto held = [&](std::optional<Row> row) -> std::optional<Row> {
    if (!row || bookmarkKey(*row) == target.key ||
        RemovedRecords::RewrittenSince(target.source, target.record, target.removals))
      return row;
    return std::nullopt;
  };
  if (read) return held(*read);
  const bool mine = target.maker == Serial();
  // A row id stays with its record through a change of key.
  if (!withoutRowId_ && (mine || keyColumns_.isEmpty())) return held(readByRowId(target.record.toLongLong()));
  std::optional<Row> found;
  if (target.key.size() == keyColumns_.size()) {
    Row key{0, QList<QVariant>(Columns().size())};
    for (int i = 0; i < keyColumns_.size(); ++i) key.values[keyColumns_[i]] = target.key[i];
    found = ReadRecord(key);
  }
  if (!mine || (found && found->identity == target.identity)) return found;
  // Its own record may have been given another key since.
  return keyOfIdentity_.contains(target.identity) ? held(ShownRecord(target.identity)) : found;
}
