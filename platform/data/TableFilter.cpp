// A filter of a table is evaluated inside the engine's reading where the
// engine can call the program: the records it leaves out are neither
// handed over nor kept, and a block of records read holds only those
// shown. Where the filter compares numbers and text only, the engine
// evaluates it itself on the records whose columns hold what it compares
// (numbers or NULL where compared as numbers, text where compared as text),
// and the program's own evaluation of the expression takes every other
// record; the
// dataset checks each record handed over again. Elsewhere the dataset
// filters the records as they are read.

#include "platform/data/Table.h"

#include "platform/data/filter/FilterSql.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"

namespace {

// The engine calls a function with no more values than this.
constexpr qsizetype kMostFilterColumns = 127;

}  // namespace

bool Table::addFilterCondition(QStringList& conditions, QList<QVariant>& arguments) {
  const std::optional<QList<int>> columns = FilterColumns();
  if (!columns || columns->isEmpty() || columns->size() > kMostFilterColumns) return false;
  if (filterFunctionName_.isEmpty()) {
    const QString name = QStringLiteral("zem_filter_%1").arg(Serial());
    const bool defined = connection().DefineTest(name, [this](const QVariantList& values) {
      Row& row = filterRow_;
      row.values.resize(Columns().size());
      for (int i = 0; i < values.size() && i < filterColumns_.size(); ++i) row.values[filterColumns_[i]] = values[i];
      return PassesFilter(row);
    });
    if (!defined) return false;
    filterFunctionName_ = name;
  }
  filterColumns_ = *columns;
  QStringList names;
  for (const int column : filterColumns_) names.append(quotedName(column));
  const QString evaluated = QStringLiteral("%1(%2)").arg(filterFunctionName_, names.join(QStringLiteral(", ")));
  const std::optional<FilterSql> sql = FilterAsSql([this](int column) { return quotedName(column); });
  // The records whose columns do not hold what the SQL compares go to the
  // program's evaluation. Both conditions stand where the engine jumps on
  // each comparison's outcome, so a record stops at the first that fails.
  QStringList holding;
  for (const QString& name : names)
    holding.append(sql && sql->textColumns.contains(name) ? dialect().HoldsText(name)
                                                          : dialect().HoldsNumberOrNull(name));
  if (!sql || holding.contains(QString())) {
    conditions.append(evaluated);
    return true;
  }
  conditions.append(QStringLiteral("CASE WHEN %1 THEN CASE WHEN %2 THEN 1 ELSE 0 END ELSE %3 END")
                        .arg(holding.join(QStringLiteral(" AND ")), sql->text, evaluated));
  arguments += sql->arguments;
  return true;
}

bool Table::filterLeftToTheDataset() {
  const std::optional<QList<int>> columns = FilterColumns();
  QStringList conditions;
  QList<QVariant> arguments;
  return columns && !columns->isEmpty() && !addFilterCondition(conditions, arguments);
}

void Table::dropFilterFunction() {
  if (filterFunctionName_.isEmpty() || !connection_) return;
  connection_->DropTest(filterFunctionName_);
  filterFunctionName_.clear();
}
