#pragma once

#include "platform/Variant.h"
#include "platform/data/FieldNames.h"
#include "platform/data/FieldType.h"
#include "platform/data/RecordLock.h"
#include "platform/engine/EngineConnection.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class DataSource;
class Dataset;
class Field;
class FilterExpression;
struct FilterSql;

// dsFilter: the fields show a record being tested by a filter or a search;
// dsCalcFields: the calculated fields of the record shown are being worked
// out (OnCalcFields).
enum DataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsFilter, dsCalcFields };

enum FilterOption : unsigned { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using FilterOptions = unsigned;
enum LocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using LocateOptions = unsigned;

// An event of a dataset: one slot, empty until assigned. A handler that
// throws Abort ends the operation without a message and without changes.
using DataSetNotifyEvent = std::function<void(Dataset&)>;
// Asked for every record while the dataset is filtered; the fields show the
// record, and clearing accept leaves it out.
using FilterRecordEvent = std::function<void(Dataset&, bool& accept)>;

// What a bookmark names: a record within its source (a table in its file,
// or the dataset that made it), by key or row id there.
struct BookmarkTarget {
  QString source;
  QString record;         // its key or row id as text, empty for a dataset's own
  QList<QVariant> key;    // the values to read it by, that it must still hold
  qint64 removals = 0;    // the deletions and rewrites its table had seen when it was made
  qint64 maker = 0;       // the dataset that made it
  qint64 identity = 0;    // the record as its maker knows it
  bool operator==(const BookmarkTarget&) const = default;
};

// A record that GotoBookmark returns to, while it exists and is shown; any
// dataset on the same table finds it.
class Bookmark {
 public:
  Bookmark() = default;
  bool IsValid() const { return target_.has_value(); }
  bool operator==(const Bookmark&) const = default;

 private:
  friend class Dataset;
  explicit Bookmark(BookmarkTarget target) : target_(std::move(target)) {}
  std::optional<BookmarkTarget> target_;
};

// A set of records navigated and edited one record at a time. Table and
// Query give the records and store the changes; the records are read in
// order as they are visited (all at once where the source gives them so),
// and no cursor stays open on the engine while anything else runs on it.
class Dataset : public QObject {
  Q_OBJECT

 public:
  explicit Dataset(QObject* owner = nullptr);
  ~Dataset() override;

  // The logical database: a database component's name, an alias or a folder.
  QString DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const QString& name);  // only while closed

  DataSetState State() const { return state_; }
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool active);
  void Open();
  void Close();

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);  // the number of records actually moved
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const;
  int RecordCount() const;
  int RecNo() const;  // from 1; -1 with no current record or a new one
  void SetRecNo(int recNo);
  Bookmark GetBookmark() const;
  void GotoBookmark(const Bookmark& bookmark);
  bool BookmarkValid(const Bookmark& bookmark) const;

  // Makes current the first record whose fields (names joined by ";") hold
  // the values (one value, or an array of one per field); false, and no
  // move, when there is none. loCaseInsensitive compares text under the
  // collation; loPartialKey takes each text value as a prefix.
  bool Locate(const QString& keyFields, const Variant& keyValues, LocateOptions options = 0);
  // The values of resultFields (one value, or an array of one per field) in
  // the first record whose keyFields hold keyValues, as Locate finds it but
  // without moving; Null when there is none.
  Variant Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields);

  // How many records opening reads (0: the usual first block). A dataset
  // opened only to be searched at once reads one: a lookup in a large table
  // reads the records it finds, not the table's first block.
  void SetOpeningBlock(std::size_t records) { openingBlock_ = records; }

  // The engine's filter expression, applied while Filtered together with
  // OnFilterRecord. Setting either while open goes to the first record; a
  // malformed expression raises EDatabaseError and changes nothing.
  const QString& Filter() const { return filterText_; }
  void SetFilter(const QString& text);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);
  ::FilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(::FilterOptions options);
  FilterRecordEvent OnFilterRecord;

  // While disabled, data sources pass on no change; enabling the last time
  // tells them the whole set changed.
  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Edit locks the record (Table) and reads it again from the database.
  // Post, Delete and moving to another record first post the pending
  // records of the detail datasets. A Post or Delete that fails leaves the
  // dataset and the database as they were.
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Set-key state: the fields hold the values of a key to look for, kept
  // until the next SetKey; Post keeps them, Cancel leaves them unused.
  void SetKey();
  void EditKey();
  // Reads all records again, staying on the current one where it still is.
  void Refresh();
  // Posts a modified record, cancels an unmodified one.
  void CheckBrowseMode();
  bool Modified() const { return modified_; }
  virtual bool CanModify() const { return false; }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  Field& Fields(int index) const;
  Field& FieldByName(const QString& fieldName) const;  // raises "Field 'X' not found"
  Field* FindField(const QString& fieldName) const;
  QStringList GetFieldNames() const;

  DataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  DataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  DataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  DataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  DataSetNotifyEvent BeforeRefresh, AfterRefresh, OnNewRecord;
  // Writes the calculated fields of the record shown (state dsCalcFields).
  DataSetNotifyEvent OnCalcFields;

 signals:
  void StateChanged();
  // A field's value changed (field), or the current record or the whole set
  // did (nullptr).
  void DataChanged(Field* field);

 protected:
  struct Column {
    QString name;
    FieldType type = ftUnknown;
    int size = 0;
    bool required = false;
    bool key = false;
  };
  // A record as stored: one value per column (invalid for NULL, qint64,
  // double, QString or QByteArray), and what identifies it in its source.
  struct Row {
    qint64 identity = 0;
    QList<QVariant> values;
  };
  struct Records {
    QList<Column> columns;
    std::vector<Row> rows;
    bool complete = true;  // false: ReadMore gives the rest
    bool ordered = false;  // already in the order of OrderColumns
  };

  // What a Table or Query does with its source.
  virtual Records ReadRecords() = 0;
  // The next records after those read so far, in order (range and master
  // link applied or not; the view applies them again): at most count, fewer
  // only at the end.
  virtual std::vector<Row> ReadMore(std::size_t /*count*/) { return {}; }
  // How many records ReadMore is asked for at once when wanted would be: a
  // source that reads in packets of its own asks for one packet.
  virtual std::size_t ReadBlock(std::size_t wanted) const { return wanted; }
  // How many records the source gives (range and master link applied, and
  // the filter where FilterColumns names its columns), when it can tell
  // without reading them; nullopt otherwise.
  virtual std::optional<int> CountRecords() { return std::nullopt; }
  // Starts reading from the first record again, with the same columns and
  // order (ReadMore gives them); false when the source cannot.
  virtual bool RestartReading() { return false; }
  // Makes ReadMore start at the first record at or after key on the first
  // count order columns; false when the source cannot.
  virtual bool StartReadingAt(const Row& /*key*/, int /*count*/) { return false; }
  // Makes ReadMore go on with the records after row, a record it gave;
  // false when the source cannot.
  virtual bool ContinueReadingAfter(const Row& /*row*/) { return false; }
  // After a move: the records read that are not among Rows() are held
  // nowhere else, and what the source keeps for them may go.
  virtual void ForgetRecordsLetGo() {}
  // The records just before first (before the end without one), in order:
  // at most count, fewer only at the start; nullopt when the source cannot.
  virtual std::optional<std::vector<Row>> ReadBefore(const Row* /*first*/, std::size_t /*count*/) {
    return std::nullopt;
  }
  // How many records are shown before row (applied as by CountRecords),
  // when the source can tell without reading them.
  virtual std::optional<int> CountBefore(const Row& /*row*/) { return std::nullopt; }
  // The record shown at a place (from 0; applied as by CountRecords), or
  // the last one when there are fewer, read without the records before it;
  // nullopt when the source cannot, or has no record.
  virtual std::optional<Row> ReadRecordAt(int /*place*/) { return std::nullopt; }
  // Records that may hold the values, in the order shown, as the engine
  // finds them: every record that holds them is among them, up to count;
  // nullopt when the engine cannot tell.
  virtual std::optional<std::vector<Row>> LocateCandidates(const QList<Field*>& /*fields*/,
                                                            const QList<Variant>& /*values*/, LocateOptions /*options*/,
                                                            std::size_t /*count*/) {
    return std::nullopt;
  }
  // The writes of one Post or Delete: undone unless committed.
  class PendingWrite {
   public:
    virtual ~PendingWrite() = default;
    virtual void Commit() = 0;
  };
  virtual std::unique_ptr<PendingWrite> BeginWrite() { return nullptr; }
  // The lock Edit holds until Post, Cancel or Close, and Delete while it
  // deletes; none by default.
  virtual std::unique_ptr<RecordLock> LockRecord(const Row&) { return nullptr; }
  // The connection whose rollbacks an open dataset follows; none by default.
  virtual std::shared_ptr<EngineConnection> SourceConnection() const { return nullptr; }
  // The record as the database holds it now; nullopt when it is gone.
  virtual std::optional<Row> ReadRecord(const Row& row);
  virtual Row InsertRecord(const Row& row);
  virtual Row UpdateRecord(const Row& original, const Row& changed);
  virtual void DeleteRecord(const Row& row);
  virtual void ReleaseSource() {}
  // What a bookmark of the record names (source, record, key, removals); by
  // default the record within this dataset.
  virtual BookmarkTarget BookmarkOf(const Row& row);
  // The record a bookmark names, as the source holds it now; nullopt when it
  // is gone or the bookmark is another source's. read: the record with the
  // bookmark's identity among those read, where this dataset made it.
  virtual std::optional<Row> BookmarkedRecord(const BookmarkTarget& target, const Row* read);
  // This dataset, for the bookmarks it makes.
  qint64 Serial() const { return serial_; }

  // The index of the first record shown whose fields hold the values (each
  // converted to its field's type), from the first; -1 for none.
  virtual int FindRow(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options);
  // The same among the records shown from first to before last.
  int FindRowBetween(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options,
                     std::size_t first, std::size_t last);

  // The columns that keep the records in order (empty: as read or added).
  void SetOrderColumns(QList<int> columns) { orderColumns_ = std::move(columns); }
  const QList<int>& OrderColumns() const { return orderColumns_; }
  const QList<Column>& Columns() const { return columns_; }
  // The records shown that were read so far, in order, and the current one
  // (-1: none).
  const std::vector<Row>& Rows() const { return rows_; }
  // Reads on until count records are shown or none is left.
  void ReadRowsUpTo(std::size_t count) const;
  // A record let go of, whose buffers a record being read can reuse.
  Row RecycledRow();
  bool AllRowsRead() const { return complete_; }
  // Whether the first record read is the first one shown.
  bool StartRead() const { return headComplete_; }
  // Reads from the first record at or after key on count order columns, the
  // current record given up, first as many records as the caller needs at
  // once; false, and nothing changes, where the source cannot.
  bool ReadFrom(const Row& key, int count, std::size_t firstRead) const;
  // The current record, to come back to with ReturnTo after a search that
  // read elsewhere.
  std::optional<Row> CurrentRecord() const;
  void ReturnTo(const std::optional<Row>& record) const;
  int CurrentRow() const { return current_; }
  // Makes a record current, as navigation does.
  void GotoRow(int index);
  // Once the columns are known, at every reading: where the order is set.
  virtual void PrepareView() {}
  // Whether a record read or posted is shown (a range, a master's link); the
  // filter is applied besides.
  virtual bool RecordInView(const Row&) const { return true; }
  // The columns the filter reads, where it alone decides which records the
  // range and the master leave shown (no OnFilterRecord, no calculated
  // fields); nullopt otherwise, and while nothing is filtered.
  std::optional<QList<int>> FilterColumns() const;
  // The filter as the engine's SQL over the expressions of those columns,
  // where every part of it has one.
  std::optional<FilterSql> FilterAsSql(const std::function<QString(int column)>& columnOf) const;
  // Whether the filter passes a record, of which only those columns count.
  bool PassesFilter(const Row& row) { return passesFilter(row); }
  // Whether a filter expression or OnFilterRecord may leave records out.
  bool FilterInForce() const { return filtered_ && (filter_ || OnFilterRecord); }
  // A new record before OnNewRecord: the values a master link gives it.
  virtual void InitNewRecord() {}
  // The record a key's values make, assigned to the fields as in set-key
  // state (each converted to its field's type), without telling anyone.
  Row KeyRow(const QList<Field*>& fields, const QList<Variant>& values);
  // The columns and the records another dataset shows.
  static Records Snapshot(const Dataset& source);
  std::shared_ptr<EngineConnection> OpenDatabaseConnection() const;

  void CheckActive() const;
  void CheckInactive() const;
  // Raises "Cannot modify a read-only dataset" unless CanModify.
  void CheckCanModify() const;
  // The key values of the last set-key state.
  const Row& KeyBuffer() const { return keyRow_; }
  // Reloads the records after a change of the whole table, or a closed set,
  // staying on the current record where it is still shown; without
  // keepCurrent only the view changed (range, master, filter), and a source
  // that can start reading again keeps its columns.
  void Reload(bool keepCurrent = true);
  // Only the view changed (its order, a range), the current record kept.
  void ReloadView();

  void connectNotify(const QMetaMethod& signal) override;
  void disconnectNotify(const QMetaMethod& signal) override;

 private:
  friend class Field;
  friend class DataSource;
  void addField(Field* field);
  void removeField(Field* field);
  void indexFieldNames();
  const QVariant& recordValue(const Field& field) const;
  const Row* shownRow() const;
  void calculateFields();
  QList<Field*> fieldsNamed(const QString& names) const;
  void setRecordValue(Field& field, QVariant value);
  void bindFields();
  void unbindFields();
  class TemporaryState;
  void setState(DataSetState state);
  void changed(Field* field);
  void compileFilter();
  void refilter();
  bool passesFilter(const Row& row);
  bool inView(const Row& row);
  void applyView(std::vector<Row>& rows, bool ordered);
  void fire(const DataSetNotifyEvent& event);
  void beginInsert(bool append);
  void checkRequiredFields() const;
  std::size_t orderedPosition(const Row& row) const;
  void placeReadAgain(Row fresh);
  // Shows a record where it belongs, from position among the records read;
  // where it is now shown.
  std::size_t place(Row row, std::size_t position);
  void readBefore() const;
  int readBeforeWhenNoneLeft();
  void letGoBehind(bool evenWhenAllRead = false);
  void letGoAhead();
  void restartFromFirst(bool keepCurrent) const;
  void readLast();
  int indexOfIdentity(qint64 identity) const;
  int bookmarkedIndex(const Bookmark& bookmark);
  int indexOfRecord(const Row& record);
  int readAt(const Row& record) const;
  int placeNearRead(int place);
  int readFromPlace(int place);
  void scrolled();
  void postDetails();
  void reload(bool keepCurrent, bool sameColumns);
  void letRowsGo(std::size_t count, std::size_t first = 0) const;
  void followRollbacks();

  const qint64 serial_;
  QString databaseName_;
  DataSetState state_ = dsInactive;
  QList<Column> columns_;
  std::vector<Row> rows_;
  bool complete_ = true;
  bool headComplete_ = true;  // rows_ starts at the first record shown
  std::size_t openingBlock_ = 0;
  std::size_t nextBlock_ = 0;  // the size of the next read, once; 0: by what was read
  // Where the first record read stands among those shown, once counted;
  // forgotten whenever the records are read from another start.
  mutable std::optional<std::pair<qint64, int>> frontPlace_;
  void forgetFrontPlace() const { frontPlace_.reset(); }
  // Records a Post placed among those read, out of the source's reading
  // order: skipped when the source gives them again.
  std::unordered_set<qint64> placed_;
  std::vector<Row> spare_;  // records let go of, for their buffers
  QList<int> orderColumns_;
  int current_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  Row editRow_;
  Row editOriginal_;  // the record as Edit read it
  Row keyRow_;
  std::size_t insertPosition_ = 0;
  bool modified_ = false;
  QList<Field*> fields_;
  // The first field of each name, as FindField finds it.
  std::unordered_map<QString, Field*, FieldNameHash, FieldNameEqual> fieldsByName_;
  // The names last asked for by the text they were given in (a routine asks
  // with the same literal at every record), checked again at every use.
  struct AskedName {
    const QChar* text = nullptr;
    qsizetype size = 0;
    Field* field = nullptr;
  };
  mutable std::array<AskedName, 8> askedNames_{};
  QList<QVariant> calculated_;  // the calculated fields of the record shown
  QString filterText_;
  bool filtered_ = false;
  ::FilterOptions filterOptions_ = 0;
  std::shared_ptr<const FilterExpression> filter_;
  const Row* candidate_ = nullptr;  // the record dsFilter shows
  int disableCount_ = 0;
  int quiet_ = 0;  // temporary states tell nobody
  int dataListeners_ = 0;  // connected to DataChanged
  std::unique_ptr<RecordLock> recordLock_;
  QList<QPointer<DataSource>> sources_;  // that show this dataset
  bool postingDetails_ = false;
  struct RollbackFollowing {
    std::shared_ptr<EngineConnection> connection;  // outlives the listener
    std::unique_ptr<EngineConnection::RollbackListener> listener;
  };
  std::optional<RollbackFollowing> rollbacks_;
};
