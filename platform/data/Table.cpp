#include "platform/data/Table.h"

#include "platform/data/RecordLock.h"
#include "platform/data/RemovedRecords.h"
#include "platform/data/StoredValue.h"
#include "platform/data/TypeTable.h"
#include "platform/data/WrittenValue.h"
#include "platform/engine/CachedStatement.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"
#include "platform/engine/WriteTransaction.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"

#include <algorithm>
#include <charconv>
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
const QString kCarriedKey = QString::fromLatin1(EngineDialect::kCarriedKeyMark);

// The index that walks a key holding text in the dataset's order: its
// fields under the collation, then its text byte for byte. The key itself
// is kept byte for byte, so that its uniqueness holds as it always did.
const QString kKeyOrderSuffix = QStringLiteral("__OrdenClave");

}  // namespace

// The writes of one Post or Delete, in a transaction of their own or a
// savepoint, taken before the first statement; a write the engine undoes
// whole by itself where it fails takes none. What the table knows of its
// records' identities changes only once they are committed.
class Table::Write : public Dataset::PendingWrite {
 public:
  explicit Write(Table& table) : table_(table) {
    table_.identityChanges_.clear();
    table_.write_ = this;
  }
  ~Write() override {
    table_.identityChanges_.clear();
    table_.write_ = nullptr;
  }
  void Protect() {
    if (!transaction_) transaction_.emplace(table_.connection());
  }
  void Commit() override {
    if (transaction_) transaction_->Commit();
    for (const auto& change : table_.identityChanges_) change();
  }

 private:
  Table& table_;
  std::optional<WriteTransaction> transaction_;
};

void Table::protectWrite() {
  if (write_) write_->Protect();
}

// A record written by one statement that changes nothing but its row, in a
// table that nothing makes keep part of a failed write, inside a
// transaction that holds the database: a failure leaves the database as it
// was without a savepoint, where nothing after the statement can fail (the
// row as stored is known, and no filter of the program's is asked).
bool Table::writeUndoneWholeOnFailure() {
  if (Filtered()) return false;
  const QString keepsPart = dialect().TableWriteKeepsPartOnFailure();
  const std::optional<EngineConnection::SchemaVersion> version = connection().LockedSchemaVersion();
  if (keepsPart.isEmpty() || !version) return false;
  if (!undoneWhole_ || undoneWhole_->first != *version) {
    CachedStatement check(connection(), keepsPart);
    check->Bind(1, tableName_);
    undoneWhole_.emplace(*version, !check->Step());
  }
  return undoneWhole_->second;
}

Table::Table(QObject* owner) : IndexedDataset(owner) {}

Table::~Table() { dropFilterFunction(); }

void Table::SetTableName(const QString& name) {
  CheckInactive();
  tableName_ = name;
  forgetStatementTexts();
}

void Table::SetReadOnly(bool readOnly) {
  CheckInactive();
  readOnly_ = readOnly;
}

void Table::checkTableName() const {
  if (tableName_.trimmed().isEmpty()) throw EDatabaseError(EngineText::MissingTableName);
}

EngineConnection& Table::connection() {
  if (!connection_) connection_ = OpenDatabaseConnection();
  return *connection_;
}

void Table::ReleaseSource() {
  IndexedDataset::ReleaseSource();
  dropFilterFunction();
  counts_.Clear();
  connection_.reset();
  locks_.reset();
  keyColumns_.clear();
  naturalIdentities_.clear();
  identities_.clear();
  keyOfIdentity_.clear();
  followed_.clear();
  identityOfRowId_.clear();
  rowIdOfIdentity_.clear();
  retiredRowIds_.clear();
  lastRead_.reset();
  startAt_.reset();
  lastLockedRead_.version.reset();
  lastLockedRead_.rows.clear();
  opening_ = opening_ % kMostOpenings + 1;
  forgetStatementTexts();
}

QString Table::tableText() const { return QStringLiteral("Table: %1").arg(tableName_); }

const QString& Table::ownTable() {
  if (ownTable_.isEmpty()) ownTable_ = dialect().OwnTable(tableName_);
  return ownTable_;
}

qint64 Table::lastInsertedId() {
  CachedStatement last(connection(), dialect().LastInsertedId());
  last->Step();
  return last->Column(0).toLongLong();
}

std::unique_ptr<Dataset::PendingWrite> Table::BeginWrite() { return std::make_unique<Write>(*this); }

// Where the engine keeps no side file, the server's own locks and the check
// of what was read at Post keep two programs' edits apart.
std::unique_ptr<RecordLock> Table::LockRecord(const Row& row) {
  if (!dialect().LocksInSideFile()) return nullptr;
  QString key;
  if (keyColumns_.isEmpty())
    key = QStringLiteral("rowid:%1").arg(rowIdOf(row));
  else
    for (const int column : keyColumns_) {
      const QVariant& value = row.values[column];
      key += (value.isNull() ? QStringLiteral("\x01") : value.toString()) + u'\x1f';
    }
  if (!locks_) locks_.emplace(connection().Identity(), tableName_);
  return locks_->Acquire(key);
}

bool Table::Exists() {
  if (Active()) return true;
  if (tableName_.trimmed().isEmpty()) return false;
  return OpenDatabaseConnection()->TableExists(tableName_);
}

// The texts of statements made at every read and write, made once for the
// columns shown.
const QString& Table::quotedName(int column) const {
  if (quotedNames_.size() != Columns().size()) {
    quotedNames_.clear();
    for (const Column& shown : Columns()) quotedNames_.append(Quoted(shown.name));
  }
  return quotedNames_[column];
}

const QString& Table::selectList() const {
  if (selectList_.isEmpty()) {
    QStringList names;
    if (!withoutRowId_) names.append(rowId_);
    for (int i = 0; i < Columns().size(); ++i) names.append(quotedName(i));
    selectList_ = names.join(QStringLiteral(", "));
  }
  return selectList_;
}

void Table::forgetStatementTexts() {
  quotedNames_.clear();
  selectList_.clear();
  ownTable_.clear();
  unchangedCondition_.clear();
  keyCondition_.clear();
  readRecord_ = {};
  readByRowId_.clear();
  insert_ = {};
  updateTexts_.clear();
  selectTexts_.clear();
  undoneWhole_.reset();
  orderTerms_.reset();
}

// A table kept in key order without row ids (as the SQL Server mapper makes
// tables with a primary key) identifies its records by their key values.
QString Table::keyText(const QList<QVariant>& values) const {
  QString key;
  for (const int column : keyColumns_) {
    if (!key.isEmpty()) key += u'\x1f';
    const QVariant& value = values[column];
    if (value.isNull()) {
      key += u'\x01';
      continue;
    }
    // Built in place: every record read of a table without row ids makes one.
    char number[32];
    const auto append = [&key, &number](auto whole) {
      const auto end = std::to_chars(number, number + sizeof number, whole).ptr;
      key += QLatin1StringView(number, end);
    };
    append(value.typeId());
    key += u':';
    if (value.typeId() == QMetaType::LongLong)
      append(value.toLongLong());
    else if (value.typeId() == QMetaType::QString)
      key += *static_cast<const QString*>(value.constData());
    else
      key += value.toString();
  }
  return key;
}

// A key of whole numbers within their bounds makes the identity itself,
// packed beside the opening in the high bits, so that reading keeps nothing
// per record; the map holds the other keys, those of records whose key this
// table changed, and a number such a record took first.
std::optional<qint64> Table::naturalIdentity(const QList<QVariant>& values) const {
  const qsizetype fields = keyColumns_.size();
  if (fields == 1) {  // the common case, at every record read
    const QVariant& value = values[keyColumns_.front()];
    if (value.typeId() != QMetaType::LongLong) return std::nullopt;
    const qint64 whole = *static_cast<const qint64*>(value.constData());
    if (whole <= 0 || whole >= (qint64{1} << kOpeningShift)) return std::nullopt;
    return (opening_ << kOpeningShift) | whole;
  }
  if (fields == 0 || fields > kOpeningShift) return std::nullopt;
  const int bits = kOpeningShift / static_cast<int>(fields);
  qint64 packed = 0;
  for (const int column : keyColumns_) {
    const QVariant& value = values[column];
    if (value.typeId() != QMetaType::LongLong) return std::nullopt;
    const qint64 whole = *static_cast<const qint64*>(value.constData());
    if (whole < 0 || whole >= (qint64{1} << bits)) return std::nullopt;
    packed = (packed << bits) | whole;
  }
  if (packed == 0) return std::nullopt;
  return (opening_ << kOpeningShift) | packed;
}

qint64 Table::identityOfKey(const QList<QVariant>& values) {
  // Nothing names a record of a table without key or row ids: each one read
  // is another.
  if (keyColumns_.isEmpty()) return ++lastOwnIdentity_;
  const RecordKey key = recordKey(values);
  if (key.natural && keyOfIdentity_.empty()) return *key.natural;
  if (const std::optional<qint64> held = heldIdentityOfKey(key)) return *held;
  const qint64 identity = ++lastOwnIdentity_;
  holdKey(key, identity);
  return identity;
}

RecordKey Table::recordKey(const QList<QVariant>& values) const {
  if (std::optional<qint64> natural = naturalIdentity(values)) return {natural, QString()};
  return {std::nullopt, keyText(values)};
}

// The identity the maps hold for a key.
std::optional<qint64> Table::mappedIdentity(const RecordKey& key) const {
  if (key.natural) {
    if (const auto found = naturalIdentities_.find(*key.natural); found != naturalIdentities_.end()) return found->second;
  } else if (const auto found = identities_.find(key.text); found != identities_.end()) {
    return found->second;
  }
  return std::nullopt;
}

// The identity a key holds already, as identityOfKey would give it, without
// taking one: none where identityOfKey would take a new one.
std::optional<qint64> Table::heldIdentityOfKey(const RecordKey& key) const {
  if (const std::optional<qint64> mapped = mappedIdentity(key)) return mapped;
  if (key.natural && !keyOfIdentity_.contains(*key.natural)) return key.natural;
  return std::nullopt;
}

void Table::holdKey(const RecordKey& key, qint64 identity) {
  if (key.natural)
    naturalIdentities_.emplace(*key.natural, identity);
  else
    identities_.emplace(key.text, identity);
  keyOfIdentity_.emplace(identity, key);
}

void Table::dropKey(const RecordKey& key) {
  if (key.natural)
    naturalIdentities_.erase(*key.natural);
  else
    identities_.erase(key.text);
}

void Table::setIdentityOfKey(const RecordKey& key, qint64 identity) {
  if (const std::optional<qint64> held = mappedIdentity(key)) {
    keyOfIdentity_.erase(*held);
    dropKey(key);
  }
  if (const auto known = keyOfIdentity_.find(identity); known != keyOfIdentity_.end()) {
    dropKey(known->second);
    keyOfIdentity_.erase(known);
  }
  holdKey(key, identity);
}

// A record read again after its identity went gets a new one; a bookmark
// finds it by its key all the same.
void Table::ForgetRecordsLetGo() {
  constexpr std::size_t kLeeway = 4096;
  if (keyOfIdentity_.size() <= 2 * Rows().size() + followed_.size() + kLeeway) return;
  std::unordered_set<qint64> held(followed_);
  for (const Row& row : Rows()) held.insert(row.identity);
  for (auto entry = keyOfIdentity_.begin(); entry != keyOfIdentity_.end();) {
    if (held.contains(entry->first)) {
      ++entry;
      continue;
    }
    dropKey(entry->second);
    entry = keyOfIdentity_.erase(entry);
  }
}

// The row id itself, so that reading keeps nothing per record; but SQLite
// hands a deleted row id out again, and the deleted record's bookmark must
// not find the new one: the records this table added, and those read under
// a row id it deleted, get identities of their own, from the lowest number
// up, where no row id SQLite hands out lies (one given there by a program
// gets its own identity too).
qint64 Table::identityOfRowId(qint64 rowId) {
  if (!identityOfRowId_.empty())
    if (const auto found = identityOfRowId_.find(rowId); found != identityOfRowId_.end()) return found->second;
  if (rowId >= kOwnIdentitiesEnd && (retiredRowIds_.empty() || !retiredRowIds_.contains(rowId))) return rowId;
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
  if (const auto known = keyOfIdentity_.find(identity); known != keyOfIdentity_.end()) {
    dropKey(known->second);
    keyOfIdentity_.erase(known);
  }
  followed_.erase(identity);
  if (withoutRowId_) return;
  qint64 rowId = identity;
  if (const auto own = rowIdOfIdentity_.find(identity); own != rowIdOfIdentity_.end()) {
    rowId = own->second;
    identityOfRowId_.erase(rowId);
    rowIdOfIdentity_.erase(own);
  }
  retiredRowIds_.insert(rowId);
}

Dataset::Row Table::rowOf(const EngineStatement& select) {
  Row row = valuesOf(select);
  row.identity = withoutRowId_ ? identityOfKey(row.values) : identityOfRowId(select.Column(0).toLongLong());
  return row;
}

Dataset::Row Table::valuesOf(const EngineStatement& select) {
  Row row = RecycledRow();
  const int first = withoutRowId_ ? 0 : 1;
  const int count = select.ColumnCount();
  row.values.resize(count - first);
  for (int i = first; i < count; ++i) select.ColumnInto(i, row.values[i - first]);
  return row;
}

Dataset::Records Table::ReadRecords() {
  checkTableName();
  Records records;
  std::map<int, int> keyByPosition;  // position in the key -> column
  QList<WrittenValue::Affinity> affinities;
  {
    CachedStatement info(connection(), dialect().TableColumns());
    info->Bind(1, tableName_);
    while (info->Step()) {
      Column column;
      column.name = info->Column(0).toString();
      const QString declared = info->Column(1).toString();
      column.type = TypeTable::FromDeclaredType(declared, &column.size);
      affinities.append(WrittenValue::AffinityOf(declared));
      const int keyPosition = info->Column(3).toInt();
      column.key = keyPosition > 0;
      column.required = info->Column(2).toInt() != 0 || column.key;
      if (column.key) keyByPosition[keyPosition] = static_cast<int>(records.columns.size());
      records.columns.append(column);
    }
  }
  if (records.columns.isEmpty())
    throw EDatabaseError(EngineText::TableDoesNotExist, QStringLiteral("Table: %1").arg(tableName_));

  affinities_ = std::move(affinities);
  affinitiesAt_ = connection().Compilations();
  affinitiesStale_ = false;
  keyColumns_.clear();
  for (const auto& [position, column] : keyByPosition) keyColumns_.append(column);
  QStringList keyNames;
  for (const int column : keyColumns_) keyNames.append(records.columns[column].name);
  readIndexDefs(keyNames);

  withoutRowId_ = true;
  if (const QString rowIds = dialect().TableHasRowIds(); !rowIds.isEmpty()) {
    CachedStatement kind(connection(), rowIds);
    kind->Bind(1, tableName_);
    withoutRowId_ = !kind->Step();
  }
  // A table whose columns take every name of its row ids is known by its key.
  QStringList columnNames;
  for (const Column& column : records.columns) columnNames.append(column.name);
  rowId_ = withoutRowId_ ? QString() : dialect().RowId(columnNames);
  if (rowId_.isEmpty()) withoutRowId_ = true;
  forgetStatementTexts();
  lastRead_.reset();
  startAt_.reset();
  records.complete = false;
  records.ordered = true;
  return records;
}

QString Table::keyCondition(const Row& row, QList<QVariant>& arguments) const {
  if (keyColumns_.isEmpty() && withoutRowId_)
    throw EDatabaseError(EngineText::CapabilityNotSupported, tableText() + QStringLiteral(" has no key"));
  if (keyColumns_.isEmpty()) {
    arguments.append(rowIdOf(row));
    return rowId_ + QStringLiteral(" = ?");
  }
  bool anyNull = false;
  for (const int column : keyColumns_) {
    const QVariant& value = row.values[column];
    if (value.isNull())
      anyNull = true;
    else
      arguments.append(bound(column, value));
  }
  if (!anyNull && !keyCondition_.isEmpty()) return keyCondition_;
  QStringList terms;
  for (const int column : keyColumns_)
    terms.append(quotedName(column) + (row.values[column].isNull() ? QStringLiteral(" IS NULL") : QStringLiteral(" = ?")));
  const QString condition = terms.join(QStringLiteral(" AND "));
  if (!anyNull) keyCondition_ = condition;
  return condition;
}

QVariant Table::bound(int column, const QVariant& value) const {
  return connection_->Dialect().Bound(value, TypeTable::ColumnKindOf(Columns()[column].type));
}

std::optional<Dataset::Row> Table::readByRowId(qint64 rowId) {
  if (readByRowId_.isEmpty())
    readByRowId_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(selectList(), ownTable(), rowId_);
  CachedStatement select(connection(), readByRowId_);
  select->Bind(1, rowId);
  if (!select->Step()) return std::nullopt;
  return rowOf(*select);
}

// A record held as the last reading answered it, in a transaction that has
// held the data locked since, is as stored: nothing can have changed it.
std::optional<Dataset::Row> Table::ReadRecord(const Row& row) {
  if (lastLockedRead_.version) {
    const auto read = std::find_if(lastLockedRead_.rows.begin(), lastLockedRead_.rows.end(), [&row](const Row& read) {
      return read.identity == row.identity && read.values.constData() == row.values.constData();
    });
    if (read != lastLockedRead_.rows.end() && connection().LockedDataVersion() == lastLockedRead_.version) return row;
  }
  return readByKey(row, true);
}

// Without identity, the record's values alone.
std::optional<Dataset::Row> Table::readByKey(const Row& row, bool identified) {
  QList<QVariant> arguments;
  const QString condition = keyCondition(row, arguments);
  if (condition != readRecord_.condition) {
    readRecord_.condition = condition;
    readRecord_.text = QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(selectList(), ownTable(), condition);
  }
  CachedStatement select(connection(), readRecord_.text);
  for (int i = 0; i < arguments.size(); ++i) select->Bind(i + 1, arguments[i]);
  if (!select->Step()) return std::nullopt;
  return identified ? rowOf(*select) : valuesOf(*select);
}

// The record just written, as the database holds it: by its row id, or by
// its key in a table without row ids.
Dataset::Row Table::readWritten(const Row& written) {
  std::optional<Row> stored = withoutRowId_ ? ReadRecord(written) : readByRowId(rowIdOf(written));
  if (!stored) throw EDatabaseError(EngineText::RecordDeleted, tableText());
  return *stored;
}

// The row a write of those values (one per column, as bound) leaves, where
// each is kept as it was bound, or as the column's affinity surely makes
// it, and the write changes that row alone (no trigger or cascade changes
// it after); nullopt where only reading it back tells.
std::optional<Dataset::Row> Table::rowAsBound(const QList<QVariant>& bound) {
  if (!dialect().KeepsValuesByAffinity()) return std::nullopt;
  if (affinitiesStale_) readAffinities();
  if (bound.size() != affinities_.size()) return std::nullopt;
  Row row = RecycledRow();
  row.values.resize(bound.size());
  for (qsizetype i = 0; i < bound.size(); ++i) {
    std::optional<QVariant> read = WrittenValue::AsRead(bound[i], affinities_[i], Columns()[i].required);
    if (!read) return std::nullopt;
    row.values[i] = std::move(*read);
  }
  return row;
}

// Another program may have declared the columns otherwise since they were
// read: a write compiled since then is read back, and they are read again
// before the next one. None is left out for it.
void Table::readAffinities() {
  std::map<QString, WrittenValue::Affinity> declared;
  {
    CachedStatement info(connection(), dialect().TableColumns());
    info->Bind(1, tableName_);
    while (info->Step()) declared[info->Column(0).toString().toLower()] = WrittenValue::AffinityOf(info->Column(1).toString());
  }
  QList<WrittenValue::Affinity> affinities;
  for (const Column& column : Columns()) {
    const auto found = declared.find(column.name.toLower());
    if (found == declared.end()) {  // a column gone: every write is read back
      affinities.clear();
      break;
    }
    affinities.append(found->second);
  }
  affinities_ = std::move(affinities);
  affinitiesAt_ = connection().Compilations();
  affinitiesStale_ = false;
}

bool Table::compiledAfterAffinities(const EngineStatement& write) {
  const std::optional<quint64> compiled = write.CompiledAt();
  if (!compiled || *compiled > affinitiesAt_) affinitiesStale_ = true;
  if (!affinitiesStale_) return false;
  // Read again at once: the next use of this write, compiled before now, is
  // then known without reading its row back.
  if (dialect().KeepsValuesByAffinity()) readAffinities();
  return true;
}

// An update's record as bound: what it held where unchanged (read), the
// new values elsewhere (written, its first values one for each column
// assigned). A number
// held in a column without affinity may have been changed meanwhile into
// one that compares equal (3 to 3.0): only reading tells which (nullopt).
std::optional<QList<QVariant>> Table::boundRow(const Row& original, const QList<QVariant>& read,
                                               const QList<int>& assigned, const QList<QVariant>& written) const {
  QList<QVariant> values;
  values.reserve(read.size());
  qsizetype next = 0;  // in assigned
  for (int i = 0; i < read.size(); ++i) {
    if (next < assigned.size() && assigned[next] == i) {
      values.append(written[next++]);
      continue;
    }
    const int kind = original.values[i].typeId();
    if (affinities_.value(i) == WrittenValue::Affinity::Blob && (kind == QMetaType::LongLong || kind == QMetaType::Double))
      return std::nullopt;
    values.append(read[i]);
  }
  return values;
}

// Inside the write of the Post, so the next number stays ours.
QVariant Table::nextAutoInc(const Column& column) {
  CachedStatement next(connection(),
                 QStringLiteral("SELECT COALESCE(MAX(%1), 0) + 1 FROM %2").arg(Quoted(column.name), ownTable()));
  next->Step();
  return next->Column(0);
}

Dataset::Row Table::InsertRecord(const Row& row) {
  Row written = row;
  bool protectedWrite = false;
  const auto protect = [this, &protectedWrite] {
    if (!std::exchange(protectedWrite, true)) protectWrite();
  };
  const bool engineNumbers = !dialect().InsertNumbered(QString()).isEmpty();
  int numbered = -1;  // the column the engine numbers
  QList<QVariant> values;
  values.reserve(Columns().size());
  for (int i = 0; i < Columns().size(); ++i) {
    const Column& column = Columns()[i];
    if (column.type == ftAutoInc && written.values[i].isNull()) {
      protect();
      if (engineNumbers && numbered < 0) {
        numbered = i;
        continue;
      }
      written.values[i] = nextAutoInc(column);
    }
    values.append(bound(i, written.values[i]));
  }
  std::optional<Row> stored = numbered < 0 ? rowAsBound(values) : std::nullopt;
  if (!stored || !withoutRowId_ || !writeUndoneWholeOnFailure()) protect();
  CachedStatement insert(connection(), insertText(numbered));
  for (int i = 0; i < values.size(); ++i) insert->Bind(i + 1, values[i]);
  const bool answered = insert->Step();
  if (numbered >= 0) {
    if (!answered || insert->Column(0).isNull()) throw EDatabaseError(EngineText::RecordDeleted, tableText());
    written.values[numbered] = insert->Column(0).toLongLong();
    while (insert->Step()) {
    }
  }
  // Nothing written: a trigger kept the record out.
  if (const std::optional<qint64> changes = insert->AllChanges(); changes && *changes == 0)
    throw EDatabaseError(EngineText::RecordDeleted, tableText());
  const qint64 rowId = withoutRowId_ ? 0 : lastInsertedId();
  if (insert->AllChanges() != 1 || (stored && compiledAfterAffinities(*insert))) stored.reset();
  if (stored && !withoutRowId_) stored->identity = identityOfRowId(rowId);
  if (!stored) stored = withoutRowId_ ? readByKey(written, false) : readByRowId(rowId);
  if (!stored) throw EDatabaseError(EngineText::RecordDeleted, tableText());
  // A new record, even where a record this table once held had its key or
  // row id: its bookmark is not theirs.
  RecordKey key = withoutRowId_ ? recordKey(stored->values) : RecordKey();
  // Whatever the key or row id named before goes at the commit.
  const std::optional<qint64> known = withoutRowId_ ? heldIdentityOfKey(key) : stored->identity;
  stored->identity = ++lastOwnIdentity_;
  identityChanges_.push_back([this, known, identity = stored->identity, rowId, key = std::move(key)] {
    if (known) forgetIdentity(*known);
    if (withoutRowId_) {
      setIdentityOfKey(key, identity);
    } else {
      identityOfRowId_[rowId] = identity;
      rowIdOfIdentity_[identity] = rowId;
    }
  });
  return *stored;
}

// Every column but the one the engine numbers (none: -1).
const QString& Table::insertText(int numbered) {
  if (insert_.text.isEmpty() || insert_.numbered != numbered) {
    QStringList names, marks;
    for (int i = 0; i < Columns().size(); ++i) {
      if (i == numbered) continue;
      names.append(quotedName(i));
      marks.append(QStringLiteral("?"));
    }
    const QString text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(ownTable(), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    insert_ = {numbered < 0 ? text : dialect().InsertNumbered(text), numbered};
  }
  return insert_.text;
}

// The text of an update of those columns where the key holds that
// condition, made once for each: a Post runs it record after record.
const QString& Table::updateText(const QList<int>& assigned, const QString& keyCondition) {
  for (const UpdateText& kept : updateTexts_)
    if (kept.assigned == assigned && kept.keyCondition == keyCondition) return kept.text;
  if (unchangedCondition_.isEmpty()) {
    QStringList unchanged;
    for (int i = 0; i < Columns().size(); ++i)
      unchanged.append(dialect().Unchanged(quotedName(i), TypeTable::ColumnKindOf(Columns()[i].type)).text);
    unchangedCondition_ = unchanged.join(QStringLiteral(" AND "));
  }
  QStringList assignments;
  for (const int column : assigned) assignments.append(quotedName(column) + QStringLiteral(" = ?"));
  if (updateTexts_.size() >= kMostUpdateTexts) updateTexts_.erase(updateTexts_.begin());
  updateTexts_.push_back({assigned, keyCondition,
                          QStringLiteral("UPDATE %1 SET %2 WHERE %3 AND %4")
                              .arg(ownTable(), assignments.join(QStringLiteral(", ")), keyCondition, unchangedCondition_)});
  return updateTexts_.back().text;
}

// Whether the two records' names are surely the same without making them:
// keys of whole numbers or texts, equal and of one kind, make one name.
bool Table::sameRecordName(const Row& a, const Row& b) const {
  if (!withoutRowId_ || keyColumns_.isEmpty()) return false;
  for (const int column : keyColumns_) {
    const QVariant &x = a.values[column], &y = b.values[column];
    if (x.isNull() && y.isNull()) continue;
    const int kind = x.typeId();
    if (x.isNull() || y.isNull() || kind != y.typeId() || (kind != QMetaType::LongLong && kind != QMetaType::QString) ||
        x != y)
      return false;
  }
  return true;
}

// Only where the record still holds what was read: a change that went
// around this dataset (a statement, another program) is not overwritten.
Dataset::Row Table::UpdateRecord(const Row& original, const Row& changed) {
  QList<int> assigned;
  for (int i = 0; i < Columns().size(); ++i)
    if (!StoredValue::Same(original.values[i], changed.values[i])) assigned.append(i);
  if (assigned.isEmpty()) return original;
  const int uses = dialect().Unchanged(QString(), EngineDialect::ColumnKind::Number).parameterUses;
  QList<QVariant> arguments;
  arguments.reserve(assigned.size() + std::max<qsizetype>(keyColumns_.size(), 1) + original.values.size() * uses);
  for (const int column : assigned) arguments.append(bound(column, changed.values[column]));
  const QString& text = updateText(assigned, keyCondition(original, arguments));
  QList<QVariant> read;  // as the engine is given them
  read.reserve(original.values.size());
  for (int i = 0; i < original.values.size(); ++i) {
    read.append(bound(i, original.values[i]));
    for (int use = 0; use < uses; ++use) arguments.append(read.back());
  }
  // The record as stored is known before the write where the columns'
  // affinities are: no savepoint is needed where the engine undoes a failed
  // one whole.
  const std::optional<QList<QVariant>> bound =
      affinitiesStale_ ? std::nullopt : boundRow(original, read, assigned, arguments);
  std::optional<Row> asBound = bound ? rowAsBound(*bound) : std::nullopt;
  if (!asBound || !writeUndoneWholeOnFailure()) protectWrite();
  CachedStatement update(connection(), text);
  for (int i = 0; i < arguments.size(); ++i) update->Bind(i + 1, arguments[i]);
  update->Step();
  if (update->Changes() == 0) {
    if (!ReadRecord(original)) throw EDatabaseError(EngineText::RecordDeleted, tableText());
    throw EDatabaseError(EngineText::RecordChanged);
  }
  // The record held what was read at Edit: the columns not written still do.
  const bool recompiled = compiledAfterAffinities(*update);
  std::optional<Row> written = recompiled || update->AllChanges() != 1 ? std::nullopt : std::move(asBound);
  if (!withoutRowId_) {
    if (bookmarkKey(original) != bookmarkKey(changed))
      identityChanges_.push_back([this, rewritten = recordName(original)] {
        RemovedRecords::Rewrite(bookmarkSource(), rewritten);
      });
    if (!written) return readWritten(original);
    written->identity = identityOfRowId(rowIdOf(original));
    return std::move(*written);
  }
  // A new key keeps the record's identity, so its bookmarks stay good.
  Row stored = written ? std::move(*written) : readWritten(changed);
  if (written) stored.identity = identityOfKey(stored.values);
  // Its bookmarks follow it to its new key.
  if (QString from, to; !sameRecordName(original, stored) && (from = recordName(original)) != (to = recordName(stored)))
    identityChanges_.push_back([this, from = std::move(from), to = std::move(to), key = bookmarkKey(stored)] {
      RemovedRecords::Rename(bookmarkSource(), from, to, key);
    });
  if (stored.identity != original.identity) {
    const qint64 found = stored.identity, identity = original.identity;
    identityChanges_.push_back([this, found, identity, key = recordKey(stored.values)] {
      forgetIdentity(found);
      setIdentityOfKey(key, identity);
      followed_.insert(identity);
    });
    stored.identity = original.identity;
  }
  return stored;
}

void Table::DeleteRecord(const Row& row) {
  protectWrite();
  QList<QVariant> arguments;
  const QString condition = keyCondition(row, arguments);
  CachedStatement remove(connection(), QStringLiteral("DELETE FROM %1 WHERE %2").arg(ownTable(), condition));
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
    std::map<int, QString> keyByPosition;
    {
      CachedStatement info(connection(), dialect().TableColumns());
      info->Bind(1, tableName_);
      while (info->Step())
        if (const int position = info->Column(3).toInt(); position > 0) keyByPosition[position] = info->Column(0).toString();
    }
    QStringList keyNames;
    for (const auto& [position, name] : keyByPosition) keyNames.append(name);
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
  struct Read {
    QStringList names;
    bool unique = false, keyCarried = false, descending = false, expression = false;
  };
  std::map<QString, Read> indexes;
  {
    CachedStatement list(connection(), dialect().TableIndexes());
    list->Bind(1, tableName_);
    while (list->Step()) {
      Read& index = indexes[list->Column(0).toString()];
      index.unique = list->Column(1).toInt() != 0;
      index.keyCarried = list->Column(2).toInt() != 0;
      index.expression = index.expression || list->Column(3).isNull();
      index.names.append(list->Column(3).toString());
      index.descending = index.descending || list->Column(4).toInt() != 0;
    }
  }
  for (auto& [engineName, index] : indexes) {
    QStringList& names = index.names;
    if (index.expression || names.isEmpty() || engineName.endsWith(kKeyOrderSuffix, Qt::CaseInsensitive)) continue;
    if (index.keyCarried && !index.unique && !index.descending && names.size() > keyNames.size() &&
        std::equal(keyNames.begin(), keyNames.end(), names.end() - keyNames.size(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }))
      names.erase(names.end() - keyNames.size(), names.end());
    // Created as <table>_<index>, so that the name is unique in the file.
    const QString prefix = tableName_ + u'_';
    const QString name =
        engineName.startsWith(prefix, Qt::CaseInsensitive) ? engineName.mid(prefix.size()) : engineName;
    defs.Add(name, names.join(u';'),
             (index.unique ? unsigned{ixUnique} : 0u) | (index.descending ? unsigned{ixDescending} : 0u));
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
  EngineConnection& database = connection();
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
      QStringLiteral("DROP TABLE IF EXISTS %1").arg(ownTable()),
      QStringLiteral("CREATE TABLE %1 (%2)").arg(ownTable(), definitions.join(QStringLiteral(", ")))};
  for (const IndexDef& index : IndexDefs()) {
    if (index.Options & ixPrimary) continue;
    // Text is kept in the index under the collation the dataset orders by.
    QStringList columns;
    for (const QString& name : fieldNamesOf(index.Fields)) {
      const auto field = std::find_if(fieldDefs_.begin(), fieldDefs_.end(), [&name](const FieldDef& def) {
        return def.Name.compare(name, Qt::CaseInsensitive) == 0;
      });
      const bool text = field != fieldDefs_.end() && TypeTable::ValueClassOf(field->DataType) == ValueClass::Text;
      columns.append(Quoted(name) + (text ? database.Dialect().TextCollation() : QString()) +
                     (index.Options & ixDescending ? QStringLiteral(" DESC") : QString()));
    }
    // A non-unique index carries the key after its fields, so that the engine
    // walks the dataset's whole order (fields, then key) without sorting.
    if (carriesKey(index, keyFields))
      for (const QString& name : keyFields) columns.append((name == keyFields.first() ? kCarriedKey : QString()) + Quoted(name));
    statements.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                          .arg(index.Options & ixUnique ? QStringLiteral("UNIQUE ") : QString(),
                               database.Dialect().OwnTable(indexNameFor(tableName_, index.Name)), Quoted(tableName_),
                               columns.join(QStringLiteral(", "))));
  }

  if (const QString collate = database.Dialect().TextCollation(); !collate.isEmpty()) {
    QStringList ordered, bytes;
    for (const QString& name : keyFields) {
      const auto field = std::find_if(fieldDefs_.begin(), fieldDefs_.end(), [&name](const FieldDef& def) {
        return def.Name.compare(name, Qt::CaseInsensitive) == 0;
      });
      const bool text = field != fieldDefs_.end() && TypeTable::ValueClassOf(field->DataType) == ValueClass::Text;
      ordered.append(Quoted(name) + (text ? collate : QString()));
      if (text) bytes.append(Quoted(name));
    }
    // A table renamed since keeps the index's name: the new table takes it.
    const QString index = database.Dialect().OwnTable(tableName_ + kKeyOrderSuffix);
    if (!bytes.isEmpty())
      statements << QStringLiteral("DROP INDEX IF EXISTS %1").arg(index)
                 << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                        .arg(index, Quoted(tableName_), (ordered + bytes).join(QStringLiteral(", ")));
  }

  try {
    WriteTransaction transaction(database);
    for (const QString& statement : statements) database.Execute(statement);
    transaction.Commit();
    RemovedRecords::RemoveAll(bookmarkSource());
  } catch (...) {
    ReleaseSource();
    throw;
  }
  ReleaseSource();
}

void Table::EmptyTable() {
  checkTableName();
  if (Active()) CheckBrowseMode();
  connection().Execute(QStringLiteral("DELETE FROM %1").arg(ownTable()));
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
    connection().Execute(QStringLiteral("DROP TABLE %1").arg(ownTable()));
    RemovedRecords::RemoveAll(bookmarkSource());
  } catch (...) {
    ReleaseSource();
    throw;
  }
  ReleaseSource();
}
