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
  if (target.source != bookmarkSource()) return std::nullopt;
  const std::optional<RemovedRecords::Followed> now =
      RemovedRecords::Follow(target.source, target.record, target.removals);
  if (!now) return std::nullopt;
  const auto byKey = [this](const QList<QVariant>& values) -> std::optional<Row> {
    if (values.size() != keyColumns_.size() || values.isEmpty()) return std::nullopt;
    Row key{0, QList<QVariant>(Columns().size())};
    for (int i = 0; i < keyColumns_.size(); ++i) key.values[keyColumns_[i]] = values[i];
    return ReadRecord(key);
  };
  if (withoutRowId_) {
    // The key it was last given here names it; a record found under
    // another name is another.
    const auto named = [&](std::optional<Row> row) -> std::optional<Row> {
      if (row && recordName(*row) == now->record) return row;
      return std::nullopt;
    };
    if (read) return named(*read);
    return named(byKey(now->moved ? now->key : target.key));
  }
  // A row id stays with its record through a change of key; but another
  // program may have given it to a new record: that one does not hold the
  // bookmark's key.
  const bool rewritten = RemovedRecords::RewrittenSince(target.source, target.record, target.removals);
  const auto held = [&](std::optional<Row> row) -> std::optional<Row> {
    if (!row || rewritten || bookmarkKey(*row) == target.key) return row;
    return std::nullopt;
  };
  if (read) return held(*read);
  if (std::optional<Row> found = held(readByRowId(target.record.toLongLong()))) return found;
  // Another dataset finds it by its key where its row id was not kept.
  if (target.maker == Serial() || rewritten) return std::nullopt;
  return byKey(target.key);
}
