// A table's records read in blocks, in the order of its current index, each
// block by its own statement from the last record read: no statement stays
// open between calls, and the engine's indexes find where a block starts.

#include "platform/data/Table.h"

#include "platform/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/data/TypeTable.h"
#include "platform/sql/Collation.h"
#include "platform/sqlite/SqlText.h"
#include "platform/sqlite/Statement.h"

#include <algorithm>

using SqlText::Quoted;

namespace {

QString afterTerms(const QList<QString>& expressions, const QList<QVariant>& last, int from,
                   QList<QVariant>& arguments) {
  if (from >= expressions.size()) return QStringLiteral("0");
  const QString& term = expressions[from];
  if (last[from].isNull()) {
    const QString rest = afterTerms(expressions, last, from + 1, arguments);
    return QStringLiteral("(%1 IS NOT NULL OR (%1 IS NULL AND %2))").arg(term, rest);
  }
  arguments.append(last[from]);
  arguments.append(last[from]);
  const QString rest = afterTerms(expressions, last, from + 1, arguments);
  return QStringLiteral("(%1 > ? OR (%1 = ? AND %2))").arg(term, rest);
}

// Every record after the last one read in the order of the terms; NULL
// comes first, as the engine sorts it. The bound on the first term lets the
// index seek to where the block starts.
QString afterCondition(const QList<QString>& expressions, const QList<QVariant>& last, QList<QVariant>& arguments) {
  QString seek;
  if (!last.front().isNull()) {
    seek = expressions.front() + QStringLiteral(" >= ? AND ");
    arguments.append(last.front());
  }
  return seek + afterTerms(expressions, last, 0, arguments);
}

QString whereClause(const QStringList& conditions) {
  return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

}  // namespace

// The index fields, text under the collation its index is kept in, then
// what tells records apart: the key, or the row id in a table without one.
QList<Table::OrderTerm> Table::orderTerms() const {
  const QString collate = QStringLiteral(" COLLATE ") + Quoted(Collation::kDefaultName.toString());
  QList<OrderTerm> terms;
  for (const int column : OrderColumns()) {
    const Column& shown = Columns()[column];
    const bool text = TypeTable::ValueClassOf(shown.type) == ValueClass::Text;
    terms.append(OrderTerm{Quoted(shown.name) + (text ? collate : QString()), column});
  }
  // The key as its uniqueness holds it (text compared byte for byte).
  for (const int column : keyColumns_) {
    OrderTerm key{Quoted(Columns()[column].name), column};
    if (std::none_of(terms.begin(), terms.end(), [&key](const OrderTerm& term) { return term.expression == key.expression; }))
      terms.append(std::move(key));
  }
  if (keyColumns_.isEmpty()) terms.append(OrderTerm{QStringLiteral("rowid"), -1});
  return terms;
}

// The master link and the range, as far as the index can answer them; the
// view checks every record read against them besides.
void Table::limitConditions(const QList<OrderTerm>& terms, QStringList& conditions,
                            QList<QVariant>& arguments) const {
  const auto valueOf = [&terms](const KeyLimit& limit, int term) -> const QVariant& {
    return limit.key.values[terms[term].column];
  };
  if (const std::optional<KeyLimit>& link = Link())
    for (int i = 0; i < link->count && i < OrderColumns().size(); ++i) {
      const QVariant& value = valueOf(*link, i);
      if (value.isNull()) {
        conditions.append(terms[i].expression + QStringLiteral(" IS NULL"));
      } else {
        conditions.append(terms[i].expression + QStringLiteral(" = ?"));
        arguments.append(value);
      }
    }
  if (OrderColumns().isEmpty()) return;
  const QString& first = terms.front().expression;
  const std::optional<KeyLimit>& start = RangeStart();
  const bool fromValue = start && start->count > 0 && !valueOf(*start, 0).isNull();
  if (fromValue) {
    conditions.append(first + QStringLiteral(" >= ?"));
    arguments.append(valueOf(*start, 0));
  }
  const std::optional<KeyLimit>& end = RangeEnd();
  if (!end || end->count == 0) return;
  const QVariant& to = valueOf(*end, 0);
  if (to.isNull()) {
    conditions.append(first + QStringLiteral(" IS NULL"));
  } else {
    conditions.append(fromValue ? first + QStringLiteral(" <= ?")
                                : QStringLiteral("(%1 IS NULL OR %1 <= ?)").arg(first));
    arguments.append(to);
  }
}

std::vector<Dataset::Row> Table::ReadMore(std::size_t count) {
  const QList<OrderTerm> terms = orderTerms();
  QStringList conditions, order;
  QList<QVariant> arguments;
  limitConditions(terms, conditions, arguments);
  for (const OrderTerm& term : terms) order.append(term.expression);
  if (lastRead_) conditions.append(afterCondition(order, *lastRead_, arguments));
  Statement select(connection(), QStringLiteral("SELECT %1 FROM main.%2%3 ORDER BY %4 LIMIT %5")
                                     .arg(selectList(Columns()), Quoted(tableName_), whereClause(conditions),
                                          order.join(QStringLiteral(", ")), QString::number(count)));
  for (int i = 0; i < arguments.size(); ++i) select.Bind(i + 1, arguments[i]);
  std::vector<Row> rows;
  rows.reserve(count);
  while (select.Step()) rows.push_back(rowOf(select));
  if (rows.empty()) return rows;
  QList<QVariant> last;
  for (const OrderTerm& term : terms)
    last.append(term.column < 0 ? QVariant(rowIdOf(rows.back())) : rows.back().values[term.column]);
  lastRead_ = std::move(last);
  return rows;
}

// The engine counts what the conditions show exactly: a master link, and a
// range on one index field.
std::optional<int> Table::CountRecords() {
  const auto wide = [](const std::optional<KeyLimit>& limit) { return limit && limit->count > 1; };
  if (wide(RangeStart()) || wide(RangeEnd())) return std::nullopt;
  QStringList conditions;
  QList<QVariant> arguments;
  limitConditions(orderTerms(), conditions, arguments);
  Statement count(connection(),
                  QStringLiteral("SELECT COUNT(*) FROM main.%1%2").arg(Quoted(tableName_), whereClause(conditions)));
  for (int i = 0; i < arguments.size(); ++i) count.Bind(i + 1, arguments[i]);
  count.Step();
  return count.Column(0).toInt();
}

// Text equal under the collation takes in every text Locate finds equal,
// with or without case; integers are equal or not. Other kinds, calculated
// fields and partial keys are left to Locate's own comparison.
std::optional<std::vector<Dataset::Row>> Table::LocateCandidates(const QList<Field*>& fields,
                                                                 const QList<Variant>& values, LocateOptions options,
                                                                 std::size_t count) {
  if (options & loPartialKey) return std::nullopt;
  for (const Field* field : fields)
    if (field->FieldKind() != fkData) return std::nullopt;
  Row key;
  try {
    key = KeyRow(fields, values);
  } catch (const Exception&) {
    return std::nullopt;
  }
  const QList<OrderTerm> terms = orderTerms();
  QStringList conditions, order;
  QList<QVariant> arguments;
  limitConditions(terms, conditions, arguments);
  const QString collate = QStringLiteral(" COLLATE ") + Quoted(Collation::kDefaultName.toString());
  for (const Field* field : fields) {
    const auto column = std::find_if(Columns().begin(), Columns().end(), [field](const Column& c) {
      return c.name.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
    });
    if (column == Columns().end()) return std::nullopt;
    const ValueClass kind = TypeTable::ValueClassOf(column->type);
    if (kind != ValueClass::Text && kind != ValueClass::Integer) return std::nullopt;
    const QVariant& value = key.values[static_cast<int>(column - Columns().begin())];
    if (value.isNull()) {
      conditions.append(Quoted(column->name) + QStringLiteral(" IS NULL"));
    } else {
      conditions.append(Quoted(column->name) + (kind == ValueClass::Text ? collate : QString()) + QStringLiteral(" = ?"));
      arguments.append(value);
    }
  }
  for (const OrderTerm& term : terms) order.append(term.expression);
  Statement select(connection(), QStringLiteral("SELECT %1 FROM main.%2%3 ORDER BY %4 LIMIT %5")
                                     .arg(selectList(Columns()), Quoted(tableName_), whereClause(conditions),
                                          order.join(QStringLiteral(", ")), QString::number(count)));
  for (int i = 0; i < arguments.size(); ++i) select.Bind(i + 1, arguments[i]);
  std::vector<Row> rows;
  while (select.Step()) rows.push_back(rowOf(select));
  return rows;
}
