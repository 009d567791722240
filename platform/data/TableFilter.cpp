// A filter of a table is evaluated inside the engine's reading: the records
// it leaves out are neither handed over nor kept, and a block of records
// read holds only those shown. The expression is the dataset's own,
// evaluated on the values of the columns it reads; the dataset checks each
// record handed over again.

#include "platform/data/Table.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <sqlite3.h>

namespace {

void readInto(sqlite3_value* value, QVariant& into) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      into = QVariant(static_cast<qint64>(sqlite3_value_int64(value)));
      break;
    case SQLITE_FLOAT:
      into = QVariant(sqlite3_value_double(value));
      break;
    case SQLITE_TEXT:
      into = QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                                        sqlite3_value_bytes(value)));
      break;
    case SQLITE_BLOB:
      into = QVariant(
          QByteArray(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
      break;
    default:
      into = QVariant();
  }
}

}  // namespace

void Table::filterFunction(sqlite3_context* context, int count, sqlite3_value** values) {
  auto& table = *static_cast<Table*>(sqlite3_user_data(context));
  bool shown = true;
  try {
    Row& row = table.filterRow_;
    row.values.resize(table.Columns().size());
    for (int i = 0; i < count && i < table.filterColumns_.size(); ++i)
      readInto(values[i], row.values[table.filterColumns_[i]]);
    shown = table.PassesFilter(row);
  } catch (...) {
    // Handed over: the dataset's own check tells why.
  }
  sqlite3_result_int(context, shown ? 1 : 0);
}

QString Table::filterCondition() {
  const std::optional<QList<int>> columns = FilterColumns();
  if (!columns || columns->isEmpty()) return QString();
  if (filterFunctionName_.isEmpty()) {
    const QString name = QStringLiteral("zem_filter_%1").arg(Serial());
    if (sqlite3_create_function_v2(connection().Handle(), name.toUtf8().constData(), -1, SQLITE_UTF8, this,
                                   &Table::filterFunction, nullptr, nullptr, nullptr) != SQLITE_OK)
      return QString();
    filterFunctionName_ = name;
  }
  filterColumns_ = *columns;
  QStringList arguments;
  for (const int column : filterColumns_) arguments.append(quotedName(column));
  return QStringLiteral("%1(%2)").arg(filterFunctionName_, arguments.join(QStringLiteral(", ")));
}

void Table::dropFilterFunction() {
  if (filterFunctionName_.isEmpty() || !connection_) return;
  sqlite3_create_function_v2(connection_->Handle(), filterFunctionName_.toUtf8().constData(), -1, SQLITE_UTF8,
                             nullptr, nullptr, nullptr, nullptr, nullptr);
  filterFunctionName_.clear();
}
