// A filter of a table is evaluated inside the engine's reading where the
// engine can call the program: the records it leaves out are neither
// handed over nor kept, and a block of records read holds only those
// shown. The expression is the dataset's own, evaluated on the values of
// the columns it reads; the dataset checks each record handed over again.
// Elsewhere the dataset filters the records as they are read.

#include "platform/data/Table.h"

#include "platform/engine/EngineConnection.h"

QString Table::filterCondition() {
  const std::optional<QList<int>> columns = FilterColumns();
  if (!columns || columns->isEmpty()) return QString();
  if (filterFunctionName_.isEmpty()) {
    const QString name = QStringLiteral("zem_filter_%1").arg(Serial());
    const bool defined = connection().DefineTest(name, [this](const QVariantList& values) {
      Row& row = filterRow_;
      row.values.resize(Columns().size());
      for (int i = 0; i < values.size() && i < filterColumns_.size(); ++i) row.values[filterColumns_[i]] = values[i];
      return PassesFilter(row);
    });
    if (!defined) return QString();
    filterFunctionName_ = name;
  }
  filterColumns_ = *columns;
  QStringList arguments;
  for (const int column : filterColumns_) arguments.append(quotedName(column));
  return QStringLiteral("%1(%2)").arg(filterFunctionName_, arguments.join(QStringLiteral(", ")));
}

bool Table::filterLeftToTheDataset() {
  const std::optional<QList<int>> columns = FilterColumns();
  return columns && !columns->isEmpty() && filterCondition().isEmpty();
}

void Table::dropFilterFunction() {
  if (filterFunctionName_.isEmpty() || !connection_) return;
  connection_->DropTest(filterFunctionName_);
  filterFunctionName_.clear();
}
