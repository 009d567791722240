#include "platform/sql/SqlRewrite.h"

#include "platform/sql/MappingCache.h"
#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

bool IsNameNode(const SqlNode& node) {
  return node.Is(SqlTokenKind::QuotedName) || (node.Is(SqlTokenKind::Word) && !IsKeyword(node));
}

std::optional<SqlChain> ChainEndingAt(const SqlNodes& nodes, size_t last) {
  if (last >= nodes.size() || !IsNameNode(nodes[last])) return std::nullopt;
  size_t first = last;
  while (first >= 2 && nodes[first - 1].Is(SqlTokenKind::Dot) && IsNameNode(nodes[first - 2])) first -= 2;
  SqlChain chain = ReadChain(nodes, first);
  if (chain.end != last + 1) return std::nullopt;
  return chain;
}

namespace {

// The alias that follows a FROM item ending before nodes[at], [AS] name;
// nodes.size() when it has none.
size_t AliasAfter(const SqlNodes& nodes, size_t at) {
  size_t alias = NextSignificant(nodes, at);
  if (alias < nodes.size() && nodes[alias].IsWord(u"AS")) alias = NextSignificant(nodes, alias + 1);
  const bool aliased = alias < nodes.size() && IsNameNode(nodes[alias]) && !nodes[alias].IsWord(u"WITH") &&
                       !nodes[alias].IsWord(u"SET");
  return aliased ? alias : nodes.size();
}

// The name a select item shows: its alias (expression [AS] name, name =
// expression) or a column's own name; empty for an expression without one.
QString ItemName(const SqlNodes& item) {
  const size_t first = NextSignificant(item, 0);
  if (first >= item.size()) return {};
  const size_t afterFirst = NextSignificant(item, first + 1);
  if (afterFirst < item.size() && item[afterFirst].token.IsSymbol(u"=") && IsNameNode(item[first]))
    return item[first].token.Value();
  const std::optional<SqlChain> chain = ChainEndingAt(item, PreviousSignificant(item, item.size()));
  return chain && !chain->names.isEmpty() ? chain->names.last() : QString();
}

// The columns of a derived table, (SELECT ...): each select item of its
// first SELECT, named and typed as SQL Server shows it; an item whose type
// is not known has none.
QList<SqlColumn> DerivedColumns(const SqlNodes& query, const SqlObjects& objects) {
  QList<SqlColumn> columns;
  size_t begin = NextSignificant(query, 0);
  if (begin >= query.size() || !query[begin].IsWord(u"SELECT")) return columns;
  begin = NextSignificant(query, begin + 1);
  if (begin < query.size() && (query[begin].IsWord(u"DISTINCT") || query[begin].IsWord(u"ALL")))
    begin = NextSignificant(query, begin + 1);
  if (begin < query.size() && query[begin].IsWord(u"TOP")) begin = NextSignificant(query, NextSignificant(query, begin + 1) + 1);
  size_t end = begin;
  while (end < query.size() && !query[end].IsWord(u"FROM") && !query[end].IsWord(u"UNION") &&
         !query[end].IsWord(u"EXCEPT") && !query[end].IsWord(u"INTERSECT") && !query[end].IsWord(u"WHERE") &&
         !query[end].IsWord(u"ORDER") && !query[end].IsWord(u"GROUP"))
    ++end;
  const SqlNodes list(query.begin() + qsizetype(begin), query.begin() + qsizetype(end));
  for (const SqlNodes& item : SplitAtCommas(list)) {
    const QString name = ItemName(item);
    if (name.isEmpty()) continue;
    size_t expressionEnd = item.size();
    const size_t first = NextSignificant(item, 0);
    const size_t afterFirst = NextSignificant(item, first + 1);
    const bool assigned = afterFirst < item.size() && item[afterFirst].token.IsSymbol(u"=");
    std::optional<SqlType> type;
    if (assigned) {
      type = ExpressionType(item, afterFirst + 1, item.size(), objects);
    } else {
      for (size_t i = 0; i < item.size(); ++i)
        if (item[i].IsWord(u"AS")) expressionEnd = i;
      type = ExpressionType(item, 0, expressionEnd, objects);
    }
    if (type) columns.append({name, TypeText(*type), *type});
  }
  return columns;
}

void CollectTables(const SqlNodes& nodes, TablePositions positions, SqlObjects& objects) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (!node.IsSignificant()) continue;
    const bool table = positions.Next(node);
    if (node.IsGroup() || node.kind == SqlNode::Kind::Case)
      CollectTables(node.children, TablePositions::Inside(node, table), objects);
    if (table && node.IsGroup()) {
      const size_t alias = AliasAfter(nodes, i + 1);
      if (alias < nodes.size()) objects.AddDerivedTable(nodes[alias].token.Value(), DerivedColumns(node.children, objects));
      continue;
    }
    if (!table || !IsNameNode(node)) continue;
    const SqlChain chain = ReadChain(nodes, i);
    const size_t alias = AliasAfter(nodes, chain.end);
    objects.AddTable(chain, alias < nodes.size() ? nodes[alias].token.Value() : QString());
  }
}

}  // namespace

void CollectTables(const SqlNodes& nodes, SqlObjects& objects) { CollectTables(nodes, TablePositions(), objects); }

namespace {

// The columns a table shows and whether they all come from the connection's
// own file or its temporary schema, whose versions a cache follows. The
// statement is stepped once, so that SQLite reads a schema another program
// changed instead of answering from the one it had.
std::pair<QList<SqlColumn>, bool> ReadColumns(sqlite3* handle, const QString& table) {
  std::pair<QList<SqlColumn>, bool> read{{}, false};
  const QByteArray select = (QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" LIMIT 0")).toUtf8();
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(handle, select.constData(), int(select.size()), &statement, nullptr) == SQLITE_OK) {
    const int stepped = sqlite3_step(statement);
    read.second = stepped == SQLITE_DONE || stepped == SQLITE_ROW;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const QString declared = QString::fromUtf8(sqlite3_column_decltype(statement, i));
      read.first.append({QString::fromUtf8(sqlite3_column_name(statement, i)), declared, SqlType::Parse(declared)});
      const char* origin = sqlite3_column_database_name(statement, i);
      read.second = read.second && origin && (qstrcmp(origin, "main") == 0 || qstrcmp(origin, "temp") == 0);
    }
  }
  sqlite3_finalize(statement);
  read.second = read.second && !read.first.isEmpty();
  return read;
}

}  // namespace

const QList<SqlColumn>& SqlObjects::ColumnsOf(const SqlChain& table) const {
  static const QList<SqlColumn> none;
  if (table.names.size() == 1 && table.names[0].startsWith(u'#')) return none;
  QString text;
  try {
    text = RenderChain(table, *this);
  } catch (const std::exception&) {
    return none;  // the rewrite of the name itself reports it
  }
  if (context_.cache)
    if (const QList<SqlColumn>* cached = context_.cache->Columns(text)) return *cached;
  auto found = columns_.find(text);
  if (found != columns_.end()) return found->second;
  auto [columns, cacheable] = ReadColumns(context_.connection->Handle(), text);
  if (context_.cache && cacheable) return context_.cache->KeepColumns(text, std::move(columns));
  reusable_ = false;
  return columns_[text] = std::move(columns);
}

std::optional<SqlColumn> SqlObjects::ColumnOf(const SqlChain& column) const {
  if (column.names.isEmpty() || column.names.size() > 4) return std::nullopt;
  const QString& name = column.names.last();
  // dbo.T.column and db.dbo.T.column name a table that has no alias.
  const QString qualifier = column.names.size() >= 2 ? column.names[column.names.size() - 2] : QString();
  const bool tableNamed = column.names.size() > 2;
  for (const NamedTable& table : tables_) {
    const bool byAlias = !tableNamed && qualifier.compare(table.alias, Qt::CaseInsensitive) == 0;
    const bool byName = table.alias.isEmpty() && !table.chain.names.isEmpty() &&
                        qualifier.compare(table.chain.names.last(), Qt::CaseInsensitive) == 0;
    if (!qualifier.isEmpty() && !byAlias && !byName) continue;
    for (const SqlColumn& candidate : table.derived ? *table.derived : ColumnsOf(table.chain))
      if (candidate.name.compare(name, Qt::CaseInsensitive) == 0) return candidate;
  }
  return std::nullopt;
}

void SqlObjects::AddDerivedTable(const QString& alias, QList<SqlColumn> columns) {
  tables_.push_back({SqlChain{}, alias, std::move(columns)});
}
