#include "platform/sql/SqlFromTarget.h"

#include "platform/sql/SqlError.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <algorithm>
#include <utility>

bool IsSubquery(const SqlNode& node) {
  const size_t first = NextSignificant(node.children, 0);
  return node.IsGroup() && first < node.children.size() && node.children[first].IsWord(u"SELECT");
}

namespace {

void CollectItems(const SqlNodes& nodes, size_t from, size_t end, TablePositions positions, std::vector<size_t>& path,
                  std::vector<FromItem>& items) {
  for (size_t i = from; i < end; ++i) {
    if (!nodes[i].IsSignificant() || !positions.Next(nodes[i])) continue;
    if (IsNameNode(nodes[i])) {
      items.push_back(FromItemAt(nodes, i));
      items.back().path = path;
    } else if (nodes[i].IsGroup() && !IsSubquery(nodes[i])) {
      path.push_back(i);
      CollectItems(nodes[i].children, 0, nodes[i].children.size(), TablePositions::Inside(nodes[i], true), path, items);
      path.pop_back();
    }
  }
}

QString Unquoted(const QString& name) {
  const std::vector<SqlToken> tokens = TokenizeSql(name);
  return tokens.size() == 1 ? tokens[0].Value() : name;
}

// A table as SQL Server tells it: by its database and name, case ignored,
// however it is written.
bool SameTable(const SqlChain& a, const SqlChain& b, const SqlObjects& objects) {
  const auto [schemaA, nameA] = QualifiedTable(a, objects);
  const auto [schemaB, nameB] = QualifiedTable(b, objects);
  return Unquoted(schemaA).compare(Unquoted(schemaB), Qt::CaseInsensitive) == 0 &&
         Unquoted(nameA).compare(Unquoted(nameB), Qt::CaseInsensitive) == 0;
}

}  // namespace

const SqlNodes& FromItem::In(const SqlNodes& statement) const {
  const SqlNodes* nodes = &statement;
  for (const size_t group : path) nodes = &(*nodes)[group].children;
  return *nodes;
}

SqlNodes& FromItem::In(SqlNodes& statement) const {
  return const_cast<SqlNodes&>(In(std::as_const(statement)));
}

SqlNodes FromItem::TableNodes(const SqlNodes& statement) const {
  const SqlNodes& nodes = In(statement);
  return SqlNodes(nodes.begin() + qsizetype(chain.begin), nodes.begin() + qsizetype(chain.end));
}

QString FromItem::ExposedName() const { return alias ? alias->token.Value() : chain.names.last(); }

FromItem FromItemAt(const SqlNodes& nodes, size_t at) {
  FromItem item;
  item.chain = ReadChain(nodes, at);
  item.end = item.chain.end;
  size_t alias = NextSignificant(nodes, item.chain.end);
  if (alias < nodes.size() && nodes[alias].IsWord(u"AS")) alias = NextSignificant(nodes, alias + 1);
  if (alias < nodes.size() && IsNameNode(nodes[alias]) && !nodes[alias].IsWord(u"WITH")) {
    item.alias = nodes[alias];
    item.end = alias + 1;
  }
  return item;
}

std::vector<FromItem> FromItemsOf(const SqlNodes& nodes, size_t from, size_t end) {
  std::vector<FromItem> items;
  std::vector<size_t> path;
  CollectItems(nodes, from, end, TablePositions(), path, items);
  return items;
}

std::optional<size_t> BoundItem(const SqlChain& target, const std::vector<FromItem>& items, const SqlObjects& objects) {
  for (size_t k = 0; k < items.size(); ++k) {
    const bool shown = items[k].alias ? target.names.size() == 1 &&
                                            items[k].ExposedName().compare(target.names[0], Qt::CaseInsensitive) == 0
                                      : SameTable(items[k].chain, target, objects);
    if (shown) return k;
  }
  std::optional<size_t> instance;
  for (size_t k = 0; k < items.size(); ++k) {
    if (!SameTable(items[k].chain, target, objects)) continue;
    if (instance) throw SqlError(QStringLiteral("The table '%1' is ambiguous.").arg(target.names.last()));
    instance = k;
  }
  return instance;
}

RowIdentity RowIdentity::Of(const FromItem& item, const SqlObjects& objects) {
  auto [schema, name] = QualifiedTable(item.chain, objects);
  if (schema.isEmpty()) schema = QStringLiteral("temp");
  name = Unquoted(name);
  RowIdentity identity;
  for (const QString& column : objects.PrimaryKeyOf(schema, name)) identity.key << SqlText::Quoted(column);
  if (!identity.key.isEmpty()) return identity;
  const SqlRows kind = objects.Context().connection->QueryRows(
      QStringLiteral("SELECT type FROM %1.sqlite_schema WHERE name = ? COLLATE NOCASE").arg(schema), {name});
  if (!kind.rows.isEmpty() && kind.rows[0][0].toString() != u"table")
    Unsupported(QStringLiteral("UPDATE or DELETE of the view %1 through a FROM").arg(item.chain.written.join(u'.')));
  const QList<SqlColumn>& columns = objects.ColumnsOf(item.chain);
  QStringList names;
  for (const SqlColumn& column : columns) names << column.name;
  identity.rowId = SqlText::FreeRowIdName(names);
  if (!identity.rowId.isEmpty()) return identity;
  Unsupported(QStringLiteral("UPDATE or DELETE through a FROM of %1, whose columns RowId, _RowId_ and Oid hide its "
                             "row ids").arg(item.chain.written.join(u'.')));
}

size_t ShowRowId(SqlNodes& statement, const FromItem& item, const RowIdentity& identity, const SqlObjects& objects) {
  const QString shown = u"(SELECT "_qs + identity.rowId + u" AS "_qs + kRowIdColumn + u", * FROM "_qs +
                        RenderTableChain(item.chain, objects) + u") AS "_qs + SqlText::Quoted(item.ExposedName());
  SqlNodes& holder = item.In(statement);
  holder.erase(holder.begin() + qsizetype(item.chain.begin), holder.begin() + qsizetype(item.end));
  holder.insert(holder.begin() + qsizetype(item.chain.begin), SqlNode::Rewritten(shown));
  return item.end - item.chain.begin - 1;
}
