#include "platform/sql/ColumnConversion.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/SqlText.h"

#include <QRegularExpression>

namespace {

bool Checked(const SqlType& type) { return type.IsInteger() || type.IsDecimal() || type.IsText() || type.IsDate(); }

// SQLite keeps no number exactly past 15 digits: an exact column is not
// given one it would store as another.
constexpr int kExactDigits = 15;

QVariant NumberOf(const SqlToken& token, const SqlType& type) {
  const QString text = token.text.toString();
  if (type.IsDecimal() && type.name != u"FLOAT" && type.name != u"REAL" && !text.contains(u'e', Qt::CaseInsensitive)) {
    // The digits the column keeps: the whole part and the fraction up to its scale.
    QString whole = text.section(u'.', 0, 0), fraction = text.section(u'.', 1);
    whole.remove(QRegularExpression(QStringLiteral("^[+-]?0*")));
    while (fraction.endsWith(u'0')) fraction.chop(1);
    const qsizetype scale = type.name.endsWith(u"MONEY") ? 4 : type.scale.value_or(0);
    if (whole.size() + std::min(fraction.size(), scale) > kExactDigits) Unsupported(text);
  }
  bool whole = !text.contains(u'.') && !text.contains(u'e', Qt::CaseInsensitive);
  const qint64 integer = whole ? text.toLongLong(&whole) : 0;
  return whole ? QVariant(integer) : QVariant(text.toDouble());
}

// A lone literal is converted here; any other expression at run time.
void Convert(SqlNodes& nodes, size_t begin, size_t end, const SqlColumn& column, const SqlObjects& objects) {
  const size_t first = NextSignificant(nodes, begin);
  if (first >= end || !Checked(column.type)) return;
  const QString format = objects.Context().dateFormat;
  const bool lone = NextSignificant(nodes, first + 1) >= end;
  if (lone && (nodes[first].Is(SqlTokenKind::String) || nodes[first].Is(SqlTokenKind::Number))) {
    const SqlToken& token = nodes[first].token;
    // A number written into a text column keeps its digits as written (12.000000).
    const bool asWritten = token.Is(SqlTokenKind::String) || column.type.IsText();
    const QVariant value = asWritten ? QVariant(token.Is(SqlTokenKind::String) ? token.Value() : token.text.toString())
                                     : NumberOf(token, column.type);
    const ColumnValue converted = ToColumnType(value, column.type, DateOrderOf(format));
    if (!converted.error.isEmpty()) throw SqlError(converted.error);
    nodes[first] = SqlNode::Rewritten(SqlLiteral(converted.value));
    return;
  }
  if (lone && nodes[first].IsWord(u"NULL")) return;
  end = PreviousSignificant(nodes, end) + 1;
  SqlNode group;
  group.kind = SqlNode::Kind::Group;
  group.children.assign(nodes.begin() + qsizetype(first), nodes.begin() + qsizetype(end));
  const QString type = QuoteSqlString(column.declared);
  const SqlNodes wrapped = {
      SqlNode::Rewritten(QStringLiteral("zem_store(%1, ").arg(type)), group,
      SqlNode::Rewritten(column.type.IsDate() ? QStringLiteral(", %1)").arg(QuoteSqlString(format)) : u")"_qs)};
  nodes.erase(nodes.begin() + qsizetype(first), nodes.begin() + qsizetype(end));
  nodes.insert(nodes.begin() + qsizetype(first), wrapped.begin(), wrapped.end());
}

// The comma-separated items of nodes[begin, end), as [begin, end) pairs.
std::vector<std::pair<size_t, size_t>> Items(const SqlNodes& nodes, size_t begin, size_t end) {
  std::vector<std::pair<size_t, size_t>> items;
  size_t start = begin;
  for (size_t i = begin; i <= end; ++i) {
    if (i < end && !nodes[i].Is(SqlTokenKind::Comma)) continue;
    items.emplace_back(start, i);
    start = i + 1;
  }
  return items;
}

// Each comma-separated item of nodes[begin, end) against its column;
// a column unknown (nullptr) is left to SQLite.
void ConvertItems(SqlNodes& nodes, size_t begin, size_t end, const QList<const SqlColumn*>& columns,
                  const SqlObjects& objects) {
  const std::vector<std::pair<size_t, size_t>> items = Items(nodes, begin, end);
  for (size_t k = items.size(); k-- > 0;)
    if (k < size_t(columns.size()) && columns[qsizetype(k)])
      Convert(nodes, items[k].first, items[k].second, *columns[qsizetype(k)], objects);
}

const SqlColumn* Find(const QList<SqlColumn>& columns, const QString& name) {
  for (const SqlColumn& column : columns)
    if (column.name.compare(name, Qt::CaseInsensitive) == 0) return &column;
  return nullptr;
}

bool EndsSelectList(const SqlNode& node) {
  static constexpr QStringView kWords[] = {u"FROM",  u"WHERE",  u"GROUP",  u"ORDER",
                                           u"HAVING", u"UNION", u"EXCEPT", u"INTERSECT"};
  for (QStringView word : kWords)
    if (node.IsWord(word)) return true;
  return false;
}

// The end of a SELECT item's expression: before "AS alias" or a bare alias.
size_t WithoutAlias(const SqlNodes& nodes, size_t begin, size_t end) {
  const size_t last = PreviousSignificant(nodes, end);
  if (last == size_t(-1) || last < begin || !IsNameNode(nodes[last])) return end;
  const size_t before = PreviousSignificant(nodes, last);
  if (before == size_t(-1) || before < begin) return end;
  if (nodes[before].IsWord(u"AS")) return before;
  if (nodes[before].Is(SqlTokenKind::Dot) || nodes[before].Is(SqlTokenKind::Symbol) || IsKeyword(nodes[before]))
    return end;
  return last;
}

void ConvertSelectLists(SqlNodes& nodes, size_t from, const QList<const SqlColumn*>& columns,
                        const SqlObjects& objects) {
  for (size_t select = nodes.size(); select-- > from;) {
    if (!nodes[select].IsWord(u"SELECT")) continue;
    size_t begin = NextSignificant(nodes, select + 1);
    if (begin < nodes.size() && (nodes[begin].IsWord(u"DISTINCT") || nodes[begin].IsWord(u"ALL"))) ++begin;
    begin = NextSignificant(nodes, begin);
    if (begin < nodes.size() && nodes[begin].IsWord(u"TOP")) begin = NextSignificant(nodes, begin + 1) + 1;
    size_t end = begin;
    while (end < nodes.size() && !EndsSelectList(nodes[end])) ++end;
    std::vector<std::pair<size_t, size_t>> items = Items(nodes, begin, end);
    for (auto& [itemBegin, itemEnd] : items) itemEnd = WithoutAlias(nodes, itemBegin, itemEnd);
    for (const auto& [itemBegin, itemEnd] : items) {
      const size_t last = PreviousSignificant(nodes, itemEnd);
      if (last != size_t(-1) && last >= itemBegin && nodes[last].token.IsSymbol(u"*")) return;  // * lists no types
    }
    for (size_t k = items.size(); k-- > 0;)
      if (k < size_t(columns.size()) && columns[qsizetype(k)])
        Convert(nodes, items[k].first, items[k].second, *columns[qsizetype(k)], objects);
  }
}

void RewriteInsert(SqlNodes& nodes, size_t head, const SqlObjects& objects) {
  size_t table = NextSignificant(nodes, head + 1);
  if (table < nodes.size() && nodes[table].IsWord(u"INTO")) table = NextSignificant(nodes, table + 1);
  if (table >= nodes.size() || !IsNameNode(nodes[table])) return;
  const SqlChain chain = ReadChain(nodes, table);
  const QList<SqlColumn>& all = objects.ColumnsOf(chain);
  if (all.isEmpty()) return;
  QList<const SqlColumn*> targets;
  size_t source = NextSignificant(nodes, chain.end);
  if (source < nodes.size() && nodes[source].IsGroup()) {
    for (const SqlNodes& item : SplitAtCommas(nodes[source].children)) {
      const size_t name = NextSignificant(item, 0);
      const SqlColumn* column = name < item.size() ? Find(all, item[name].token.Value()) : nullptr;
      if (column && column->type.identity)
        throw SqlError(QStringLiteral("Cannot insert explicit value for identity column in table '%1' when "
                                      "IDENTITY_INSERT is set to OFF.").arg(chain.names.last()));
      targets << column;
    }
    source = NextSignificant(nodes, source + 1);
  } else {
    QStringList names;
    bool identity = false;
    for (const SqlColumn& column : all) {
      identity = identity || column.type.identity;
      if (column.type.identity) continue;
      targets << &column;
      names << SqlText::Quoted(column.name);
    }
    // Without a list the identity column is not one of the values.
    if (identity)
      nodes.insert(nodes.begin() + qsizetype(chain.end), SqlNode::Rewritten(u" ("_qs + names.join(u", ") + u')'));
    source = NextSignificant(nodes, chain.end + (identity ? 1 : 0));
  }
  if (source < nodes.size() && nodes[source].IsWord(u"VALUES")) {
    for (size_t row = source + 1; row < nodes.size(); ++row)
      if (nodes[row].IsGroup())
        ConvertItems(nodes[row].children, 0, nodes[row].children.size(), targets, objects);
  } else {
    ConvertSelectLists(nodes, source, targets, objects);
  }
}

void RewriteUpdate(SqlNodes& nodes, size_t head, const SqlObjects& objects) {
  const size_t table = NextSignificant(nodes, head + 1);
  if (table >= nodes.size() || !IsNameNode(nodes[table])) return;
  const SqlChain chain = ReadChain(nodes, table);
  const QList<SqlColumn>& all = objects.ColumnsOf(chain);
  size_t set = NextSignificant(nodes, chain.end);
  if (set < nodes.size() && nodes[set].IsWord(u"AS")) set = NextSignificant(nodes, NextSignificant(nodes, set + 1) + 1);
  if (all.isEmpty() || set >= nodes.size() || !nodes[set].IsWord(u"SET")) return;
  size_t end = set + 1;
  while (end < nodes.size() && !nodes[end].IsWord(u"FROM") && !nodes[end].IsWord(u"WHERE")) ++end;
  const std::vector<std::pair<size_t, size_t>> assignments = Items(nodes, set + 1, end);
  for (auto it = assignments.rbegin(); it != assignments.rend(); ++it) {
    size_t equals = it->first;
    while (equals < it->second && !nodes[equals].token.IsSymbol(u"=")) ++equals;
    const std::optional<SqlChain> target =
        equals < it->second ? ChainEndingAt(nodes, PreviousSignificant(nodes, equals)) : std::nullopt;
    const SqlColumn* column = target ? Find(all, target->names.last()) : nullptr;
    if (!column) continue;
    if (column->type.identity)
      throw SqlError(QStringLiteral("Cannot update identity column '%1'.").arg(column->name));
    Convert(nodes, equals + 1, it->second, *column, objects);
  }
}

}  // namespace

void RewriteAssignments(SqlNodes& nodes, size_t head, const SqlObjects& objects) {
  if (nodes[head].IsWord(u"INSERT")) RewriteInsert(nodes, head, objects);
  else RewriteUpdate(nodes, head, objects);
}
