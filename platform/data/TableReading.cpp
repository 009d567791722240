// A table's records read in blocks, in the order of its current index, each
// block by its own statement from the last record read: no statement stays
// open between calls, and the engine's indexes find where a block starts.

#include "platform/data/Table.h"

#include "platform/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/data/TypeTable.h"
#include "platform/engine/CachedStatement.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"
#include "platform/engine/EngineStatement.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <utility>

using SqlText::Quoted;

namespace {

using Conditions = QList<std::pair<QString, QList<QVariant>>>;

// The terms before `upto` equal to the values: what the index seeks on.
QString equalTerms(const QList<QString>& expressions, const QList<QVariant>& values, int upto,
                   QList<QVariant>& arguments) {
  QStringList equal;
  for (int i = 0; i < upto; ++i) {
    if (values[i].isNull()) {
      equal.append(expressions[i] + QStringLiteral(" IS NULL"));
    } else {
      equal.append(expressions[i] + QStringLiteral(" = ?"));
      arguments.append(values[i]);
    }
  }
  return equal.join(QStringLiteral(" AND "));
}

QString joined(const QString& equal, const QString& more) {
  if (equal.isEmpty()) return more.isEmpty() ? QStringLiteral("1") : more;
  return more.isEmpty() ? equal : equal + QStringLiteral(" AND ") + more;
}

// The rows of each condition in turn, beside the limits, until the count:
// the parts of a seek, read one after the other.
template <class Select>
auto rowsOfParts(const Conditions& parts, const QStringList& limits, const QList<QVariant>& limitArguments,
                 std::size_t count, Select select) {
  std::invoke_result_t<Select, const QStringList&, const QList<QVariant>&, std::size_t> rows;
  for (const auto& [condition, arguments] : parts) {
    if (rows.size() >= count) break;
    QStringList conditions = limits;
    if (!condition.isEmpty()) conditions.append(condition);
    auto more = select(conditions, limitArguments + arguments, count - rows.size());
    if (rows.empty())
      rows = std::move(more);
    else
      std::move(more.begin(), more.end(), std::back_inserter(rows));
  }
  return rows;
}

// The records after the values (at them too, with orEqual) in the order of
// the terms, as many terms as values, NULL first as the engine sorts it: one
// condition for each term, read one after the other, each the leading terms
// equal and the next beyond its value, so that the index seeks on every
// term named, however many records share the leading ones.
Conditions afterConditions(const QList<QString>& expressions, const QList<QVariant>& last, bool orEqual) {
  Conditions parts;
  for (int term = static_cast<int>(last.size()) - 1; term >= 0; --term) {
    QList<QVariant> arguments;
    const QString equal = equalTerms(expressions, last, term, arguments);
    QString beyond;
    const bool atToo = orEqual && term + 1 == last.size();
    if (last[term].isNull()) {
      if (!atToo) beyond = expressions[term] + QStringLiteral(" IS NOT NULL");
    } else {
      beyond = expressions[term] + (atToo ? QStringLiteral(" >= ?") : QStringLiteral(" > ?"));
      arguments.append(last[term]);
    }
    parts.append({joined(equal, beyond), arguments});
  }
  return parts;
}

// The records before the values, as conditions read one after the other
// backwards: for each term from the last, the leading terms equal and this
// one below its value, first those above NULL, then those at NULL.
Conditions beforeConditions(const QList<QString>& expressions, const QList<QVariant>& first) {
  Conditions parts;
  for (int term = static_cast<int>(first.size()) - 1; term >= 0; --term) {
    if (first[term].isNull()) continue;  // nothing sorts before NULL
    QList<QVariant> arguments;
    const QString equal = equalTerms(expressions, first, term, arguments);
    parts.append({joined(equal, expressions[term] + QStringLiteral(" < ?")), arguments + QList<QVariant>{first[term]}});
    parts.append({joined(equal, expressions[term] + QStringLiteral(" IS NULL")), arguments});
  }
  return parts;
}

// The key's text columns the engine keeps under the collation the dataset
// orders text by.
QStringList keyColumnsUnderTheCollation(EngineConnection& connection, const QString& table) {
  const QString statement = connection.Dialect().KeyCollations();
  const QString collate = connection.Dialect().TextCollation();
  QStringList names;
  if (statement.isEmpty() || collate.isEmpty()) return names;
  CachedStatement key(connection, statement);
  key->Bind(1, table);
  while (key->Step())
    if (collate == QStringLiteral(" COLLATE ") + Quoted(key->Column(1).toString())) names.append(key->Column(0).toString());
  return names;
}

QString whereClause(const QStringList& conditions) {
  return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

}  // namespace

// The index fields, text under the collation its index is kept in, then
// what tells records apart: the key, or the row id in a table without one.
QList<Table::OrderTerm> Table::orderTerms() const {
  if (orderTerms_ && orderTerms_->first == OrderColumns()) return orderTerms_->second;
  const QString collate = connection_->Dialect().TextCollation();
  QList<OrderTerm> terms;
  for (const int column : OrderColumns()) {
    const Column& shown = Columns()[column];
    const bool text = TypeTable::ValueClassOf(shown.type) == ValueClass::Text;
    terms.append(OrderTerm{Quoted(shown.name) + (text ? collate : QString()), column});
  }
  // The key as its uniqueness holds it (text compared byte for byte),
  // unless the engine keeps it under the collation already ordered by.
  const QStringList collated = keyColumnsUnderTheCollation(*connection_, tableName_);
  for (const int column : keyColumns_) {
    OrderTerm key{quotedName(column), column};
    if (collated.contains(Columns()[column].name, Qt::CaseInsensitive)) key.expression += collate;
    if (std::none_of(terms.begin(), terms.end(), [&key](const OrderTerm& term) { return term.expression == key.expression; }))
      terms.append(std::move(key));
  }
  if (keyColumns_.isEmpty() && !withoutRowId_) terms.append(OrderTerm{rowId_, -1});
  // Nothing to read in order by: no key, no row id, no index chosen.
  if (terms.isEmpty()) throw EDatabaseError(EngineText::CapabilityNotSupported, tableText() + QStringLiteral(" has no key"));
  orderTerms_.emplace(OrderColumns(), terms);
  return terms;
}

// The master link and the range, as far as the index can answer them; the
// view checks every record read against them besides.
void Table::limitConditions(const QList<OrderTerm>& terms, QStringList& conditions,
                            QList<QVariant>& arguments) const {
  const auto valueOf = [this, &terms](const KeyLimit& limit, int term) {
    return bound(terms[term].column, limit.key.values[terms[term].column]);
  };
  if (const std::optional<KeyLimit>& link = Link())
    for (int i = 0; i < link->count && i < OrderColumns().size(); ++i) {
      const QVariant value = valueOf(*link, i);
      if (value.isNull()) {
        conditions.append(terms[i].expression + QStringLiteral(" IS NULL"));
      } else {
        conditions.append(terms[i].expression + QStringLiteral(" = ?"));
        arguments.append(value);
      }
    }
  const std::optional<KeyLimit>& start = RangeStart();
  const std::optional<KeyLimit>& end = RangeEnd();
  // The leading fields where both ends hold the same value are equal, and
  // the next one lies between the ends.
  const int fields = static_cast<int>(OrderColumns().size());
  int term = 0;
  if (start && end)
    for (const int shared = std::min({start->count, end->count, fields});
         term < shared && !valueOf(*start, term).isNull() && valueOf(*start, term) == valueOf(*end, term); ++term) {
      conditions.append(terms[term].expression + QStringLiteral(" = ?"));
      arguments.append(valueOf(*start, term));
    }
  if (term >= fields) return;
  const QString& next = terms[term].expression;
  const bool fromValue = start && start->count > term && !valueOf(*start, term).isNull();
  if (fromValue) {
    conditions.append(next + QStringLiteral(" >= ?"));
    arguments.append(valueOf(*start, term));
  }
  if (!end || end->count <= term) return;
  const QVariant to = valueOf(*end, term);
  if (to.isNull()) {
    conditions.append(next + QStringLiteral(" IS NULL"));
  } else {
    conditions.append(fromValue ? next + QStringLiteral(" <= ?") : QStringLiteral("(%1 IS NULL OR %1 <= ?)").arg(next));
    arguments.append(to);
  }
}

std::vector<Dataset::Row> Table::selectRows(const QStringList& conditions, const QList<QVariant>& arguments,
                                            const QString& order, std::size_t count) {
  CachedStatement select(connection(), selectText(conditions, order, count));
  for (int i = 0; i < arguments.size(); ++i) select->Bind(i + 1, arguments[i]);
  lastLockedRead_.rows.clear();  // before their values are recycled
  lastLockedRead_.version.reset();
  std::vector<Row> rows;
  rows.reserve(std::min<std::size_t>(count, 4096));
  while (select->Step()) rows.push_back(rowOf(*select));
  if (rows.size() <= kLockedReadKept && (lastLockedRead_.version = connection().LockedDataVersion()))
    lastLockedRead_.rows.assign(rows.begin(), rows.end());
  return rows;
}

// Made once for each shape a reading takes (a seek, the block after it):
// a search runs the same few again and again.
const QString& Table::selectText(const QStringList& conditions, const QString& order, std::size_t count) {
  const auto kept = std::find_if(selectTexts_.begin(), selectTexts_.end(), [&](const SelectText& text) {
    return text.count == count && text.order == order && text.conditions == conditions;
  });
  if (kept != selectTexts_.end()) return kept->text;
  if (selectTexts_.size() >= kMostSelectTexts) selectTexts_.erase(selectTexts_.begin());
  selectTexts_.push_back({conditions, order, count,
                          dialect().Window(selectList(), ownTable(),
                                           whereClause(conditions) + QStringLiteral(" ORDER BY ") + order, count)});
  return selectTexts_.back().text;
}

// As the engine is given them, so that they compare as the columns do.
QList<QVariant> Table::orderValues(const QList<OrderTerm>& terms, const Row& row) const {
  QList<QVariant> values;
  for (const OrderTerm& term : terms)
    values.append(term.column < 0 ? QVariant(rowIdOf(row)) : bound(term.column, row.values[term.column]));
  return values;
}

std::vector<Dataset::Row> Table::ReadMore(std::size_t count) {
  const QList<OrderTerm> terms = orderTerms();
  QStringList limits, order;
  QList<QVariant> limitArguments;
  limitConditions(terms, limits, limitArguments);
  for (const OrderTerm& term : terms) order.append(term.expression);
  addFilterCondition(limits, limitArguments);
  Conditions parts{{QString(), {}}};
  if (lastRead_)
    parts = afterConditions(order, *lastRead_, false);
  else if (startAt_ && !startAt_->isEmpty())
    parts = afterConditions(order, *startAt_, true);
  const QString orderText = order.join(QStringLiteral(", "));
  std::vector<Row> rows = rowsOfParts(parts, limits, limitArguments, count,
                                      [&](const QStringList& conditions, const QList<QVariant>& arguments,
                                          std::size_t wanted) { return selectRows(conditions, arguments, orderText, wanted); });
  if (rows.empty()) return rows;
  lastRead_ = orderValues(terms, rows.back());
  return rows;
}

bool Table::StartReadingAt(const Row& key, int count) {
  const QList<OrderTerm> terms = orderTerms();
  // A record read (not a key's values) starts exactly at itself, the terms
  // that tell records apart included, where the order has many equal values.
  const bool known = key.identity != 0 && (!keyColumns_.isEmpty() || rowIdOfIdentity_.contains(key.identity) ||
                                           (key.identity > lastOwnIdentity_ && !retiredRowIds_.contains(key.identity)));
  const qsizetype upto =
      known && count >= OrderColumns().size() ? terms.size() : std::min<qsizetype>(count, OrderColumns().size());
  QList<QVariant> values;
  for (qsizetype i = 0; i < upto; ++i)
    values.append(terms[i].column < 0 ? QVariant(rowIdOf(key)) : bound(terms[i].column, key.values[terms[i].column]));
  lastRead_.reset();
  startAt_ = std::move(values);
  return true;
}

bool Table::ContinueReadingAfter(const Row& row) {
  lastRead_ = orderValues(orderTerms(), row);
  startAt_.reset();
  return true;
}

std::optional<std::vector<Dataset::Row>> Table::ReadBefore(const Row* first, std::size_t count) {
  const QList<OrderTerm> terms = orderTerms();
  QStringList limits, order, descending;
  QList<QVariant> limitArguments;
  limitConditions(terms, limits, limitArguments);
  addFilterCondition(limits, limitArguments);
  for (const OrderTerm& term : terms) {
    order.append(term.expression);
    descending.append(term.expression + QStringLiteral(" DESC"));
  }
  Conditions parts{{QString(), {}}};
  if (first) parts = beforeConditions(order, orderValues(terms, *first));
  const QString orderText = descending.join(QStringLiteral(", "));
  std::vector<Row> rows = rowsOfParts(parts, limits, limitArguments, count,
                                      [&](const QStringList& conditions, const QList<QVariant>& arguments,
                                          std::size_t wanted) { return selectRows(conditions, arguments, orderText, wanted); });
  std::reverse(rows.begin(), rows.end());
  return rows;
}

std::optional<int> Table::CountBefore(const Row& row) {
  const auto wide = [](const std::optional<KeyLimit>& limit) { return limit && limit->count > 1; };
  if (wide(RangeStart()) || wide(RangeEnd()) || filterLeftToTheDataset()) return std::nullopt;
  const QList<OrderTerm> terms = orderTerms();
  QStringList limits, order;
  QList<QVariant> limitArguments;
  limitConditions(terms, limits, limitArguments);
  addFilterCondition(limits, limitArguments);
  for (const OrderTerm& term : terms) order.append(term.expression);
  int before = 0;
  for (const auto& [condition, arguments] : beforeConditions(order, orderValues(terms, row)))
    before += count(limits + QStringList{condition}, limitArguments + arguments);
  return before;
}

std::optional<Dataset::Row> Table::ReadRecordAt(int place) {
  const auto wide = [](const std::optional<KeyLimit>& limit) { return limit && limit->count > 1; };
  if (wide(RangeStart()) || wide(RangeEnd()) || filterLeftToTheDataset()) return std::nullopt;
  const QList<OrderTerm> terms = orderTerms();
  QStringList conditions, order;
  QList<QVariant> arguments;
  limitConditions(terms, conditions, arguments);
  addFilterCondition(conditions, arguments);
  for (const OrderTerm& term : terms) order.append(term.expression);
  CachedStatement select(connection(),
                         dialect().RowAtPlace(selectList(), ownTable(),
                                              whereClause(conditions) + QStringLiteral(" ORDER BY ") + order.join(u", ")));
  for (int i = 0; i < arguments.size(); ++i) select->Bind(i + 1, arguments[i]);
  select->Bind(static_cast<int>(arguments.size()) + 1, place);
  if (select->Step()) return rowOf(*select);
  std::optional<std::vector<Row>> last = ReadBefore(nullptr, 1);
  if (!last || last->empty()) return std::nullopt;
  return std::move(last->front());
}

// The engine counts what the conditions show exactly: a master link, and a
// range on one index field.
std::optional<int> Table::CountRecords() {
  const auto wide = [](const std::optional<KeyLimit>& limit) { return limit && limit->count > 1; };
  if (wide(RangeStart()) || wide(RangeEnd()) || filterLeftToTheDataset()) return std::nullopt;
  QStringList conditions;
  QList<QVariant> arguments;
  limitConditions(orderTerms(), conditions, arguments);
  addFilterCondition(conditions, arguments);
  return count(conditions, arguments);
}

// Counted again only once the data may have changed.
int Table::count(const QStringList& conditions, const QList<QVariant>& arguments) {
  const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(ownTable(), whereClause(conditions));
  const QString filter = filterFunctionName_.isEmpty() ? QString() : Filter() + QString::number(FilterOptions());
  return counts_.Count(connection(), sql, arguments, filter, [&] {
    CachedStatement count(connection(), sql);
    for (int i = 0; i < arguments.size(); ++i) count->Bind(i + 1, arguments[i]);
    count->Step();
    return count->Column(0).toInt();
  });
}

bool Table::OrderedAsTheSystemCompares(int count) const {
  if (connection_->Dialect().SortsTextAsTheSystem()) return true;
  const QList<int>& order = OrderColumns();
  return std::none_of(order.begin(), order.begin() + std::min<qsizetype>(count, order.size()), [this](int column) {
    return TypeTable::ValueClassOf(Columns()[column].type) == ValueClass::Text;
  });
}

// Text equal under the collation takes in every text Locate finds equal,
// with or without case; integers are equal or not. Other kinds, calculated
// fields and partial keys are left to Locate's own comparison, and so is
// every search where the engine orders the index's text otherwise.
std::optional<std::vector<Dataset::Row>> Table::LocateCandidates(const QList<Field*>& fields,
                                                                 const QList<Variant>& values, LocateOptions options,
                                                                 std::size_t count) {
  if (options & loPartialKey) return std::nullopt;
  for (const Field* field : fields)
    if (field->FieldKind() != fkData) return std::nullopt;
  // The candidates are placed among the records by the index's order, which
  // must then be the engine's too.
  if (!OrderedAsTheSystemCompares(static_cast<int>(OrderColumns().size()))) return std::nullopt;
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
  const QString collate = dialect().TextCollation();
  for (const Field* field : fields) {
    const auto column = std::find_if(Columns().begin(), Columns().end(), [field](const Column& c) {
      return c.name.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
    });
    if (column == Columns().end()) return std::nullopt;
    const ValueClass kind = TypeTable::ValueClassOf(column->type);
    if (kind != ValueClass::Integer && (kind != ValueClass::Text || !dialect().SortsTextAsTheSystem()))
      return std::nullopt;
    const QVariant& value = key.values[static_cast<int>(column - Columns().begin())];
    if (value.isNull()) {
      conditions.append(Quoted(column->name) + QStringLiteral(" IS NULL"));
    } else {
      conditions.append(Quoted(column->name) + (kind == ValueClass::Text ? collate : QString()) + QStringLiteral(" = ?"));
      arguments.append(value);
    }
  }
  for (const OrderTerm& term : terms) order.append(term.expression);
  return selectRows(conditions, arguments, order.join(QStringLiteral(", ")), count);
}
