#include "platform/data/Dataset.h"

#include "platform/data/DatasetTemporaryState.h"
#include "platform/data/Field.h"
#include "platform/data/IndexOrder.h"
#include "platform/data/filter/FilterExpression.h"
#include "platform/data/filter/FilterSql.h"

#include <algorithm>
#include <limits>
#include <utility>

// ---- the records shown: range, master link, filter and order

bool Dataset::passesFilter(const Row& row) {
  if (!FilterInForce()) return true;
  TemporaryState state(*this, dsFilter);
  state.Show(row, !calculated_.isEmpty());
  bool accept = !filter_ || filter_->Matches();
  if (accept && OnFilterRecord) OnFilterRecord(*this, accept);
  return accept;
}

bool Dataset::inView(const Row& row) { return RecordInView(row) && passesFilter(row); }

std::optional<QList<int>> Dataset::FilterColumns() const {
  if (!filtered_ || !filter_ || OnFilterRecord || !calculated_.isEmpty()) return std::nullopt;
  QList<int> columns;
  for (const Field* field : filter_->Fields()) {
    if (field->outsideRecord() || field->column_ < 0) return std::nullopt;
    if (!columns.contains(field->column_)) columns.append(field->column_);
  }
  return columns;
}

std::optional<FilterSql> Dataset::FilterAsSql(const std::function<QString(int column)>& columnOf) const {
  if (!FilterColumns()) return std::nullopt;
  return filter_->Sql([&columnOf](const Field& field) { return columnOf(field.column_); });
}

void Dataset::applyView(std::vector<Row>& rows, bool ordered) {
  rows.erase(std::remove_if(rows.begin(), rows.end(), [this](const Row& row) { return !inView(row); }), rows.end());
  if (ordered || orderColumns_.isEmpty()) return;
  const IndexOrder order(orderColumns_);
  std::stable_sort(rows.begin(), rows.end(),
                   [&order](const Row& a, const Row& b) { return order.Compare(a.values, b.values) < 0; });
}

// ---- filters

void Dataset::compileFilter() {
  filter_ = filtered_ ? FilterExpression::Parse(filterText_, *this, filterOptions_) : nullptr;
}

void Dataset::refilter() {
  Reload(false);
  First();
}

void Dataset::SetFilter(const QString& text) {
  if (!Active() || !filtered_) {
    filterText_ = text;
    return;
  }
  CheckBrowseMode();
  filter_ = FilterExpression::Parse(text, *this, filterOptions_);
  filterText_ = text;
  refilter();
}

void Dataset::SetFiltered(bool filtered) {
  if (filtered_ == filtered) return;
  if (!Active()) {
    filtered_ = filtered;
    return;
  }
  CheckBrowseMode();
  filter_ = filtered ? FilterExpression::Parse(filterText_, *this, filterOptions_) : nullptr;
  filtered_ = filtered;
  refilter();
}

void Dataset::SetFilterOptions(::FilterOptions options) {
  filterOptions_ = options;
  if (!Active() || !filtered_) return;
  CheckBrowseMode();
  compileFilter();
  refilter();
}

// ---- keys and copies

Dataset::Row Dataset::KeyRow(const QList<Field*>& fields, const QList<Variant>& values) {
  Row saved = std::exchange(keyRow_, Row{0, QList<QVariant>(columns_.size())});
  try {
    TemporaryState state(*this, dsSetKey);
    for (int i = 0; i < fields.size() && i < values.size(); ++i) fields[i]->SetAsVariant(values[i]);
  } catch (...) {
    keyRow_ = std::move(saved);
    throw;
  }
  return std::exchange(keyRow_, std::move(saved));
}

Dataset::Records Dataset::Snapshot(const Dataset& source) {
  source.restartFromFirst(true);
  source.ReadRowsUpTo(std::numeric_limits<std::size_t>::max());
  return Records{source.columns_, source.rows_};
}
