#include "platform/data/Dataset.h"

#include "platform/data/DataSource.h"
#include "platform/data/DatasetTemporaryState.h"
#include "platform/data/Field.h"
#include "platform/data/IndexOrder.h"
#include "platform/data/RecordLock.h"
#include "platform/data/Session.h"
#include "platform/sqlite/DatabaseError.h"

#include <QMetaMethod>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>
#include <atomic>
#include <cstdint>
#include <limits>

namespace {

const QVariant kNull;

QString fieldText(const char* pattern, const QString& name) { return QString::fromLatin1(pattern).arg(name); }

qint64 nextSerial() {
  static std::atomic<qint64> last{0};
  return ++last;
}

}  // namespace

Dataset::Dataset(QObject* owner) : QObject(owner), serial_(nextSerial()) {}

Dataset::~Dataset() {
  // Fields are children too, but they must go while this is still a Dataset.
  const QList<Field*> fields = fields_;
  fields_.clear();
  fieldsByName_.clear();
  qDeleteAll(fields);
}

void Dataset::SetDatabaseName(const QString& name) {
  CheckInactive();
  databaseName_ = name;
}

std::shared_ptr<EngineConnection> Dataset::OpenDatabaseConnection() const {
  return Session::Default().OpenDatabase(databaseName_);
}

void Dataset::CheckActive() const {
  if (!Active()) throw EDatabaseError(EngineText::DatasetClosed);
}

void Dataset::CheckInactive() const {
  if (Active()) throw EDatabaseError(EngineText::DatasetOpen);
}

void Dataset::CheckCanModify() const {
  if (!CanModify()) throw EDatabaseError(EngineText::DatasetReadOnly);
}

void Dataset::setState(DataSetState state) {
  if (state_ == state) return;
  state_ = state;
  if (quiet_ == 0) emit StateChanged();
}

void Dataset::changed(Field* field) {
  if (!field || (!field->outsideRecord() && (state_ == dsEdit || state_ == dsInsert))) calculateFields();
  if (quiet_ == 0 && dataListeners_ > 0) emit DataChanged(field);
}

// Told at every move, a change is worth telling only while someone listens.
// Qt calls these holding its own lock of the connections: they only count.
void Dataset::connectNotify(const QMetaMethod& signal) {
  if (signal == QMetaMethod::fromSignal(&Dataset::DataChanged)) ++dataListeners_;
}

// Every connection dropped at once (an invalid signal) may leave the count
// too high, which costs only a signal nobody hears.
void Dataset::disconnectNotify(const QMetaMethod& signal) {
  if (signal == QMetaMethod::fromSignal(&Dataset::DataChanged) && dataListeners_ > 0) --dataListeners_;
}

const Dataset::Row* Dataset::shownRow() const {
  switch (state_) {
    case dsEdit:
    case dsInsert:
      return &editRow_;
    case dsFilter:
    case dsCalcFields:
      return candidate_;
    case dsBrowse:
      return current_ < 0 ? nullptr : &rows_[static_cast<std::size_t>(current_)];
    default:
      return nullptr;
  }
}

void Dataset::calculateFields() {
  if (calculated_.isEmpty()) return;
  calculated_.fill(QVariant());
  const Row* row = shownRow();
  if (!row) return;
  TemporaryState state(*this, dsCalcFields);
  state.Show(*row);
  for (Field* field : fields_)
    if (field->FieldKind() == fkLookup) field->lookUp();
  fire(OnCalcFields);
}

void Dataset::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  emit StateChanged();
  emit DataChanged(nullptr);
}

void Dataset::fire(const DataSetNotifyEvent& event) {
  if (event) event(*this);
}

// ---- opening and closing

void Dataset::SetActive(bool active) {
  if (active)
    Open();
  else
    Close();
}

void Dataset::Open() {
  if (Active()) return;
  fire(BeforeOpen);
  Records records;
  try {
    records = ReadRecords();
    columns_ = std::move(records.columns);
    bindFields();
    PrepareView();
    compileFilter();
    applyView(records.rows, records.ordered);
    rows_ = std::move(records.rows);
    complete_ = records.complete;
    headComplete_ = true;
    forgetFrontPlace();
    placed_.clear();
    nextBlock_ = openingBlock_;
    ReadRowsUpTo(1);
  } catch (...) {
    filter_.reset();
    unbindFields();
    columns_.clear();
    rows_.clear();
    complete_ = true;
    ReleaseSource();
    throw;
  }
  current_ = rows_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = rows_.empty();
  modified_ = false;
  followRollbacks();
  setState(dsBrowse);
  changed(nullptr);
  fire(AfterOpen);
  if (!IsEmpty()) fire(AfterScroll);
}

void Dataset::Close() {
  if (!Active()) return;
  fire(BeforeClose);
  setState(dsInactive);
  recordLock_.reset();
  editRow_ = editOriginal_ = Row();
  rollbacks_.reset();
  filter_.reset();
  unbindFields();
  columns_.clear();
  rows_.clear();
  spare_.clear();
  complete_ = headComplete_ = true;
  forgetFrontPlace();
  placed_.clear();
  current_ = -1;
  bof_ = eof_ = true;
  modified_ = false;
  ReleaseSource();
  changed(nullptr);
  fire(AfterClose);
}

// What a rollback undid leaves the records shown; they are read again.
void Dataset::followRollbacks() {
  std::shared_ptr<EngineConnection> connection = SourceConnection();
  if (!connection) return;
  auto listener = connection->ListenToRollbacks([this] { Reload(); });
  rollbacks_ = RollbackFollowing{std::move(connection), std::move(listener)};
}

// Persistent data fields are the only data fields; without any, a field is
// made for every column, ahead of the calculated ones.
void Dataset::bindFields() {
  int calculated = 0;
  for (Field* field : fields_)
    if (field->outsideRecord()) field->column_ = calculated++;
  const bool persistentOnly =
      std::any_of(fields_.begin(), fields_.end(), [](Field* f) { return f->persistent_ && !f->outsideRecord(); });
  if (persistentOnly) {
    for (Field* field : fields_) {
      if (field->outsideRecord()) continue;
      const auto column = std::find_if(columns_.begin(), columns_.end(), [field](const Column& c) {
        return c.name.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
      });
      if (column == columns_.end()) throw EDatabaseError(fieldText(EngineText::FieldNotFound, field->FieldName()));
      field->bind(static_cast<int>(column - columns_.begin()), column->type, column->size, column->required,
                  column->key);
    }
  } else {
    for (int i = 0; i < columns_.size(); ++i) {
      const Column& column = columns_[i];
      auto* field = new Field(this, column.name, column.type, column.size);
      field->persistent_ = false;
      field->bind(i, column.type, column.size, column.required, column.key);
    }
    std::stable_partition(fields_.begin(), fields_.end(), [](Field* f) { return !f->outsideRecord(); });
    indexFieldNames();
  }
  calculated_ = QList<QVariant>(calculated);
}

void Dataset::unbindFields() {
  calculated_.clear();
  const QList<Field*> fields = fields_;
  fieldsByName_.clear();
  for (Field* field : fields) {
    if (field->persistent_)
      field->column_ = -1;
    else
      delete field;
  }
  indexFieldNames();
}

void Dataset::addField(Field* field) {
  askedNames_.fill(AskedName());
  fields_.append(field);
  fieldsByName_.try_emplace(field->FieldName(), field);
}

void Dataset::removeField(Field* field) {
  askedNames_.fill(AskedName());
  fields_.removeAll(field);
  const auto named = fieldsByName_.find(field->FieldName());
  if (named == fieldsByName_.end() || named->second != field) return;
  fieldsByName_.erase(named);
  const FieldNameEqual same;
  const auto other = std::find_if(fields_.begin(), fields_.end(),
                                  [&](const Field* f) { return same(f->FieldName(), field->FieldName()); });
  if (other != fields_.end()) fieldsByName_.emplace((*other)->FieldName(), *other);
}

void Dataset::indexFieldNames() {
  askedNames_.fill(AskedName());
  fieldsByName_.clear();
  for (Field* field : fields_) fieldsByName_.try_emplace(field->FieldName(), field);
}

// ---- navigation

bool Dataset::IsEmpty() const {
  if (!Active()) return true;
  ReadRowsUpTo(1);
  return rows_.empty() && state_ != dsInsert;
}

int Dataset::RecordCount() const {
  CheckActive();
  // Every record still to read counts unless a filter the source cannot
  // evaluate could leave it out.
  const bool filtering = FilterInForce() && !FilterColumns();
  if ((!complete_ || !headComplete_) && !filtering)
    if (const std::optional<int> counted = const_cast<Dataset&>(*this).CountRecords()) return *counted;
  restartFromFirst(true);
  ReadRowsUpTo(std::numeric_limits<std::size_t>::max());
  return static_cast<int>(rows_.size());
}

namespace {

// The first records a source gives, then blocks growing with what was read.
constexpr std::size_t kFirstBlock = 64;
constexpr std::size_t kLargestBlock = 1024;
// Going back to a record, the one after it comes with it.
constexpr std::size_t kReturnBlock = 2;
// Moving on past this many records read, those far behind are let go.
constexpr int kWindowLimit = 4096;
constexpr int kKeptBehind = 1024;
// Records let go of lend their buffers to the next ones read: as many as a
// walk lets go at a time.
constexpr std::size_t kMostSpare = kWindowLimit - kKeptBehind;

}  // namespace

void Dataset::ReadRowsUpTo(std::size_t count) const {
  auto& self = const_cast<Dataset&>(*this);
  while (!complete_ && rows_.size() < count) {
    const std::size_t wanted = std::exchange(self.nextBlock_, 0);
    const std::size_t block = ReadBlock(wanted > 0 ? wanted : std::clamp(rows_.size(), kFirstBlock, kLargestBlock));
    std::vector<Row> more = self.ReadMore(block);
    self.complete_ = more.size() < block;
    for (Row& row : more)
      if (!placed_.contains(row.identity) && self.inView(row))
        self.rows_.push_back(std::move(row));
      else if (spare_.size() < kMostSpare)
        self.spare_.push_back(std::move(row));
  }
}

void Dataset::letRowsGo(std::size_t count, std::size_t first) const {
  auto& self = const_cast<Dataset&>(*this);
  const auto begin = self.rows_.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = begin + static_cast<std::ptrdiff_t>(count);
  const std::size_t room = kMostSpare - std::min(kMostSpare, spare_.size());
  std::move(begin, begin + static_cast<std::ptrdiff_t>(std::min(count, room)), std::back_inserter(self.spare_));
  self.rows_.erase(begin, end);
}

Dataset::Row Dataset::RecycledRow() {
  if (spare_.empty()) return Row();
  Row row = std::move(spare_.back());
  spare_.pop_back();
  return row;
}

// The blocks before the first record read (the last blocks without one),
// up to one the view shows a record of: the reading goes on before the
// records it hides.
void Dataset::readBefore() const {
  auto& self = const_cast<Dataset&>(*this);
  std::size_t block = std::clamp(rows_.size(), kFirstBlock, kLargestBlock);
  std::optional<Row> hiddenFront;
  std::vector<Row> shown;
  bool skipped = false;
  while (shown.empty() && !headComplete_) {
    const Row* first = hiddenFront ? &*hiddenFront : rows_.empty() ? nullptr : &rows_.front();
    std::optional<std::vector<Row>> before = self.ReadBefore(first, block);
    if (!before) {
      self.restartFromFirst(true);
      self.headComplete_ = true;  // a source that cannot read back has nothing before
      return;
    }
    self.headComplete_ = before->size() < block;
    if (!before->empty()) hiddenFront = before->front();
    for (Row& row : *before)
      if (!placed_.contains(row.identity) && self.inView(row))
        shown.push_back(std::move(row));
      else
        skipped = skipped || placed_.contains(row.identity);
    block = std::min(block * 2, kLargestBlock);
  }
  // The place of the first record read follows from the one counted after it.
  const bool counted = frontPlace_ && !rows_.empty() && frontPlace_->first == rows_.front().identity && !skipped;
  const int frontPlace = counted ? frontPlace_->second - static_cast<int>(shown.size()) : 0;
  self.rows_.insert(self.rows_.begin(), std::make_move_iterator(shown.begin()), std::make_move_iterator(shown.end()));
  if (counted && !rows_.empty()) self.frontPlace_.emplace(rows_.front().identity, frontPlace);
  if (current_ >= 0) self.current_ += static_cast<int>(shown.size());
}

// The last record of those read from the end gone from the view, the ones
// before it are read: how many came.
int Dataset::readBeforeWhenNoneLeft() {
  if (!rows_.empty() || headComplete_) return 0;
  readBefore();
  return static_cast<int>(rows_.size());
}

// Memory does not grow with the table: a walk keeps the records around the
// current one, and reads back those it let go when it returns.
void Dataset::letGoBehind(bool evenWhenAllRead) {
  if ((complete_ && !evenWhenAllRead) || current_ < kWindowLimit) return;
  const int drop = current_ - kKeptBehind;
  for (int i = 0; i < drop && !placed_.empty(); ++i) placed_.erase(rows_[static_cast<std::size_t>(i)].identity);
  const bool counted = frontPlace_ && frontPlace_->first == rows_.front().identity;
  letRowsGo(static_cast<std::size_t>(drop));
  current_ -= drop;
  if (counted) frontPlace_.emplace(rows_.front().identity, frontPlace_->second + drop);
  else if (headComplete_) frontPlace_.emplace(rows_.front().identity, drop);
  headComplete_ = false;
}

// Walking back, the records far ahead go likewise; the reading goes on
// after the last one kept when the walk turns.
void Dataset::letGoAhead() {
  if (current_ < 0 || static_cast<int>(rows_.size()) - current_ <= kWindowLimit) return;
  const std::size_t kept = static_cast<std::size_t>(current_ + kKeptBehind);
  if (!ContinueReadingAfter(rows_[kept - 1])) return;
  for (std::size_t i = kept; i < rows_.size() && !placed_.empty(); ++i) placed_.erase(rows_[i].identity);
  letRowsGo(rows_.size() - kept, kept);
  complete_ = false;
}

void Dataset::restartFromFirst(bool keepCurrent) const {
  if (headComplete_) return;
  auto& self = const_cast<Dataset&>(*this);
  const std::optional<qint64> held =
      keepCurrent && current_ >= 0 ? std::optional<qint64>(rows_[static_cast<std::size_t>(current_)].identity)
                                   : std::nullopt;
  if (!self.RestartReading()) return;
  letRowsGo(rows_.size());
  self.placed_.clear();
  self.complete_ = false;
  self.headComplete_ = true;
  self.forgetFrontPlace();
  self.current_ = -1;
  ReadRowsUpTo(1);
  const int found = held ? indexOfIdentity(*held) : -1;
  self.current_ = found >= 0 ? found : (rows_.empty() ? -1 : 0);
}

bool Dataset::ReadFrom(const Row& key, int count, std::size_t firstRead) const {
  auto& self = const_cast<Dataset&>(*this);
  if (!self.StartReadingAt(key, count)) return false;
  self.nextBlock_ = firstRead;
  letRowsGo(rows_.size());
  self.placed_.clear();
  self.complete_ = false;
  self.headComplete_ = false;
  self.forgetFrontPlace();
  self.current_ = -1;
  ReadRowsUpTo(1);
  return true;
}

std::optional<Dataset::Row> Dataset::CurrentRecord() const {
  if (current_ < 0 || static_cast<std::size_t>(current_) >= rows_.size()) return std::nullopt;
  return rows_[static_cast<std::size_t>(current_)];
}

void Dataset::ReturnTo(const std::optional<Row>& record) const {
  if (!record) return;
  if (current_ >= 0 && static_cast<std::size_t>(current_) < rows_.size() &&
      rows_[static_cast<std::size_t>(current_)].identity == record->identity)
    return;
  auto& self = const_cast<Dataset&>(*this);
  int found = -1;
  for (std::size_t i = 0; i < rows_.size() && found < 0; ++i)
    if (rows_[i].identity == record->identity) found = static_cast<int>(i);
  if (found < 0) found = readAt(*record);
  self.current_ = found >= 0 ? found : (rows_.empty() ? -1 : 0);
}

// Reads from the record's place in the order, and nothing past it: where it
// is shown there, -1 when it is not.
int Dataset::readAt(const Row& record) const {
  if (!ReadFrom(record, static_cast<int>(orderColumns_.size()), kReturnBlock)) return indexOfIdentity(record.identity);
  const IndexOrder order(orderColumns_);
  for (std::size_t i = 0;; ++i) {
    if (i >= rows_.size()) ReadRowsUpTo(i + 1);
    if (i >= rows_.size()) return -1;
    if (rows_[i].identity == record.identity) return static_cast<int>(i);
    // Without an order, the reading starts at the record itself.
    if (orderColumns_.isEmpty() || order.Compare(rows_[i].values, record.values) > 0) return -1;
  }
}

// The last records, read backwards from the end where the source can.
void Dataset::readLast() {
  // A search that read from a key past every record holds none: the last
  // ones lie before it.
  while (complete_ && rows_.empty() && !headComplete_) readBefore();
  if (complete_) return;
  std::optional<std::vector<Row>> last = ReadBefore(nullptr, kFirstBlock);
  if (!last) {
    ReadRowsUpTo(std::numeric_limits<std::size_t>::max());
    return;
  }
  rows_.clear();
  placed_.clear();
  complete_ = true;
  headComplete_ = last->size() < kFirstBlock;
  forgetFrontPlace();
  for (Row& row : *last)
    if (inView(row)) rows_.push_back(std::move(row));
  current_ = -1;
  while (rows_.empty() && !headComplete_) readBefore();
}

int Dataset::RecNo() const {
  CheckActive();
  if (state_ == dsInsert || current_ < 0) return -1;
  if (!headComplete_) {
    const bool filtering = FilterInForce() && !FilterColumns();
    if (!filtering) {
      // The first record read is counted once: a grid asks at every row.
      const Row& front = rows_.front();
      if (!frontPlace_ || frontPlace_->first != front.identity) {
        auto& self = const_cast<Dataset&>(*this);
        // Read to the end, the records before are all the others.
        std::optional<int> before = complete_ ? self.CountRecords() : std::nullopt;
        if (before) *before -= static_cast<int>(rows_.size());
        else before = self.CountBefore(front);
        if (before) frontPlace_.emplace(front.identity, *before);
      }
      if (frontPlace_ && frontPlace_->first == front.identity) return frontPlace_->second + current_ + 1;
    }
    restartFromFirst(true);
  }
  return current_ + 1;
}

void Dataset::scrolled() {
  ForgetRecordsLetGo();
  changed(nullptr);
  fire(AfterScroll);
}

void Dataset::First() {
  CheckBrowseMode();
  fire(BeforeScroll);
  restartFromFirst(false);
  ReadRowsUpTo(1);
  current_ = rows_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = rows_.empty();
  scrolled();
}

void Dataset::Last() {
  CheckBrowseMode();
  fire(BeforeScroll);
  readLast();
  current_ = static_cast<int>(rows_.size()) - 1;
  eof_ = true;
  bof_ = rows_.empty();
  scrolled();
}

int Dataset::MoveBy(int distance) {
  CheckBrowseMode();
  fire(BeforeScroll);
  int moved = 0;
  if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
    bof_ = eof_ = false;
    while (distance < 0 && !headComplete_ && qint64{current_} + distance < 0) readBefore();
    if (distance > 0) letGoBehind();
    if (distance < 0) letGoAhead();
    const qint64 target64 = qint64{current_} + distance;
    if (target64 >= 0) ReadRowsUpTo(static_cast<std::size_t>(target64) + 1);
    const int last = static_cast<int>(rows_.size()) - 1;
    const int target = static_cast<int>(std::clamp<qint64>(target64, -1, qint64{last} + 1));
    if (target > last) {
      eof_ = true;
      moved = last - current_;
      current_ = last;
    } else if (target < 0) {
      bof_ = true;
      moved = -current_;
      current_ = rows_.empty() ? -1 : 0;
    } else {
      moved = distance;
      current_ = target;
    }
  }
  scrolled();
  return moved;
}

void Dataset::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (recNo == RecNo()) return;
  const int place = std::max(recNo, 1) - 1;
  // Far from what is read, the source finds the record by its place, so
  // that a grid scrolled to the end of a large table reads only its view.
  int at = placeNearRead(place);
  if (at < 0) at = readFromPlace(place);
  if (at < 0) {
    restartFromFirst(false);
    ReadRowsUpTo(static_cast<std::size_t>(place) + 1);
    at = std::min(place, static_cast<int>(rows_.size()) - 1);
  }
  if (rows_.empty()) return;
  fire(BeforeScroll);
  current_ = at;
  bof_ = eof_ = false;
  scrolled();
}

// Where the place is among the records read, reading up to a block more
// either way; -1 when it is farther.
int Dataset::placeNearRead(int place) {
  if (current_ < 0) return -1;
  const int currentPlace = RecNo() - 1;
  const bool counted = headComplete_ || (frontPlace_ && frontPlace_->first == rows_.front().identity);
  if (currentPlace < 0 || !counted) return -1;
  const auto index = [&] { return current_ + (place - currentPlace); };
  while (index() < 0 && !headComplete_ && -index() <= static_cast<int>(kLargestBlock)) {
    const std::size_t read = rows_.size();
    readBefore();
    if (rows_.size() == read) break;
  }
  if (index() < 0) return -1;
  const auto wanted = static_cast<std::size_t>(index()) + 1;
  if (wanted > rows_.size() && wanted - rows_.size() <= kLargestBlock) ReadRowsUpTo(wanted);
  if (wanted <= rows_.size()) return index();
  return complete_ ? static_cast<int>(rows_.size()) - 1 : -1;
}

int Dataset::readFromPlace(int place) {
  const bool filtering = FilterInForce() && !FilterColumns();
  if (filtering) return -1;
  const std::optional<Row> record = ReadRecordAt(place);
  return record ? readAt(*record) : -1;
}

Bookmark Dataset::GetBookmark() const {
  CheckActive();
  if (current_ < 0 || state_ == dsInsert) return Bookmark();
  const Row& row = rows_[static_cast<std::size_t>(current_)];
  BookmarkTarget target = const_cast<Dataset&>(*this).BookmarkOf(row);
  target.maker = serial_;
  target.identity = row.identity;
  return Bookmark(std::move(target));
}

BookmarkTarget Dataset::BookmarkOf(const Row& row) {
  BookmarkTarget target;
  target.source = QStringLiteral("dataset:%1").arg(serial_);
  target.key = row.values;
  return target;
}

// Read again, the records may have moved (a query's row number is its
// identity): the one nearest the old place that holds the values.
std::optional<Dataset::Row> Dataset::BookmarkedRecord(const BookmarkTarget& target, const Row* read) {
  if (target.maker != serial_) return std::nullopt;
  if (read && read->values == target.key) return *read;
  int place = indexOfIdentity(target.identity);
  if (place >= 0 && rows_[static_cast<std::size_t>(place)].values == target.key)
    return rows_[static_cast<std::size_t>(place)];
  if (!headComplete_) {
    restartFromFirst(true);
    place = indexOfIdentity(target.identity);
  }
  if (place < 0) place = static_cast<int>(rows_.size());
  for (int distance = 0;; ++distance) {
    const std::size_t after = static_cast<std::size_t>(place) + static_cast<std::size_t>(distance);
    ReadRowsUpTo(after + 1);
    if (after < rows_.size() && rows_[after].values == target.key) return rows_[after];
    if (distance > 0 && distance <= place && rows_[static_cast<std::size_t>(place - distance)].values == target.key)
      return rows_[static_cast<std::size_t>(place - distance)];
    if (after >= rows_.size() && distance >= place) return std::nullopt;
  }
}

// Among the records read, then among those still to read.
int Dataset::indexOfIdentity(qint64 identity) const {
  for (std::size_t i = 0;; ++i) {
    if (i >= rows_.size()) ReadRowsUpTo(i + 1);
    if (i >= rows_.size()) break;
    if (rows_[i].identity == identity) return static_cast<int>(i);
  }
  if (headComplete_) return -1;
  restartFromFirst(true);
  return indexOfIdentity(identity);
}

int Dataset::bookmarkedIndex(const Bookmark& bookmark) {
  if (!Active() || !bookmark.target_) return -1;
  const BookmarkTarget& target = *bookmark.target_;
  int index = -1;
  for (std::size_t i = 0; target.maker == serial_ && index < 0 && i < rows_.size(); ++i)
    if (rows_[i].identity == target.identity) index = static_cast<int>(i);
  const std::optional<Row> record =
      BookmarkedRecord(target, index >= 0 ? &rows_[static_cast<std::size_t>(index)] : nullptr);
  if (!record) return -1;
  if (index >= 0 && static_cast<std::size_t>(index) < rows_.size() &&
      rows_[static_cast<std::size_t>(index)].identity == record->identity)
    return index;
  return indexOfRecord(*record);
}

// Where a record is shown: among those read, else read from its place in
// the order; -1, and the current record kept, when the view leaves it out.
int Dataset::indexOfRecord(const Row& record) {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].identity == record.identity) return static_cast<int>(i);
  if (!inView(record)) return -1;
  const std::optional<Row> held = CurrentRecord();
  const int found = readAt(record);
  if (found < 0) ReturnTo(held);
  return found;
}

bool Dataset::BookmarkValid(const Bookmark& bookmark) const {
  auto& self = const_cast<Dataset&>(*this);
  const std::optional<Row> held = CurrentRecord();
  const bool valid = self.bookmarkedIndex(bookmark) >= 0;
  ReturnTo(held);
  return valid;
}

void Dataset::GotoBookmark(const Bookmark& bookmark) {
  CheckBrowseMode();
  const std::optional<Row> held = CurrentRecord();
  const int index = bookmarkedIndex(bookmark);
  if (index < 0) {
    ReturnTo(held);
    throw EDatabaseError(EngineText::RecordDeleted);
  }
  GotoRow(index);
}

void Dataset::GotoRow(int index) {
  CheckBrowseMode();
  fire(BeforeScroll);
  current_ = index;
  bof_ = eof_ = false;
  scrolled();
}

// ---- editing

void Dataset::postDetails() {
  if (postingDetails_ || sources_.isEmpty()) return;
  const QScopedValueRollback posting(postingDetails_, true);
  const QList<QPointer<DataSource>> sources = sources_;
  for (const QPointer<DataSource>& source : sources) {
    if (!source) continue;
    const QList<QPointer<Dataset>> details = source->details_;
    for (const QPointer<Dataset>& detail : details)
      if (detail && detail != this && detail->Active()) detail->CheckBrowseMode();
  }
}

void Dataset::CheckBrowseMode() {
  CheckActive();
  postDetails();
  switch (state_) {
    case dsEdit:
    case dsInsert:
      if (modified_)
        Post();
      else
        Cancel();
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void Dataset::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) return;
  CheckActive();
  ReadRowsUpTo(1);
  if (rows_.empty()) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  fire(BeforeEdit);
  const Row& row = rows_[static_cast<std::size_t>(current_)];
  std::unique_ptr<RecordLock> lock = LockRecord(row);
  std::optional<Row> fresh = ReadRecord(row);
  if (!fresh) throw EDatabaseError(EngineText::RecordDeleted);
  editRow_ = *fresh;
  editOriginal_ = *fresh;
  placeReadAgain(std::move(*fresh));
  recordLock_ = std::move(lock);
  modified_ = false;
  setState(dsEdit);
  changed(nullptr);
  fire(AfterEdit);
}

// Another program may have changed the fields of the order: the record goes
// where the order now places it.
void Dataset::placeReadAgain(Row fresh) {
  auto& current = rows_[static_cast<std::size_t>(current_)];
  if (orderColumns_.isEmpty() || IndexOrder(orderColumns_).Compare(current.values, fresh.values) == 0) {
    current = std::move(fresh);
    return;
  }
  rows_.erase(rows_.begin() + current_);
  current_ = static_cast<int>(place(fresh, orderedPosition(fresh)));
}

// Past either end of the records read, others not read yet may come before
// the record: the reading starts again at it, so that the records read stay
// one run of the order, as the searches take them.
std::size_t Dataset::place(Row row, std::size_t position) {
  forgetFrontPlace();
  const bool pastRead = (position >= rows_.size() && !complete_) || (position == 0 && !headComplete_);
  if (const int index = pastRead ? indexOfRecord(row) : -1; index >= 0) return static_cast<std::size_t>(index);
  if (pastRead && !orderColumns_.isEmpty()) position = orderedPosition(row);
  position = std::min(position, rows_.size());
  if (!complete_) placed_.insert(row.identity);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
  return position;
}

void Dataset::SetKey() {
  CheckBrowseMode();
  keyRow_ = Row{0, QList<QVariant>(columns_.size())};
  setState(dsSetKey);
  changed(nullptr);
}

void Dataset::EditKey() {
  CheckBrowseMode();
  if (keyRow_.values.size() != columns_.size()) keyRow_ = Row{0, QList<QVariant>(columns_.size())};
  setState(dsSetKey);
  changed(nullptr);
}

void Dataset::Insert() { beginInsert(false); }

void Dataset::Append() { beginInsert(true); }

void Dataset::beginInsert(bool append) {
  CheckBrowseMode();
  CheckCanModify();
  fire(BeforeInsert);
  fire(BeforeScroll);
  editRow_ = Row{0, QList<QVariant>(columns_.size())};
  insertPosition_ = append || current_ < 0 ? rows_.size() : static_cast<std::size_t>(current_);
  const bool bof = bof_, eof = eof_;
  bof_ = false;
  eof_ = append;
  setState(dsInsert);
  try {
    InitNewRecord();
    fire(OnNewRecord);
  } catch (...) {
    bof_ = bof;
    eof_ = eof;
    setState(dsBrowse);
    changed(nullptr);
    throw;
  }
  modified_ = false;
  changed(nullptr);
  fire(AfterInsert);
  fire(AfterScroll);
}

void Dataset::checkRequiredFields() const {
  for (const Field* field : fields_)
    if (!field->outsideRecord() && field->Required() && field->DataType() != ftAutoInc && field->IsNull())
      throw EDatabaseError(fieldText(EngineText::FieldRequired, field->DisplayName()));
}

std::size_t Dataset::orderedPosition(const Row& row) const {
  const IndexOrder order(orderColumns_);
  // Records written in the order go after the last one held, which one
  // comparison tells.
  if (!rows_.empty() && order.Compare(rows_.back().values, row.values) <= 0) return rows_.size();
  const auto less = [&order](const Row& a, const Row& b) { return order.Compare(a.values, b.values) < 0; };
  return static_cast<std::size_t>(std::upper_bound(rows_.begin(), rows_.end(), row, less) - rows_.begin());
}

void Dataset::Post() {
  if (state_ != dsEdit && state_ != dsInsert && state_ != dsSetKey) throw EDatabaseError(EngineText::NotEditing);
  if (state_ == dsSetKey) {
    setState(dsBrowse);
    return;
  }
  postDetails();
  fire(BeforePost);
  checkRequiredFields();
  const bool inserting = state_ == dsInsert;
  Row stored;
  bool shown = false;
  {
    // Whatever raises before the commit leaves the database, the buffer and
    // the state as they were.
    const std::unique_ptr<PendingWrite> write = BeginWrite();
    stored = inserting ? InsertRecord(editRow_) : UpdateRecord(editOriginal_, editRow_);
    shown = inView(stored);
    if (write) write->Commit();
  }
  std::size_t position = std::min(inserting ? insertPosition_ : static_cast<std::size_t>(current_), rows_.size());
  bool inPlace = false;
  if (!inserting) {
    // Where the record read at Edit is shown now (a rollback reads them again).
    const bool atCurrent = current_ >= 0 && static_cast<std::size_t>(current_) < rows_.size() &&
                           rows_[static_cast<std::size_t>(current_)].identity == editOriginal_.identity;
    const int index = atCurrent ? current_ : indexOfIdentity(editOriginal_.identity);
    if (index >= 0) {
      position = static_cast<std::size_t>(index);
      Row& shownBefore = rows_[position];
      inPlace = shown && (orderColumns_.isEmpty() || IndexOrder(orderColumns_).Compare(shownBefore.values, stored.values) == 0);
      if (inPlace)
        shownBefore = std::move(stored);
      else
        rows_.erase(rows_.begin() + index);
    }
  }
  if (!inPlace && !orderColumns_.isEmpty()) position = orderedPosition(stored);
  // A record the range, the master or the filter no longer shows leaves the
  // view; the one after it becomes current.
  if (shown && !inPlace) {
    position = place(std::move(stored), position);
  } else if (!shown) {
    ReadRowsUpTo(position + 1);
    position += static_cast<std::size_t>(readBeforeWhenNoneLeft());
  }
  editRow_ = Row();
  editOriginal_ = Row();
  modified_ = false;
  recordLock_.reset();
  current_ = std::min(static_cast<int>(position), static_cast<int>(rows_.size()) - 1);
  // A table written record after record keeps no more of them than a walk
  // does, even one whose records were all read when the writing began.
  letGoBehind(true);
  letGoAhead();
  ForgetRecordsLetGo();
  bof_ = eof_ = rows_.empty();
  setState(dsBrowse);
  changed(nullptr);
  fire(AfterPost);
}

void Dataset::Cancel() {
  if (state_ == dsSetKey) {
    setState(dsBrowse);
    return;
  }
  if (state_ != dsEdit && state_ != dsInsert) return;
  fire(BeforeCancel);
  const bool wasInsert = state_ == dsInsert;
  editRow_ = Row();
  editOriginal_ = Row();
  modified_ = false;
  recordLock_.reset();
  if (wasInsert) {
    bof_ = rows_.empty();
    eof_ = rows_.empty();
  }
  setState(dsBrowse);
  changed(nullptr);
  fire(AfterCancel);
}

void Dataset::Delete() {
  CheckActive();
  if (state_ == dsInsert || state_ == dsSetKey) {
    Cancel();
    return;
  }
  ReadRowsUpTo(1);
  if (rows_.empty()) throw EDatabaseError(EngineText::DatasetEmpty);
  postDetails();
  CheckCanModify();
  // The record being edited is the one read at Edit, and it is locked; any
  // other is locked before BeforeDelete acts on it.
  const Row removed = state_ == dsEdit ? editOriginal_ : rows_[static_cast<std::size_t>(current_)];
  {
    const std::unique_ptr<RecordLock> lock = state_ == dsEdit ? nullptr : LockRecord(removed);
    fire(BeforeDelete);
    fire(BeforeScroll);
    const std::unique_ptr<PendingWrite> write = BeginWrite();
    DeleteRecord(removed);
    if (write) write->Commit();
  }
  const int index = indexOfIdentity(removed.identity);
  forgetFrontPlace();
  if (index >= 0) rows_.erase(rows_.begin() + index);
  int at = index >= 0 ? index : current_;
  ReadRowsUpTo(static_cast<std::size_t>(at) + 1);
  at += readBeforeWhenNoneLeft();
  current_ = std::min(at, static_cast<int>(rows_.size()) - 1);
  editRow_ = Row();
  editOriginal_ = Row();
  modified_ = false;
  recordLock_.reset();
  bof_ = rows_.empty();
  eof_ = rows_.empty();
  setState(dsBrowse);
  changed(nullptr);
  fire(AfterDelete);
  fire(AfterScroll);
}

void Dataset::Refresh() {
  CheckBrowseMode();
  fire(BeforeRefresh);
  Reload();
  fire(AfterRefresh);
}

void Dataset::Reload(bool keepCurrent) { reload(keepCurrent, !keepCurrent); }

void Dataset::ReloadView() { reload(true, true); }

void Dataset::reload(bool keepCurrent, bool sameColumns) {
  CheckActive();
  const std::optional<Row> held = keepCurrent ? CurrentRecord() : std::nullopt;
  Records records = sameColumns && RestartReading() ? Records{columns_, {}, false, true} : ReadRecords();
  // Keep the fields on their columns even if the table's columns moved.
  std::vector<Row> rows;
  rows.reserve(records.rows.size());
  QList<int> sourceOf;
  for (const Column& column : columns_) {
    const auto found = std::find_if(records.columns.begin(), records.columns.end(), [&](const Column& c) {
      return c.name.compare(column.name, Qt::CaseInsensitive) == 0;
    });
    sourceOf.append(found == records.columns.end() ? -1 : static_cast<int>(found - records.columns.begin()));
  }
  for (Row& source : records.rows) {
    Row row{source.identity, {}};
    for (const int from : sourceOf) row.values.append(from < 0 ? QVariant() : source.values[from]);
    rows.push_back(std::move(row));
  }
  PrepareView();
  applyView(rows, records.ordered);
  const int previous = keepCurrent && headComplete_ ? current_ : 0;
  letRowsGo(rows_.size());
  rows_ = std::move(rows);
  complete_ = records.complete;
  headComplete_ = true;
  forgetFrontPlace();
  placed_.clear();
  current_ = -1;
  // The current record is read again where the order now places it.
  int found = -1;
  if (held && !complete_) {
    found = readAt(*held);
    if (found < 0) {
      std::optional<Row> fresh;
      try {
        fresh = ReadRecord(*held);
      } catch (const EDatabaseError&) {
      }
      if (fresh && fresh->identity == held->identity && inView(*fresh)) found = readAt(*fresh);
    }
    if (found < 0) restartFromFirst(false);
  } else if (held) {
    found = indexOfIdentity(held->identity);
  }
  if (found < 0) ReadRowsUpTo(static_cast<std::size_t>(std::max(previous, 0)) + 1);
  current_ = found >= 0 ? found : std::min(previous, static_cast<int>(rows_.size()) - 1);
  if (current_ < 0 && !rows_.empty()) current_ = 0;
  bof_ = rows_.empty();
  eof_ = rows_.empty();
  changed(nullptr);
}

std::optional<Dataset::Row> Dataset::ReadRecord(const Row& row) { return row; }

Dataset::Row Dataset::InsertRecord(const Row&) { throw EDatabaseError(EngineText::DatasetReadOnly); }

Dataset::Row Dataset::UpdateRecord(const Row&, const Row&) { throw EDatabaseError(EngineText::DatasetReadOnly); }

void Dataset::DeleteRecord(const Row&) { throw EDatabaseError(EngineText::DatasetReadOnly); }

// ---- fields

Field& Dataset::Fields(int index) const {
  if (index < 0 || index >= fields_.size())
    throw EDatabaseError(fieldText(EngineText::FieldNotFound, QString::number(index)));
  return *fields_[index];
}

Field* Dataset::FindField(const QString& fieldName) const {
  AskedName& asked = askedNames_[(reinterpret_cast<std::uintptr_t>(fieldName.constData()) >> 4) % askedNames_.size()];
  if (asked.text == fieldName.constData() && asked.size == fieldName.size() && asked.field &&
      asked.field->FieldName() == fieldName)
    return asked.field;
  const auto found = fieldsByName_.find(fieldName);
  if (found == fieldsByName_.end()) return nullptr;
  asked = AskedName{fieldName.constData(), fieldName.size(), found->second};
  return found->second;
}

Field& Dataset::FieldByName(const QString& fieldName) const {
  if (Field* field = FindField(fieldName)) return *field;
  throw EDatabaseError(fieldText(EngineText::FieldNotFound, fieldName));
}

QStringList Dataset::GetFieldNames() const {
  QStringList names;
  for (const Field* field : fields_) names.append(field->FieldName());
  return names;
}

const QVariant& Dataset::recordValue(const Field& field) const {
  const int column = field.column_;
  if (column < 0) return kNull;
  if (field.outsideRecord()) return column < calculated_.size() ? calculated_[column] : kNull;
  if (state_ == dsSetKey) return keyRow_.values[column];
  const Row* row = shownRow();
  return row ? row->values[column] : kNull;
}

void Dataset::setRecordValue(Field& field, QVariant value) {
  if (field.outsideRecord()) {
    if (state_ != dsCalcFields && state_ != dsEdit && state_ != dsInsert) throw EDatabaseError(EngineText::NotEditing);
    if (field.column_ >= 0 && field.column_ < calculated_.size()) calculated_[field.column_] = std::move(value);
    changed(&field);
    return;
  }
  if (state_ != dsEdit && state_ != dsInsert && state_ != dsSetKey) throw EDatabaseError(EngineText::NotEditing);
  if (state_ == dsSetKey) {
    keyRow_.values[field.column_] = std::move(value);
    changed(&field);
    return;
  }
  if (field.ReadOnly()) throw EDatabaseError(fieldText(EngineText::FieldReadOnly, field.DisplayName()));
  editRow_.values[field.column_] = std::move(value);
  modified_ = true;
  changed(&field);
}

QList<Field*> Dataset::fieldsNamed(const QString& names) const {
  QList<Field*> fields;
  for (const QString& name : names.split(u';', Qt::SkipEmptyParts)) fields.append(&FieldByName(name.trimmed()));
  return fields;
}
