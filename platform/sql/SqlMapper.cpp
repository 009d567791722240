#include "platform/sql/SqlMapper.h"

#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sql/SqlTypes.h"
#include "platform/sqlite/SqlText.h"

namespace {

// Names and literals only, for statements without expressions (DROP,
// CREATE INDEX) and for column definitions.
void RewriteNames(SqlNodes& nodes, const SqlObjects& objects) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    SqlNode& node = nodes[i];
    if (node.IsGroup()) {
      RewriteNames(node.children, objects);
    } else if (node.Is(SqlTokenKind::String)) {
      node = SqlNode::Rewritten(RewriteLiteral(node.token, objects.Context()));
    } else if (node.Is(SqlTokenKind::QuotedName) || (node.Is(SqlTokenKind::Word) && !IsKeyword(node))) {
      const SqlChain chain = ReadChain(nodes, i);
      const QString text = RenderChain(chain, objects);
      nodes.erase(nodes.begin() + qsizetype(chain.begin) + 1, nodes.begin() + qsizetype(chain.end));
      nodes[i] = SqlNode::Rewritten(text);
    }
  }
}

// A column definition: text columns take the database's collation, as SQL
// Server gives it to columns declared without one; VARCHAR(MAX) is plain
// VARCHAR to SQLite. Returns whether it declares the primary key.
bool RewriteColumn(SqlNodes& column, const SqlObjects& objects) {
  bool primaryKey = false, collated = false;
  for (const SqlNode& node : column) {
    if (node.IsWord(u"IDENTITY")) Unsupported(QStringLiteral("IDENTITY"));
    if (node.IsWord(u"PRIMARY")) primaryKey = true;
    if (node.IsWord(u"COLLATE")) collated = true;
  }
  const size_t name = NextSignificant(column, 0);
  const size_t type = NextSignificant(column, name + 1);
  if (type < column.size() && column[type].Is(SqlTokenKind::Word)) {
    const size_t size = NextSignificant(column, type + 1);
    const bool sized = size < column.size() && column[size].IsGroup();
    const SqlType declared = SqlType::Parse(column[type].token.text + (sized ? RenderSql(column[size]) : QString()));
    size_t typeEnd = sized ? size + 1 : type + 1;
    if (sized && declared.length == SqlType::kMax) {
      column.erase(column.begin() + qsizetype(type) + 1, column.begin() + qsizetype(size) + 1);
      typeEnd = type + 1;
    }
    if (declared.IsText() && !collated)
      column.insert(column.begin() + qsizetype(typeEnd),
                    SqlNode::Rewritten(QStringLiteral(" COLLATE ") + SqlText::Quoted(objects.Context().collationName)));
  }
  SqlNodes rest(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  RewriteNames(rest, objects);
  column.erase(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  column.insert(column.end(), rest.begin(), rest.end());
  return primaryKey;
}

SqlNodes JoinWithCommas(const std::vector<SqlNodes>& parts) {
  SqlNodes joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined.push_back(SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Comma, QStringLiteral(",")}, {}, {}});
    joined.insert(joined.end(), parts[i].begin(), parts[i].end());
  }
  return joined;
}

void RewriteTableName(SqlNodes& nodes, size_t at, const SqlObjects& objects) {
  if (at >= nodes.size() || !(nodes[at].Is(SqlTokenKind::Word) || nodes[at].Is(SqlTokenKind::QuotedName)))
    throw SqlError(QStringLiteral("Incorrect syntax: a table name is expected."));
  const SqlChain chain = ReadChain(nodes, at);
  const QString text = RenderTableChain(chain, objects);
  nodes.erase(nodes.begin() + qsizetype(chain.begin) + 1, nodes.begin() + qsizetype(chain.end));
  nodes[at] = SqlNode::Rewritten(text);
}

// DROP TABLE [IF EXISTS] T, DROP INDEX I.
void RewriteDrop(SqlNodes& nodes, size_t kind, const SqlObjects& objects) {
  size_t name = NextSignificant(nodes, kind + 1);
  if (name < nodes.size() && nodes[name].IsWord(u"IF")) name = NextSignificant(nodes, NextSignificant(nodes, name + 1) + 1);
  if (nodes[kind].IsWord(u"TABLE") || (name < nodes.size() && ReadChain(nodes, name).names.size() == 1))
    RewriteTableName(nodes, name, objects);
  RewriteNames(nodes, objects);
}

// SQLite takes the schema on the index's name and looks for the table there
// only; without one it would take the first file that has the table.
void RewriteCreateIndex(SqlNodes& nodes, size_t indexWord, const SqlObjects& objects) {
  const size_t index = NextSignificant(nodes, indexWord + 1);
  if (index >= nodes.size() || !(nodes[index].Is(SqlTokenKind::Word) || nodes[index].Is(SqlTokenKind::QuotedName)))
    throw SqlError(QStringLiteral("Incorrect syntax near 'INDEX'."));
  const size_t on = NextSignificant(nodes, ReadChain(nodes, index).end);
  const size_t table = on < nodes.size() ? NextSignificant(nodes, on + 1) : nodes.size();
  if (on >= nodes.size() || !nodes[on].IsWord(u"ON") || table >= nodes.size() ||
      !(nodes[table].Is(SqlTokenKind::Word) || nodes[table].Is(SqlTokenKind::QuotedName)))
    throw SqlError(QStringLiteral("Incorrect syntax near 'INDEX'."));
  const SqlChain tableChain = ReadChain(nodes, table);
  const auto [schema, tableName] = QualifiedTable(tableChain, objects);
  nodes.erase(nodes.begin() + qsizetype(tableChain.begin) + 1, nodes.begin() + qsizetype(tableChain.end));
  nodes[table] = SqlNode::Rewritten(tableName);
  const SqlChain indexChain = ReadChain(nodes, index);
  if (indexChain.names.size() != 1) Unsupported(indexChain.written.join(u'.'));
  nodes[index] = SqlNode::Rewritten(schema.isEmpty() ? indexChain.written[0] : schema + u'.' + indexChain.written[0]);
  RewriteNames(nodes, objects);
}

// A table with a primary key is kept in key order, as SQL Server's
// clustered key does, and its key columns refuse NULL.
void RewriteCreateTable(SqlNodes& nodes, size_t table, const SqlObjects& objects) {
  const size_t name = NextSignificant(nodes, table + 1);
  RewriteTableName(nodes, name, objects);
  const size_t group = NextSignificant(nodes, name + 1);
  if (group >= nodes.size() || !nodes[group].IsGroup())
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(RenderSql(nodes, name, name + 1)));
  if (NextSignificant(nodes, group + 1) < nodes.size()) Unsupported(RenderSql(nodes, group + 1));
  std::vector<SqlNodes> definitions = SplitAtCommas(nodes[group].children);
  bool primaryKey = false;
  for (SqlNodes& definition : definitions) {
    const size_t first = NextSignificant(definition, 0);
    if (first == definition.size()) continue;
    const bool constraint = definition[first].IsWord(u"CONSTRAINT") || definition[first].IsWord(u"PRIMARY") ||
                            definition[first].IsWord(u"UNIQUE") || definition[first].IsWord(u"CHECK") ||
                            definition[first].IsWord(u"FOREIGN");
    if (constraint) {
      for (const SqlNode& node : definition) primaryKey = primaryKey || node.IsWord(u"PRIMARY");
    } else {
      primaryKey = RewriteColumn(definition, objects) || primaryKey;
    }
  }
  nodes[group].children = JoinWithCommas(definitions);
  if (primaryKey) nodes.insert(nodes.begin() + qsizetype(group) + 1, SqlNode::Rewritten(QStringLiteral(" WITHOUT ROWID")));
}

void RewriteAlterTable(SqlNodes& nodes, size_t table, const SqlObjects& objects) {
  const size_t name = NextSignificant(nodes, table + 1);
  RewriteTableName(nodes, name, objects);
  const size_t action = NextSignificant(nodes, name + 1);
  if (action < nodes.size() && nodes[action].IsWord(u"ADD")) {
    SqlNodes column(nodes.begin() + qsizetype(action) + 1, nodes.end());
    if (SplitAtCommas(column).size() > 1) Unsupported(QStringLiteral("ALTER TABLE ... ADD of several columns"));
    RewriteColumn(column, objects);
    nodes.erase(nodes.begin() + qsizetype(action) + 1, nodes.end());
    nodes.insert(nodes.end(), column.begin(), column.end());
  } else if (action < nodes.size() && nodes[action].IsWord(u"DROP")) {
    RewriteNames(nodes, objects);
  } else {
    Unsupported(QStringLiteral("ALTER TABLE ") + RenderSql(nodes, action));
  }
}

// DELETE T WHERE ... is DELETE FROM T WHERE ...; a second FROM (a join) is
// SQL Server's own.
void RewriteDelete(SqlNodes& nodes, size_t deleteWord, const SqlObjects& objects) {
  size_t table = NextSignificant(nodes, deleteWord + 1);
  if (table < nodes.size() && nodes[table].IsWord(u"FROM")) {
    table = NextSignificant(nodes, table + 1);
  } else {
    const SqlNode from{SqlNode::Kind::Token, {SqlTokenKind::Word, QStringLiteral("FROM")}, {}, {}};
    const SqlNode space{SqlNode::Kind::Token, {SqlTokenKind::Whitespace, QStringLiteral(" ")}, {}, {}};
    nodes.insert(nodes.begin() + qsizetype(table), {from, space});
    table += 2;
  }
  if (table >= nodes.size()) throw SqlError(QStringLiteral("Incorrect syntax near 'DELETE'."));
  const size_t after = NextSignificant(nodes, ReadChain(nodes, table).end);
  if (after < nodes.size() && nodes[after].IsWord(u"FROM")) Unsupported(QStringLiteral("DELETE ... FROM ... FROM"));
  RewriteExpressions(nodes, objects);
}

}  // namespace

SqlContext SqlContext::ForConnection(Connection& connection, const QString& dateFormat) {
  const DatabaseLocation location = DatabaseLocation::Of(connection);
  SqlContext context;
  context.connection = &connection;
  context.databaseName = location.databaseName;
  context.serverFolder = location.serverFolder;
  context.collationName = location.collationName;
  context.dateFormat = dateFormat;
  return context;
}

SqlMapper::SqlMapper(SqlContext context) : context_(std::move(context)) {}

QString SqlMapper::Map(QStringView statement) const {
  std::vector<SqlToken> tokens = TokenizeSql(statement);
  for (SqlToken& token : tokens)
    if (token.kind == SqlTokenKind::Comment) token = {SqlTokenKind::Whitespace, QStringLiteral(" ")};
  SqlNodes nodes = BuildSqlTree(tokens);
  const size_t last = PreviousSignificant(nodes, nodes.size());
  if (last != size_t(-1) && nodes[last].Is(SqlTokenKind::Semicolon)) nodes.erase(nodes.begin() + qsizetype(last));
  for (const SqlNode& node : nodes)
    if (node.Is(SqlTokenKind::Semicolon))
      throw SqlError(QStringLiteral("Several statements in one text are not supported by the embedded server."));
  const size_t first = NextSignificant(nodes, 0);
  if (first == nodes.size()) throw SqlError(QStringLiteral("The statement is empty."));

  const SqlObjects objects(context_);
  const SqlNode& head = nodes[first];
  const size_t second = NextSignificant(nodes, first + 1);
  const bool hasSecond = second < nodes.size();
  auto secondWord = [&](QStringView word) { return hasSecond && nodes[second].IsWord(word); };
  if (head.IsGroup() || head.IsWord(u"SELECT") || head.IsWord(u"INSERT") || head.IsWord(u"UPDATE")) {
    RewriteExpressions(nodes, objects);
  } else if (head.IsWord(u"DELETE")) {
    RewriteDelete(nodes, first, objects);
  } else if (head.IsWord(u"CREATE") && secondWord(u"TABLE")) {
    RewriteCreateTable(nodes, second, objects);
  } else if (head.IsWord(u"CREATE") && secondWord(u"INDEX")) {
    RewriteCreateIndex(nodes, second, objects);
  } else if (head.IsWord(u"CREATE") && secondWord(u"UNIQUE")) {
    const size_t index = NextSignificant(nodes, second + 1);
    if (index >= nodes.size() || !nodes[index].IsWord(u"INDEX")) Unsupported(RenderSql(nodes, first));
    RewriteCreateIndex(nodes, index, objects);
  } else if (head.IsWord(u"DROP") && (secondWord(u"TABLE") || secondWord(u"INDEX"))) {
    RewriteDrop(nodes, second, objects);
  } else if (head.IsWord(u"ALTER") && secondWord(u"TABLE")) {
    RewriteAlterTable(nodes, second, objects);
  } else if (head.IsWord(u"EXEC") || head.IsWord(u"EXECUTE")) {
    throw SqlError(QStringLiteral("Could not find stored procedure '%1'.")
                       .arg(hasSecond ? RenderSql(nodes[second]) : QString()));
  } else {
    Unsupported(RenderSql(nodes, first, (hasSecond ? second : first) + 1));
  }
  return RenderSql(nodes).trimmed();
}
