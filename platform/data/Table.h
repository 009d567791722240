#pragma once

#include "platform/data/CountMemo.h"
#include "platform/data/IndexedDataset.h"
#include "platform/data/TableDefs.h"
#include "platform/data/WrittenValue.h"
#include "platform/engine/EngineConnection.h"

class EngineDialect;
class EngineStatement;

#include <functional>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A table of a database, ordered by its current index (the primary key
// unless another is chosen; by insertion when it has none); changes are
// written at Post by primary key, or by row id when the table has no key.
// The hash of a record's key text. Left without noexcept on purpose: the
// standard map then keeps each key's hash in its node, and a look-up
// compares hashes before it reads another key's text.
struct KeyTextHash {
  std::size_t operator()(const QString& key) const { return qHash(key); }
};

// A record's key as a table without row ids holds it: its natural identity
// (see Table::naturalIdentity), or its text where it makes none.
struct RecordKey {
  std::optional<qint64> natural;
  QString text;
};

class Table : public IndexedDataset {
  Q_OBJECT

 public:
  explicit Table(QObject* owner = nullptr);
  ~Table() override;

  QString TableName() const { return tableName_; }
  void SetTableName(const QString& name);  // only while closed
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);  // only while closed
  bool CanModify() const override { return !readOnly_; }

  bool Exists();
  ::FieldDefs& FieldDefs() { return fieldDefs_; }
  // Reads the table's indexes into IndexDefs: the primary key first, with no
  // name; the others by the name they were created with. Opening does it.
  void UpdateIndexDefs();
  // Creates the table from the definitions, replacing one of that name; a
  // failure leaves the database as it was.
  void CreateTable();
  // Deletes every record; an open table is then empty.
  void EmptyTable();
  void DeleteTable();  // only while closed

 protected:
  Records ReadRecords() override;
  std::vector<Row> ReadMore(std::size_t count) override;
  std::optional<int> CountRecords() override;
  bool RestartReading() override {
    lastRead_.reset();
    startAt_.reset();
    return true;
  }
  bool StartReadingAt(const Row& key, int count) override;
  bool ContinueReadingAfter(const Row& row) override;
  void ForgetRecordsLetGo() override;
  std::optional<std::vector<Row>> ReadBefore(const Row* first, std::size_t count) override;
  std::optional<int> CountBefore(const Row& row) override;
  std::optional<Row> ReadRecordAt(int place) override;
  bool OrderedAsTheSystemCompares(int count) const override;
  std::optional<std::vector<Row>> LocateCandidates(const QList<Field*>& fields, const QList<Variant>& values,
                                                    LocateOptions options, std::size_t count) override;
  std::optional<Row> ReadRecord(const Row& row) override;
  Row InsertRecord(const Row& row) override;
  Row UpdateRecord(const Row& original, const Row& changed) override;
  void DeleteRecord(const Row& row) override;
  void ReleaseSource() override;
  std::unique_ptr<PendingWrite> BeginWrite() override;
  std::unique_ptr<RecordLock> LockRecord(const Row& row) override;
  std::shared_ptr<EngineConnection> SourceConnection() const override { return connection_; }
  BookmarkTarget BookmarkOf(const Row& row) override;
  std::optional<Row> BookmarkedRecord(const BookmarkTarget& target, const Row* read) override;

 private:
  class Write;
  struct OrderTerm {
    QString expression;
    int column = -1;  // -1: the row id
  };
  QList<OrderTerm> orderTerms() const;
  void limitConditions(const QList<OrderTerm>& terms, QStringList& conditions, QList<QVariant>& arguments) const;
  QList<QVariant> orderValues(const QList<OrderTerm>& terms, const Row& row) const;
  int count(const QStringList& conditions, const QList<QVariant>& arguments);
  std::vector<Row> selectRows(const QStringList& conditions, const QList<QVariant>& arguments, const QString& order,
                              std::size_t count);
  QString tableText() const;
  // The table in the connection's own database (not one of an attached file).
  const QString& ownTable();
  qint64 lastInsertedId();
  // The table within its file, as bookmarks and deletions name it.
  QString bookmarkSource();
  // The record within its table: its row id, or its key without one.
  QString recordName(const Row& row) const;
  QList<QVariant> bookmarkKey(const Row& row) const;
  QVariant nextAutoInc(const Column& column);
  EngineConnection& connection();
  const EngineDialect& dialect() { return connection().Dialect(); }
  void checkTableName() const;
  const QString& quotedName(int column) const;
  const QString& selectList() const;
  void forgetStatementTexts();
  QString keyCondition(const Row& row, QList<QVariant>& arguments) const;
  const QString& insertText(int numbered);
  QVariant bound(int column, const QVariant& value) const;
  QString keyText(const QList<QVariant>& values) const;
  std::optional<qint64> naturalIdentity(const QList<QVariant>& values) const;
  qint64 identityOfKey(const QList<QVariant>& values);
  RecordKey recordKey(const QList<QVariant>& values) const;
  std::optional<qint64> mappedIdentity(const RecordKey& key) const;
  std::optional<qint64> heldIdentityOfKey(const RecordKey& key) const;
  void setIdentityOfKey(const RecordKey& key, qint64 identity);
  void holdKey(const RecordKey& key, qint64 identity);
  void dropKey(const RecordKey& key);
  qint64 identityOfRowId(qint64 rowId);
  qint64 rowIdOf(const Row& row) const;
  void forgetIdentity(qint64 identity);
  Row rowOf(const EngineStatement& select);
  Row valuesOf(const EngineStatement& select);
  std::optional<Row> readByKey(const Row& row, bool identified);
  std::optional<Row> readByRowId(qint64 rowId);
  void readIndexDefs(const QStringList& keyNames);
  // Adds the condition that evaluates the filter in the reading, with its
  // arguments; false where it cannot.
  bool addFilterCondition(QStringList& conditions, QList<QVariant>& arguments);
  // A filter the engine cannot evaluate: only reading tells what it shows.
  bool filterLeftToTheDataset();
  void dropFilterFunction();
  Row readWritten(const Row& written);
  std::optional<Row> rowAsBound(const QList<QVariant>& bound);
  void readAffinities();
  bool compiledAfterAffinities(const EngineStatement& write);
  void protectWrite();
  bool writeUndoneWholeOnFailure();
  const QString& updateText(const QList<int>& assigned, const QString& keyCondition);
  const QString& selectText(const QStringList& conditions, const QString& order, std::size_t count);
  bool sameRecordName(const Row& a, const Row& b) const;
  std::optional<QList<QVariant>> boundRow(const Row& original, const QList<QVariant>& read, const QList<int>& assigned,
                                          const QList<QVariant>& written) const;

  QString tableName_;
  bool readOnly_ = false;
  ::FieldDefs fieldDefs_;
  std::shared_ptr<EngineConnection> connection_;
  std::optional<RecordLock::TableLocks> locks_;  // its side file open while the table is
  QList<int> keyColumns_;
  QList<WrittenValue::Affinity> affinities_;  // of the columns, as declared
  // When they were read (see EngineConnection::Compilations), and whether a
  // write compiled since may have found them declared otherwise.
  quint64 affinitiesAt_ = 0;
  bool affinitiesStale_ = false;
  bool withoutRowId_ = false;
  QString rowId_;  // the name the row id goes by where the table has them
  // By key, in a table without row ids: for the records shown, and those
  // whose key this table changed (followed). A key that makes a natural
  // identity is held by it, any other by its text.
  std::unordered_map<qint64, qint64> naturalIdentities_;
  std::unordered_map<QString, qint64, KeyTextHash> identities_;
  std::unordered_map<qint64, RecordKey> keyOfIdentity_;
  std::unordered_set<qint64> followed_;
  // Identities other than the row id (see identityOfRowId).
  std::unordered_map<qint64, qint64> identityOfRowId_;
  std::unordered_map<qint64, qint64> rowIdOfIdentity_;
  std::unordered_set<qint64> retiredRowIds_;  // of records this table deleted
  static constexpr qint64 kFirstOwnIdentity = std::numeric_limits<qint64>::min();
  // Row ids below it (a program may give any) get identities of their own
  // too: the table's own ones never reach it.
  static constexpr qint64 kOwnIdentitiesEnd = kFirstOwnIdentity + (qint64{1} << 62);
  qint64 lastOwnIdentity_ = kFirstOwnIdentity;
  // Counts the openings, so that an identity made from a key is another one
  // once the table is opened again, as its bookmarks expect.
  static constexpr int kOpeningShift = 40;
  static constexpr qint64 kMostOpenings = (qint64{1} << (63 - kOpeningShift)) - 1;
  qint64 opening_ = 1;
  std::vector<std::function<void()>> identityChanges_;  // of the write being made
  Write* write_ = nullptr;                               // the one being made
  // Whether a failed insert leaves the table whole by itself, as asked at
  // that version of the schema.
  std::optional<std::pair<EngineConnection::SchemaVersion, bool>> undoneWhole_;
  CountMemo counts_;
  QString filterFunctionName_;  // registered on the connection while open
  QList<int> filterColumns_;     // its arguments
  Row filterRow_;                // the record it evaluates
  mutable QStringList quotedNames_;
  mutable QString selectList_;
  QString ownTable_;
  mutable QString keyCondition_;  // with no field of the key empty
  struct {
    QString condition, text;
  } readRecord_;  // of the last record read back
  QString readByRowId_;
  struct {
    QString text;
    int numbered = -1;
  } insert_;  // of the last insert
  QString unchangedCondition_;  // every column as it was read
  struct UpdateText {
    QList<int> assigned;  // the columns written
    QString keyCondition;
    QString text;
  };
  static constexpr std::size_t kMostUpdateTexts = 8;
  std::vector<UpdateText> updateTexts_;
  struct SelectText {
    QStringList conditions;
    QString order;
    std::size_t count;
    QString text;
  };
  static constexpr std::size_t kMostSelectTexts = 16;
  std::vector<SelectText> selectTexts_;
  mutable std::optional<std::pair<QList<int>, QList<OrderTerm>>> orderTerms_;  // for those order columns
  // The records of the last reading that answered a few, as read, and the
  // state of the data then where the transaction held it locked.
  static constexpr std::size_t kLockedReadKept = 8;
  struct {
    std::optional<EngineConnection::DataVersion> version;
    std::vector<Row> rows;
  } lastLockedRead_;
  // The order values of the last record read: the next read starts after it.
  std::optional<QList<QVariant>> lastRead_;
  // Where the next read starts when nothing was read yet (the first values
  // of the order).
  std::optional<QList<QVariant>> startAt_;
};
