#include "platform/data/Table.h"

#include "platform/data/RecordLock.h"
#include "platform/data/RemovedRecords.h"
#include "platform/data/StoredValue.h"
#include "platform/data/TypeTable.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"
#include "platform/sqlite/Statement.h"
#include "platform/sqlite/StatementCache.h"
#include "platform/sqlite/WriteTransaction.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>

using SqlText::Quoted;

namespace {

QStringList fieldNamesOf(const QString& fields) {
  QStringList names;
  for (const QString& name : fields.split(u';', Qt::SkipEmptyParts)) names.append(name.trimmed());
  return names;
}

// An index name is unique in the whole SQLite file, not only in its table.
QString indexNameFor(const QString& table, const QString& index) {
  return index.startsWith(table + u'_', Qt::CaseInsensitive) ? index : table + u'_' + index;
}

// Read back, the key is taken off again: a non-unique index ascending on
// fields and key orders as one on the fields alone does in a dataset. The
// mark in its text tells it from an index defined on those fields.
bool carriesKey(const IndexDef& index, const QStringList& keyFields) {
  return !keyFields.isEmpty() && !(index.Options & (ixUnique | ixDescending));
}
const QString kCarriedKey = QStringLiteral("/* key */ ");

// Always the connection's own file: left unqualified, SQLite would also look
// in every attached file (the general database, other companies).
QString InMain(const QString& name) { return QStringLiteral("main.") + Quoted(name); }

}  // namespace

// The writes of one Post or Delete. What the table knows of its records'
// identities changes only once they are committed.
class Table::Write : public Dataset::PendingWrite {
 public:
  explicit Write(Table& table) : table_(table), transaction_(table.connection()) { table_.identityChanges_.clear(); }
  ~Write() override { table_.identityChanges_.clear(); }
  void Commit() override {
    transaction_.Commit();
    for (const auto& change : table_.identityChanges_) change();
  }

 private:
  Table& table_;
  WriteTransaction transaction_;
};

Table::Table(QObject* owner) : IndexedDataset(owner) {}

Table::~Table() = default;

void Table::SetTableName(const QString& name) {
  CheckInactive();
  tableName_ = name;
}

void Table::SetReadOnly(bool readOnly) {
  CheckInactive();
  readOnly_ = readOnly;
}

void Table::checkTableName() const {
  if (tableName_.trimmed().isEmpty()) throw EDatabaseError(EngineText::MissingTableName);
}

Connection& Table::connection() {
  if (!connection_) connection_ = OpenDatabaseConnection();
  return *connection_;
}

void Table::ReleaseSource() {
  IndexedDataset::ReleaseSource();
  connection_.reset();
  lockFile_.reset();
  keyColumns_.clear();
  identities_.clear();
  keyOfIdentity_.clear();
  identityOfRowId_.clear();
  rowIdOfIdentity_.clear();
  retiredRowIds_.clear();
  lastRead_.reset();
  startAt_.reset();
}

QString Table::tableText() const { return QStringLiteral("Table: %1").arg(tableName_); }

std::unique_ptr<Dataset::PendingWrite> Table::BeginWrite() { return std::make_unique<Write>(*this); }

std::unique_ptr<RecordLock> Table::LockRecord(const Row& row) {
  QString key;
  if (keyColumns_.isEmpty())
    key = QStringLiteral("rowid:%1").arg(rowIdOf(row));
  else
    for (const int column : keyColumns_) {
      const QVariant& value = row.values[column];
      key += (value.isNull() ? QStringLiteral("\x01") : value.toString()) + u'\x1f';
    }
  if (!lockFile_) lockFile_ = RecordLock::KeepSideFile(connection().FileName());
  return RecordLock::Acquire(connection().FileName(), tableName_, key);
}

bool Table::Exists() {
  if (Active()) return true;
  if (tableName_.trimmed().isEmpty()) return false;
  return OpenDatabaseConnection()->TableExists(tableName_);
}

QString Table::selectList(const QList<Column>& columns) const {
  QStringList names;
  if (!withoutRowId_) names.append(QStringLiteral("rowid"));
  for (const Column& column : columns) names.append(Quoted(column.name));
  return names.join(QStringLiteral(", "));
}

// A table kept in key order without row ids (as the SQL Server mapper makes
// tables with a primary key) identifies its records by their key values.
QString Table::keyText(const QList<QVariant>& values) const {
  QStringList parts;
  for (const int column : keyColumns_) {
    const QVariant& value = values[column];
    parts.append(value.isNull() ? QStringLiteral("\x01") : QString::number(value.typeId()) + u':' + value.toString());
  }
  return parts.join(u'\x1f');
}

qint64 Table::identityOfKey(const QList<QVariant>& values) {
  const QString key = keyText(values);
  const auto found = identities_.find(key);
  if (found != identities_.end()) return found->second;
  rememberKey(key, ++lastIdentity_);
  return lastIdentity_;
}

// The key text a record's identity is known by, both ways, so that
// forgetting an identity does not look through every key read.
void Table::rememberKey(const QString& key, qint64 identity) {
  if (const auto held = identities_.find(key); held != identities_.end()) keyOfIdentity_.erase(held->second);
  forgetKey(identity);
  identities_[key] = identity;
  keyOfIdentity_[identity] = key;
}

void Table::forgetKey(qint64 identity) {
  const auto known = keyOfIdentity_.find(identity);
  if (known == keyOfIdentity_.end()) return;
  identities_.erase(known->second);
  keyOfIdentity_.erase(known);
}

// The row id itself, so that reading keeps nothing per record; but SQLite
// hands a deleted row id out again, and the deleted record's bookmark must
// not find the new one: the records this table added, and those read under
// a row id it deleted, get identities of their own, from the lowest number
// up, where no row id SQLite hands out lies.
qint64 Table::identityOfRowId(qint64 rowId) {
  if (!identityOfRowId_.empty())
    if (const auto found = identityOfRowId_.find(rowId); found != identityOfRowId_.end()) return found->second;
  if (retiredRowIds_.empty() || !retiredRowIds_.contains(rowId)) return rowId;
  const qint64 identity = ++lastOwnIdentity_;
  identityOfRowId_[rowId] = identity;
  rowIdOfIdentity_[identity] = rowId;
  return identity;
}

qint64 Table::rowIdOf(const Row& row) const {
  if (const auto found = rowIdOfIdentity_.find(row.identity); found != rowIdOfIdentity_.end()) return found->second;
  // One of its own identities no longer held names a deleted record.
  if (row.identity <= lastOwnIdentity_ || retiredRowIds_.contains(row.identity))
    throw EDatabaseError(EngineText::RecordDeleted, tableText());
  return row.identity;
}

void Table::forgetIdentity(qint64 identity) {
  forgetKey(identity);
  if (withoutRowId_) return;
  qint64 rowId = identity;
  if (const auto own = rowIdOfIdentity_.find(identity); own != rowIdOfIdentity_.end()) {
    rowId = own->second;
    identityOfRowId_.erase(rowId);
    rowIdOfIdentity_.erase(own);
  }
  retiredRowIds_.insert(rowId);
}

Dataset::Row Table::rowOf(const Statement& select) {
  Row row = RecycledRow();
  const int first = withoutRowId_ ? 0 : 1;
  row.values.resize(select.ColumnCount() - first);
  for (int i = first; i < select.ColumnCount(); ++i) select.ColumnInto(i, row.values[i - first]);
  row.identity = withoutRowId_ ? identityOfKey(row.values) : identityOfRowId(select.Column(0).toLongLong());
  return row;
}

Dataset::Records Table::ReadRecords() {
  checkTableName();
  Records records;
  std::map<int, int> keyByPosition;  // position in the key -> column
  {
    CachedStatement info(connection(), QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?, 'main')"));
    info->Bind(1, tableName_);
    while (info->Step()) {
      Column column;
      column.name = info->Column(0).toString();
      column.type = TypeTable::FromDeclaredType(info->Column(1).toString(), &column.size);
      const int keyPosition = info->Column(3).toInt();
      column.key = keyPosition > 0;
      column.required = info->Column(2).toInt() != 0 || column.key;
      if (column.key) keyByPosition[keyPosition] = static_cast<int>(records.columns.size());
      records.columns.append(column);
    }
  }
  if (records.columns.isEmpty())
    throw EDatabaseError(EngineText::TableDoesNotExist, QStringLiteral("Table: %1").arg(tableName_));

  keyColumns_.clear();
  for (const auto& [position, column] : keyByPosition) keyColumns_.append(column);
  QStringList keyNames;
  for (const int column : keyColumns_) keyNames.append(records.columns[column].name);
  readIndexDefs(keyNames);

  {
    CachedStatement kind(connection(), QStringLiteral("SELECT wr FROM pragma_table_list(?) WHERE schema = 'main'"));
    kind->Bind(1, tableName_);
    withoutRowId_ = kind->Step() && kind->Column(0).toInt() != 0;
  }
  lastRead_.reset();
  startAt_.reset();
  records.complete = false;
  records.ordered = true;
  return records;
}

QString Table::keyCondition(const Row& row, QList<QVariant>& arguments) const {
  if (keyColumns_.isEmpty()) {
    arguments.append(rowIdOf(row));
    return QStringLiteral("rowid = ?");
  }
  QStringList terms;
  for (const int column : keyColumns_) {
    const QVariant& value = row.values[column];
    if (value.isNull()) {
      terms.append(Quoted(Columns()[column].name) + QStringLiteral(" IS NULL"));
    } else {
      terms.append(Quoted(Columns()[column].name) + QStringLiteral(" = ?"));
      arguments.append(value);
    }
  }
  return terms.join(QStringLiteral(" AND "));
}

std::optional<Dataset::Row> Table::readByRowId(qint64 rowId) {
  CachedStatement select(connection(),
                   QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(selectList(Columns()), InMain(tableName_)));
  select->Bind(1, rowId);
  if (!select->Step()) return std::nullopt;
  return rowOf(*select);
}

std::optional<Dataset::Row> Table::ReadRecord(const Row& row) {
  QList<QVariant> arguments;
  const QString condition = keyCondition(row, arguments);
  CachedStatement select(connection(), QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                     .arg(selectList(Columns()), InMain(tableName_), condition));
  for (int i = 0; i < arguments.size(); ++i) select->Bind(i + 1, arguments[i]);
  if (!select->Step()) return std::nullopt;
  return rowOf(*select);
}

// The record just written, as the database holds it: by its row id, or by
// its key in a table without row ids.
Dataset::Row Table::readWritten(const Row& written) {
  std::optional<Row> stored = withoutRowId_ ? ReadRecord(written) : readByRowId(rowIdOf(written));
  if (!stored) throw EDatabaseError(EngineText::RecordDeleted, tableText());
  return *stored;
}

// Inside the write of the Post, so the next number stays ours.
QVariant Table::nextAutoInc(const Column& column) {
  CachedStatement next(connection(),
                 QStringLiteral("SELECT IFNULL(MAX(%1), 0) + 1 FROM %2").arg(Quoted(column.name), InMain(tableName_)));
  next->Step();
  return next->Column(0);
}

Dataset::Row Table::InsertRecord(const Row& row) {
  Row written = row;
  QStringList names, marks;
  for (int i = 0; i < Columns().size(); ++i) {
    const Column& column = Columns()[i];
    if (column.type == ftAutoInc && written.values[i].isNull()) written.values[i] = nextAutoInc(column);
    names.append(Quoted(column.name));
    marks.append(QStringLiteral("?"));
  }
  CachedStatement insert(connection(), QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(InMain(tableName_), names.join(QStringLiteral(", ")),
                                          marks.join(QStringLiteral(", "))));
  for (int i = 0; i < written.values.size(); ++i) insert->Bind(i + 1, written.values[i]);
  insert->Step();
  // A new record, even where a record this table once held had its key or
  // row id: its bookmark is not theirs.
  const qint64 rowId = withoutRowId_ ? 0 : sqlite3_last_insert_rowid(connection().Handle());
  std::optional<Row> stored = withoutRowId_ ? ReadRecord(written) : readByRowId(rowId);
  if (!stored) throw EDatabaseError(EngineText::RecordDeleted, tableText());
  const qint64 known = stored->identity;
  stored->identity = withoutRowId_ ? ++lastIdentity_ : ++lastOwnIdentity_;
  identityChanges_.push_back([this, known, identity = stored->identity, rowId, key = keyText(stored->values)] {
    forgetIdentity(known);
    if (withoutRowId_) {
      rememberKey(key, identity);
    } else {
      identityOfRowId_[rowId] = identity;
      rowIdOfIdentity_[identity] = rowId;
    }
  });
  return *stored;
}

// Only where the record still holds what was read: a change that went
// around this dataset (a statement, another program) is not overwritten.
Dataset::Row Table::UpdateRecord(const Row& original, const Row& changed) {
  QStringList assignments, unchanged;
  QList<QVariant> arguments, readValues;
  for (int i = 0; i < Columns().size(); ++i) {
    const QString name = Quoted(Columns()[i].name);
    unchanged.append(name + QStringLiteral(" IS ? COLLATE BINARY"));
    readValues.append(original.values[i]);
    if (StoredValue::Same(original.values[i], changed.values[i])) continue;
    assignments.append(name + QStringLiteral(" = ?"));
    arguments.append(changed.values[i]);
  }
  if (assignments.isEmpty()) return original;
  const QString condition = keyCondition(original, arguments);
  arguments.append(readValues);
  CachedStatement update(connection(), QStringLiteral("UPDATE %1 SET %2 WHERE %3 AND %4")
                                     .arg(InMain(tableName_), assignments.join(QStringLiteral(", ")), condition,
                                          unchanged.join(QStringLiteral(" AND "))));
  for (int i = 0; i < arguments.size(); ++i) update->Bind(i + 1, arguments[i]);
  update->Step();
  if (update->Changes() == 0) {
    if (!ReadRecord(original)) throw EDatabaseError(EngineText::RecordDeleted, tableText());
    throw EDatabaseError(EngineText::RecordChanged);
  }
  if (!withoutRowId_) return readWritten(original);
  // A new key keeps the record's identity, so its bookmarks stay good.
  Row stored = readWritten(changed);
  if (stored.identity != original.identity) {
    const qint64 found = stored.identity, identity = original.identity;
    identityChanges_.push_back([this, found, identity, key = keyText(stored.values)] {
      forgetKey(found);
      rememberKey(key, identity);
    });
    stored.identity = original.identity;
  }
  return stored;
}

void Table::DeleteRecord(const Row& row) {
  QList<QVariant> arguments;
  const QString condition = keyCondition(row, arguments);
  CachedStatement remove(connection(), QStringLiteral("DELETE FROM %1 WHERE %2").arg(InMain(tableName_), condition));
  for (int i = 0; i < arguments.size(); ++i) remove->Bind(i + 1, arguments[i]);
  remove->Step();
  if (remove->Changes() == 0) throw EDatabaseError(EngineText::RecordDeleted, tableText());
  identityChanges_.push_back([this, identity = row.identity, removed = recordName(row)] {
    forgetIdentity(identity);
    RemovedRecords::Remove(bookmarkSource(), removed);
  });
}

void Table::UpdateIndexDefs() {
  checkTableName();
  try {
    CachedStatement info(connection(), QStringLiteral("SELECT name FROM pragma_table_info(?, 'main') WHERE pk > 0 ORDER BY pk"));
    info->Bind(1, tableName_);
    QStringList keyNames;
    while (info->Step()) keyNames.append(info->Column(0).toString());
    readIndexDefs(keyNames);
  } catch (...) {
    if (!Active()) ReleaseSource();
    throw;
  }
  if (!Active()) ReleaseSource();
}

void Table::readIndexDefs(const QStringList& keyNames) {
  ::IndexDefs& defs = IndexDefs();
  defs.Clear();
  if (!keyNames.isEmpty()) defs.Add(QString(), keyNames.join(u';'), ixPrimary | ixUnique);
  CachedStatement list(connection(), QStringLiteral("SELECT l.name, l.\"unique\", instr(m.sql, ?) > 0 FROM pragma_index_list(?, 'main') l "
                                                    "JOIN main.sqlite_master m ON m.name = l.name WHERE l.origin = 'c' ORDER BY l.name"));
  list->Bind(1, kCarriedKey);
  list->Bind(2, tableName_);
  while (list->Step()) {
    const QString sqliteName = list->Column(0).toString();
    CachedStatement info(connection(),
                   QStringLiteral("SELECT name, desc FROM pragma_index_xinfo(?, 'main') WHERE key = 1 ORDER BY seqno"));
    info->Bind(1, sqliteName);
    QStringList names;
    bool descending = false, expression = false;
    while (info->Step()) {
      expression = expression || info->Column(0).isNull();
      names.append(info->Column(0).toString());
      descending = descending || info->Column(1).toInt() != 0;
    }
    if (expression || names.isEmpty()) continue;
    const bool unique = list->Column(1).toInt() != 0;
    const bool keyCarried = list->Column(2).toInt() != 0;
    if (keyCarried && !unique && !descending && names.size() > keyNames.size() &&
        std::equal(keyNames.begin(), keyNames.end(), names.end() - keyNames.size(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }))
      names.erase(names.end() - keyNames.size(), names.end());
    // Created as <table>_<index>, so that the name is unique in the file.
    const QString prefix = tableName_ + u'_';
    const QString name =
        sqliteName.startsWith(prefix, Qt::CaseInsensitive) ? sqliteName.mid(prefix.size()) : sqliteName;
    defs.Add(name, names.join(u';'),
             (unique ? unsigned{ixUnique} : 0u) | (descending ? unsigned{ixDescending} : 0u));
  }
}

void Table::CreateTable() {
  CheckInactive();
  checkTableName();
  if (fieldDefs_.Count() == 0)
    throw EDatabaseError(EngineText::InvalidFieldType, QStringLiteral("Table %1 has no fields").arg(tableName_));

  QStringList keyFields;
  for (const IndexDef& index : IndexDefs())
    if (index.Options & ixPrimary) {
      keyFields = fieldNamesOf(index.Fields);
      break;
    }
  QStringList definitions;
  for (const FieldDef& field : fieldDefs_) {
    if (field.DataType <= ftUnknown || field.DataType > ftTypedBinary)
      throw EDatabaseError(EngineText::InvalidFieldType, QStringLiteral("Field: %1").arg(field.Name));
    const bool key = keyFields.contains(field.Name, Qt::CaseInsensitive);
    definitions.append(Quoted(field.Name) + u' ' + TypeTable::SqliteDeclaredType(field.DataType, field.Size) +
                       (field.Required || key ? QStringLiteral(" NOT NULL") : QString()));
  }
  if (!keyFields.isEmpty()) {
    QStringList quoted;
    for (const QString& name : keyFields) quoted.append(Quoted(name));
    definitions.append(QStringLiteral("PRIMARY KEY (%1)").arg(quoted.join(QStringLiteral(", "))));
  }
  QStringList statements{
      QStringLiteral("DROP TABLE IF EXISTS %1").arg(InMain(tableName_)),
      QStringLiteral("CREATE TABLE %1 (%2)").arg(InMain(tableName_), definitions.join(QStringLiteral(", ")))};
  for (const IndexDef& index : IndexDefs()) {
    if (index.Options & ixPrimary) continue;
    // Text is kept in the index under the collation the dataset orders by.
    QStringList columns;
    for (const QString& name : fieldNamesOf(index.Fields)) {
      const auto field = std::find_if(fieldDefs_.begin(), fieldDefs_.end(), [&name](const FieldDef& def) {
        return def.Name.compare(name, Qt::CaseInsensitive) == 0;
      });
      const bool text = field != fieldDefs_.end() && TypeTable::ValueClassOf(field->DataType) == ValueClass::Text;
      columns.append(Quoted(name) +
                     (text ? QStringLiteral(" COLLATE ") + Quoted(Collation::kDefaultName.toString()) : QString()) +
                     (index.Options & ixDescending ? QStringLiteral(" DESC") : QString()));
    }
    // A non-unique index carries the key after its fields, so that the engine
    // walks the dataset's whole order (fields, then key) without sorting.
    if (carriesKey(index, keyFields))
      for (const QString& name : keyFields) columns.append((name == keyFields.first() ? kCarriedKey : QString()) + Quoted(name));
    statements.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                          .arg(index.Options & ixUnique ? QStringLiteral("UNIQUE ") : QString(),
                               InMain(indexNameFor(tableName_, index.Name)), Quoted(tableName_),
                               columns.join(QStringLiteral(", "))));
  }

  Connection& database = connection();
  database.Execute(QStringLiteral("SAVEPOINT CreateTable"));
  try {
    for (const QString& statement : statements) database.Execute(statement);
    database.Execute(QStringLiteral("RELEASE CreateTable"));
    RemovedRecords::RemoveAll(bookmarkSource());
  } catch (...) {
    database.Execute(QStringLiteral("ROLLBACK TO CreateTable"));
    database.Execute(QStringLiteral("RELEASE CreateTable"));
    ReleaseSource();
    throw;
  }
  ReleaseSource();
}

void Table::EmptyTable() {
  checkTableName();
  if (Active()) CheckBrowseMode();
  connection().Execute(QStringLiteral("DELETE FROM %1").arg(InMain(tableName_)));
  RemovedRecords::RemoveAll(bookmarkSource());
  if (Active())
    Reload();
  else
    ReleaseSource();
}

void Table::DeleteTable() {
  CheckInactive();
  checkTableName();
  try {
    connection().Execute(QStringLiteral("DROP TABLE %1").arg(InMain(tableName_)));
    RemovedRecords::RemoveAll(bookmarkSource());
  } catch (...) {
    ReleaseSource();
    throw;
  }
  ReleaseSource();
}
