#include "platform/data/IndexedDataset.h"

#include "platform/data/DataSource.h"
#include "platform/data/DatasetTexts.h"
#include "platform/data/Field.h"
#include "platform/data/IndexOrder.h"
#include "platform/sqlite/DatabaseError.h"

#include <algorithm>
#include <utility>

namespace {

QStringList namesOf(const QString& names) {
  QStringList result;
  for (const QString& name : names.split(u';', Qt::SkipEmptyParts))
    if (!name.trimmed().isEmpty()) result.append(name.trimmed());
  return result;
}

}  // namespace

IndexedDataset::IndexedDataset(QObject* owner) : Dataset(owner) {}

IndexedDataset::~IndexedDataset() {
  if (masterSource_) masterSource_->RemoveDetail(this);
}

// ---- the current index

QList<int> IndexedDataset::resolveIndex() const {
  QStringList names;
  if (!indexFieldNames_.isEmpty()) {
    names = namesOf(indexFieldNames_);
  } else {
    const auto chosen = std::find_if(indexDefs_.begin(), indexDefs_.end(), [this](const IndexDef& index) {
      return indexName_.isEmpty() ? (index.Options & ixPrimary) != 0
                                  : index.Name.compare(indexName_, Qt::CaseInsensitive) == 0;
    });
    if (chosen == indexDefs_.end()) {
      if (indexName_.isEmpty()) return {};
      throw EDatabaseError(EngineText::IndexDoesNotExist, QStringLiteral("Index: %1").arg(indexName_));
    }
    names = namesOf(chosen->Fields);
  }
  QList<int> columns;
  for (const QString& name : names) {
    const auto found = std::find_if(Columns().begin(), Columns().end(), [&name](const Column& column) {
      return column.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (found == Columns().end()) throw EDatabaseError(QString::fromLatin1(EngineText::FieldNotFound).arg(name));
    columns.append(static_cast<int>(found - Columns().begin()));
  }
  return columns;
}

Field& IndexedDataset::IndexFields(int index) const {
  if (index < 0 || index >= indexColumns_.size())
    throw EDatabaseError(QString::fromLatin1(EngineText::FieldNotFound).arg(index));
  return FieldByName(Columns()[indexColumns_[index]].name);
}

QList<Field*> IndexedDataset::indexFields(int count) const {
  QList<Field*> fields;
  for (int i = 0; i < count; ++i) fields.append(&IndexFields(i));
  return fields;
}

void IndexedDataset::requireIndex() const {
  if (indexColumns_.isEmpty()) throw EDatabaseError(EngineText::NoIndexActive);
}

void IndexedDataset::SetIndexName(const QString& name) { chooseIndex(name, QString()); }

void IndexedDataset::SetIndexFieldNames(const QString& names) { chooseIndex(QString(), names); }

void IndexedDataset::chooseIndex(const QString& name, const QString& fieldNames) {
  if (!Active()) {
    indexName_ = name;
    indexFieldNames_ = fieldNames;
    return;
  }
  CheckBrowseMode();
  const QString previousName = std::exchange(indexName_, name);
  const QString previousFields = std::exchange(indexFieldNames_, fieldNames);
  try {
    resolveIndex();
  } catch (...) {
    indexName_ = previousName;
    indexFieldNames_ = previousFields;
    throw;
  }
  rangeStart_.reset();
  rangeEnd_.reset();
  ReloadView();
}

void IndexedDataset::PrepareView() {
  indexColumns_ = resolveIndex();
  SetOrderColumns(indexColumns_);
  link_ = linkFromMaster();
}

bool IndexedDataset::RecordInView(const Row& row) const {
  const IndexOrder order(indexColumns_);
  if (link_ && order.Compare(row.values, link_->key.values, link_->count) != 0) return false;
  if (rangeStart_ && order.Compare(row.values, rangeStart_->key.values, rangeStart_->count) < 0) return false;
  if (rangeEnd_ && order.Compare(row.values, rangeEnd_->key.values, rangeEnd_->count) > 0) return false;
  return true;
}

void IndexedDataset::ReleaseSource() {
  rangeStart_.reset();
  rangeEnd_.reset();
  link_.reset();
  indexColumns_.clear();
}

// ---- searching by key

int IndexedDataset::seek(const Row& key, int count, SeekFor wanted) const {
  const IndexOrder order(indexColumns_);
  // Where the records read do not hold the first one at or after the key,
  // the reading starts at the key: with the record found alone, or with the
  // one after it too, which tells where the records equal to the key end.
  const bool before = !StartRead() && (Rows().empty() || order.Compare(Rows().front().values, key.values, count) >= 0);
  const bool after = !AllRowsRead() && (Rows().empty() || order.Compare(Rows().back().values, key.values, count) < 0);
  if ((before || after) && ReadFrom(key, count, wanted == SeekFor::Record ? 1 : 2)) return 0;
  while (!AllRowsRead() && (Rows().empty() || order.Compare(Rows().back().values, key.values, count) < 0))
    ReadRowsUpTo(Rows().size() + 1);
  const auto found = std::lower_bound(Rows().begin(), Rows().end(), key, [&](const Row& row, const Row& wanted) {
    return order.Compare(row.values, wanted.values, count) < 0;
  });
  return static_cast<int>(found - Rows().begin());
}

// Values of the leading fields of the current index are found through it,
// where its records come in the order the system compares them in; the
// records its collation takes as equal are then compared as Locate does.
int IndexedDataset::FindRow(const QList<Field*>& fields, const QList<Variant>& values, LocateOptions options) {
  const int count = static_cast<int>(fields.size());
  bool leading = options == 0 && count > 0 && count <= IndexFieldCount() && OrderedAsTheSystemCompares(count);
  for (int i = 0; leading && i < count; ++i)
    leading = fields[i]->FieldKind() == fkData &&
              fields[i]->FieldName().compare(Columns()[indexColumns_[i]].name, Qt::CaseInsensitive) == 0;
  if (!leading) return findThroughCandidates(fields, values, options);
  Row key;
  try {
    key = KeyRow(fields, values);
  } catch (const Exception&) {
    return Dataset::FindRow(fields, values, options);  // a value its field cannot hold: Locate says why
  }
  const IndexOrder order(indexColumns_);
  const auto first = static_cast<std::size_t>(seek(key, count, SeekFor::EqualRecords));
  std::size_t last = first;
  for (;; ++last) {
    if (last >= Rows().size()) ReadRowsUpTo(last + 1);
    if (last >= Rows().size() || order.Compare(Rows()[last].values, key.values, count) != 0) break;
  }
  return FindRowBetween(fields, values, options, first, last);
}

// The engine names the records that may match, in order; the first of them
// that matches as Locate compares is the one.
int IndexedDataset::findThroughCandidates(const QList<Field*>& fields, const QList<Variant>& values,
                                          LocateOptions options) {
  constexpr std::size_t kCandidates = 64;
  const std::optional<std::vector<Row>> candidates =
      indexColumns_.isEmpty() ? std::nullopt : LocateCandidates(fields, values, options, kCandidates);
  if (!candidates) return Dataset::FindRow(fields, values, options);
  const IndexOrder order(indexColumns_);
  for (const Row& candidate : *candidates) {
    const auto first = static_cast<std::size_t>(seek(candidate, IndexFieldCount(), SeekFor::EqualRecords));
    std::size_t last = first;
    for (;; ++last) {
      if (last >= Rows().size()) ReadRowsUpTo(last + 1);
      if (last >= Rows().size() || order.Compare(Rows()[last].values, candidate.values) != 0) break;
    }
    const int found = FindRowBetween(fields, values, options, first, last);
    if (found >= 0) return found;
  }
  return candidates->size() < kCandidates ? -1 : Dataset::FindRow(fields, values, options);
}

bool IndexedDataset::FindKey(const QList<Variant>& values) {
  CheckBrowseMode();
  requireIndex();
  const int count = std::min(static_cast<int>(values.size()), IndexFieldCount());
  const Row key = KeyRow(indexFields(count), values);
  const std::optional<Row> current = CurrentRecord();
  const int found = seek(key, count);
  if (found >= static_cast<int>(Rows().size()) ||
      IndexOrder(indexColumns_).Compare(Rows()[found].values, key.values, count) != 0) {
    ReturnTo(current);
    return false;
  }
  GotoRow(found);
  return true;
}

void IndexedDataset::FindNearest(const QList<Variant>& values) {
  CheckBrowseMode();
  requireIndex();
  const int count = std::min(static_cast<int>(values.size()), IndexFieldCount());
  const int found = seek(KeyRow(indexFields(count), values), count);
  if (found < static_cast<int>(Rows().size()))
    GotoRow(found);
  else
    Last();
}

bool IndexedDataset::GotoKey() {
  CheckBrowseMode();
  requireIndex();
  const Row& key = KeyBuffer();
  if (key.values.size() != Columns().size()) return false;
  const std::optional<Row> current = CurrentRecord();
  const int found = seek(key, IndexFieldCount());
  if (found >= static_cast<int>(Rows().size()) ||
      IndexOrder(indexColumns_).Compare(Rows()[found].values, key.values) != 0) {
    ReturnTo(current);
    return false;
  }
  GotoRow(found);
  return true;
}

void IndexedDataset::GotoNearest() {
  CheckBrowseMode();
  requireIndex();
  const Row& key = KeyBuffer();
  const int found = key.values.size() == Columns().size() ? seek(key, IndexFieldCount()) : 0;
  if (found < static_cast<int>(Rows().size()))
    GotoRow(found);
  else
    Last();
}

// ---- ranges

void IndexedDataset::SetRange(const QList<Variant>& start, const QList<Variant>& end) {
  CheckBrowseMode();
  requireIndex();
  const int startCount = std::min(static_cast<int>(start.size()), IndexFieldCount());
  const int endCount = std::min(static_cast<int>(end.size()), IndexFieldCount());
  KeyLimit from{KeyRow(indexFields(startCount), start), startCount};
  KeyLimit to{KeyRow(indexFields(endCount), end), endCount};
  rangeStart_ = std::move(from);
  rangeEnd_ = std::move(to);
  Reload(false);
  First();
}

void IndexedDataset::CancelRange() {
  if (!Active() || (!rangeStart_ && !rangeEnd_)) return;
  CheckBrowseMode();
  rangeStart_.reset();
  rangeEnd_.reset();
  ReloadView();
}

// ---- master link

DataSource* IndexedDataset::MasterSource() const { return masterSource_.data(); }

void IndexedDataset::SetMasterSource(DataSource* source) {
  if (masterSource_ == source) return;
  QObject::disconnect(masterConnection_);
  if (masterSource_) masterSource_->RemoveDetail(this);
  masterSource_ = source;
  if (source) source->AddDetail(this);
  if (source)
    masterConnection_ = connect(source, &DataSource::DataChange, this, [this](Field* field) { masterChanged(field); });
  followMaster();
}

void IndexedDataset::SetMasterFields(const QString& names) {
  masterFields_ = names;
  followMaster();
}

void IndexedDataset::followMaster() {
  if (!Active()) return;
  CheckBrowseMode();
  Reload(false);
  First();
}

QList<Variant> IndexedDataset::masterValues() const {
  QList<Variant> values;
  Dataset* master = masterSource_ ? masterSource_->DataSet() : nullptr;
  if (!master) return values;
  for (const QString& name : namesOf(masterFields_)) values.append(master->FieldByName(name).AsVariant());
  return values;
}

std::optional<IndexedDataset::KeyLimit> IndexedDataset::linkFromMaster() {
  Dataset* master = masterSource_ ? masterSource_->DataSet() : nullptr;
  if (!master || !master->Active() || namesOf(masterFields_).isEmpty()) return std::nullopt;
  requireIndex();
  const QList<Variant> values = masterValues();
  const int count = std::min(static_cast<int>(values.size()), IndexFieldCount());
  return KeyLimit{KeyRow(indexFields(count), values), count};
}

void IndexedDataset::masterChanged(Field* field) {
  if (!Active() || !masterSource_ || !masterSource_->DataSet()) return;
  if (masterSource_->DataSet()->State() == dsSetKey) return;
  if (field && !namesOf(masterFields_).contains(field->FieldName(), Qt::CaseInsensitive)) return;
  CheckBrowseMode();
  const std::optional<KeyLimit> next = linkFromMaster();
  const bool same =
      next.has_value() == link_.has_value() &&
      (!next || (next->count == link_->count &&
                 IndexOrder(indexColumns_).Compare(next->key.values, link_->key.values, next->count) == 0));
  if (same) return;
  Reload(false);
  First();
}

void IndexedDataset::InitNewRecord() {
  if (!link_) return;
  const QList<Variant> values = masterValues();
  const QList<Field*> fields = indexFields(link_->count);
  for (int i = 0; i < fields.size() && i < values.size(); ++i) fields[i]->SetAsVariant(values[i]);
}
