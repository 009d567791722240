#include "platform/controls/DatasetModel.h"

#include "platform/data/ClientDataset.h"
#include "platform/data/DataSource.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cstdlib>

namespace {

// Moves a browsing dataset, on its record recNo, to read other records and
// puts it back as it was, telling neither its scroll handlers nor its
// controls; moved is set when the record is gone and it stays elsewhere.
class ReadingAside {
 public:
  ReadingAside(Dataset& dataset, int recNo, bool& moved)
      : dataset_(dataset),
        position_(dataset.GetBookmark()),
        recNo_(recNo),
        moved_(moved),
        beforeScroll_(std::exchange(dataset.BeforeScroll, nullptr)),
        afterScroll_(std::exchange(dataset.AfterScroll, nullptr)) {
    dataset.DisableControls();
  }
  ~ReadingAside() {
    try {
      if (position_.IsValid() && dataset_.BookmarkValid(position_)) {
        dataset_.GotoBookmark(position_);
      } else {
        moved_ = true;
        if (recNo_ > 0) dataset_.SetRecNo(recNo_);
      }
    } catch (...) {
      // the record shown is gone: the dataset stays where reading left it
      moved_ = true;
    }
    dataset_.BeforeScroll = std::move(beforeScroll_);
    dataset_.AfterScroll = std::move(afterScroll_);
    dataset_.EnableControls();
  }
  ReadingAside(const ReadingAside&) = delete;
  ReadingAside& operator=(const ReadingAside&) = delete;

 private:
  Dataset& dataset_;
  Bookmark position_;
  int recNo_;
  bool& moved_;
  DataSetNotifyEvent beforeScroll_;
  DataSetNotifyEvent afterScroll_;
};

// Rows this near the current record are reached by moving from it: its place
// is known, and a move counts no records.
constexpr int kNear = 4 * DatasetModel::kWindow;

}  // namespace

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

QStringList DatasetModel::VisibleFieldNames(const Dataset* dataset) {
  QStringList names;
  if (dataset && dataset->Active())
    for (int i = 0; i < dataset->FieldCount(); ++i)
      if (dataset->Fields(i).Visible()) names.append(dataset->Fields(i).FieldName());
  return names;
}

void DatasetModel::SetSource(DataSource* source) {
  disconnect(dataConnection_);
  disconnect(stateConnection_);
  source_ = source;
  if (source) {
    dataConnection_ = connect(source, &DataSource::DataChange, this, [this](Field* field) {
      if (reading_) return;
      if (field)
        fieldChanged(field);
      else
        wholeSetChanged();
    });
    stateConnection_ = connect(source, &DataSource::StateChange, this, [this] {
      if (!reading_) wholeSetChanged();
    });
  }
  wholeSetChanged();
}

Dataset* DatasetModel::DataSet() const { return source_ ? source_->DataSet() : nullptr; }

void DatasetModel::SetFieldNames(const QStringList& names) {
  beginResetModel();
  fieldNames_ = names;
  cache_.clear();
  endResetModel();
}

Field* DatasetModel::FieldAt(int column) const {
  Dataset* dataset = DataSet();
  if (!dataset || !dataset->Active() || column < 0 || column >= fieldNames_.size()) return nullptr;
  return dataset->FindField(fieldNames_[column]);
}

int DatasetModel::CurrentRow() const {
  Dataset* dataset = DataSet();
  if (!dataset || !dataset->Active()) return -1;
  if (insertRow_ >= 0) return insertRow_;
  return currentRecord_;
}

// A large table's dataset counts the records before to tell a place: asked
// once per move it tells, not at every row painted.
void DatasetModel::placeCurrentRecord() {
  Dataset* dataset = DataSet();
  const int recNo = dataset && dataset->Active() ? dataset->RecNo() : -1;
  currentRecord_ = recNo > 0 ? recNo - 1 : -1;
}

int DatasetModel::recordRow(int row) const { return insertRow_ >= 0 && row > insertRow_ ? row - 1 : row; }

void DatasetModel::SetCurrentRow(int row) {
  Dataset* dataset = DataSet();
  if (!dataset || !dataset->Active() || row < 0 || row == CurrentRow()) return;
  dataset->SetRecNo(recordRow(row) + 1);
}

void DatasetModel::wholeSetChanged() {
  Dataset* dataset = DataSet();
  placeCurrentRecord();
  int rows = dataset && dataset->Active() ? dataset->RecordCount() : 0;
  // A record being inserted is shown as a row of its own where the current
  // record was, or below the last one when appended; the records read stay
  // good while it is edited.
  const bool editing = dataset && (dataset->State() == dsEdit || dataset->State() == dsInsert);
  const int insertRow = dataset && dataset->State() == dsInsert
                            ? (dataset->Eof() ? rows : std::clamp(lastCurrent_, 0, rows))
                            : -1;
  if (insertRow >= 0) ++rows;
  if (!editing) cache_.clear();
  const QStringList names = followVisibleFields_ ? VisibleFieldNames(dataset) : fieldNames_;
  if (rows != rows_ || insertRow != insertRow_ || names != fieldNames_) {
    beginResetModel();
    rows_ = rows;
    insertRow_ = insertRow;
    fieldNames_ = names;
    endResetModel();
  } else {
    if (rows_ > 0 && !fieldNames_.isEmpty()) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
  }
  const int current = CurrentRow();
  if (insertRow_ < 0 && current >= 0) lastCurrent_ = current;
  emit CurrentRowChanged(current);
}

void DatasetModel::fieldChanged(Field*) {
  const int row = CurrentRow();
  if (row < 0 || row >= rows_) return;
  if (insertRow_ < 0) cache_.remove(row);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fieldNames_.size());
}

QStringList DatasetModel::currentTexts() const {
  QStringList texts;
  for (int column = 0; column < fieldNames_.size(); ++column) {
    Field* field = FieldAt(column);
    texts.append(field ? field->DisplayText() : QString());
  }
  return texts;
}

const QStringList* DatasetModel::window(int row) const {
  if (auto found = cache_.constFind(row); found != cache_.constEnd()) return &*found;
  Dataset* dataset = DataSet();
  if (!dataset || dataset->State() != dsBrowse || reading_) return nullptr;
  if (cache_.size() > 4 * kWindow) cache_.clear();
  const int first = row / kWindow * kWindow;
  bool moved = false;
  {
    const QScopedValueRollback guard(reading_, true);
    ReadingAside aside(*dataset, currentRecord_ + 1, moved);
    if (reachWindow(*dataset, first)) {
      // No move past the window's last row: that would read the record after it.
      for (int at = first; at < first + kWindow && at < rows_; ++at) {
        if (at > first && dataset->MoveBy(1) != 1) break;
        cache_.insert(at, currentTexts());
        ++recordsRead_;
      }
    }
  }
  if (moved) const_cast<DatasetModel*>(this)->placeCurrentRecord();
  auto found = cache_.constFind(row);
  return found == cache_.constEnd() ? nullptr : &*found;
}

bool DatasetModel::reachWindow(Dataset& dataset, int first) const {
  const int distance = first - currentRecord_;
  if (currentRecord_ >= 0 && std::abs(distance) <= kNear) return distance == 0 || dataset.MoveBy(distance) == distance;
  dataset.SetRecNo(first + 1);
  return !dataset.Eof() && dataset.RecNo() == first + 1;
}

// A field's "Alignment" (set on it as a dynamic property) or, without one,
// numbers to the right.
QVariant DatasetModel::alignment(int column) const {
  Field* field = FieldAt(column);
  if (!field) return {};
  const QVariant own = field->property("Alignment");
  if (own.isValid()) return QVariant::fromValue(Qt::Alignment(own.toInt()) | Qt::AlignVCenter);
  switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  }
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
  if (index.isValid() && role == Qt::TextAlignmentRole) return alignment(index.column());
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  Dataset* dataset = DataSet();
  if (!dataset || !dataset->Active()) return {};
  const bool editing = dataset->State() == dsEdit || dataset->State() == dsInsert;
  if ((editing || role == Qt::EditRole) && index.row() == CurrentRow()) {
    Field* field = FieldAt(index.column());
    if (!field) return {};
    return role == Qt::EditRole ? field->Text() : field->DisplayText();
  }
  const QStringList* texts = window(recordRow(index.row()));
  return texts ? texts->value(index.column()) : QVariant();
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section == CurrentRow() ? QStringLiteral("\u25b6") : QString();
  if (auto title = titles_.constFind(fieldNames_.value(section).toUpper()); title != titles_.constEnd()) return *title;
  Field* field = FieldAt(section);
  return field ? field->DisplayLabel() : fieldNames_.value(section);
}

bool DatasetModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
  if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole) || section < 0 ||
      section >= fieldNames_.size())
    return false;
  titles_.insert(fieldNames_[section].toUpper(), value.toString());
  emit headerDataChanged(orientation, section, section);
  return true;
}

void DatasetModel::ClearTitles() {
  titles_.clear();
  if (!fieldNames_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, int(fieldNames_.size()) - 1);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  Field* field = FieldAt(index.column());
  if (field && !field->ReadOnly() && field->DataSet()->CanModify()) flags |= Qt::ItemIsEditable;
  return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  Field* field = FieldAt(index.column());
  if (role != Qt::EditRole || !field || !(flags(index) & Qt::ItemIsEditable)) return false;
  Dataset* dataset = field->DataSet();
  if (index.row() != CurrentRow()) SetCurrentRow(index.row());
  if (dataset->State() == dsBrowse) dataset->Edit();
  field->SetText(value.toString());
  return true;
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const {
  const auto* client = qobject_cast<ClientDataset*>(DataSet());
  return !parent.isValid() && client && client->State() == dsBrowse &&
         (client->PacketsPending() || client->RecordCount() > rows_);
}

void DatasetModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  auto* client = qobject_cast<ClientDataset*>(DataSet());
  {
    const QScopedValueRollback guard(reading_, true);
    if (client->RecordCount() <= rows_) client->GetNextPacket();
  }
  const int rows = client->RecordCount();
  if (rows <= rows_) return;
  beginInsertRows({}, rows_, rows - 1);
  rows_ = rows;
  endInsertRows();
}
