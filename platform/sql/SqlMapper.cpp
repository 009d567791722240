#include "platform/sql/SqlMapper.h"

#include "platform/sql/MappingCache.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <deque>
#include <map>

void RewriteNames(SqlNodes& nodes, const SqlObjects& objects) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    SqlNode& node = nodes[i];
    if (node.IsGroup()) {
      RewriteNames(node.children, objects);
    } else if (node.IsWord(u"COLLATE")) {
      RewriteCollation(nodes, i);
    } else if (node.Is(SqlTokenKind::String)) {
      node = SqlNode::Rewritten(RewriteLiteral(node.token));
    } else if (node.Is(SqlTokenKind::QuotedName) || (node.Is(SqlTokenKind::Word) && !IsKeyword(node))) {
      const SqlChain chain = ReadChain(nodes, i);
      const QString text = RenderChain(chain, objects);
      nodes.erase(nodes.begin() + qsizetype(chain.begin) + 1, nodes.begin() + qsizetype(chain.end));
      nodes[i] = SqlNode::Rewritten(text);
    }
  }
}

void RewriteTableName(SqlNodes& nodes, size_t at, const SqlObjects& objects) {
  if (at >= nodes.size() || !(nodes[at].Is(SqlTokenKind::Word) || nodes[at].Is(SqlTokenKind::QuotedName)))
    throw SqlError(QStringLiteral("Incorrect syntax: a table name is expected."));
  const SqlChain chain = ReadChain(nodes, at);
  const QString text = RenderTableChain(chain, objects);
  nodes.erase(nodes.begin() + qsizetype(chain.begin) + 1, nodes.begin() + qsizetype(chain.end));
  nodes[at] = SqlNode::Rewritten(text);
}

namespace {

// DROP TABLE [IF EXISTS] T. Without IF EXISTS a missing table is refused
// in SQL Server's words.
void RewriteDropTable(SqlNodes& nodes, size_t kind, const SqlObjects& objects) {
  size_t name = NextSignificant(nodes, kind + 1);
  const bool ifExists = name < nodes.size() && nodes[name].IsWord(u"IF");
  if (ifExists) name = NextSignificant(nodes, NextSignificant(nodes, name + 1) + 1);
  if (!ifExists && name < nodes.size() && IsNameNode(nodes[name])) {
    const SqlChain chain = ReadChain(nodes, name);
    RefuseTemporaryTable(chain);
    if (objects.ColumnsOf(chain).isEmpty())
      throw SqlError(QStringLiteral("Cannot drop the table '%1', because it does not exist or you do not have "
                                    "permission.").arg(chain.names.join(u'.')));
  }
  RewriteTableName(nodes, name, objects);
  RewriteNames(nodes, objects);
}

// DROP INDEX I, DROP INDEX T.I and DROP INDEX I ON T: SQLite names the
// index with its table's schema.
void RewriteDropIndex(SqlNodes& nodes, size_t kind, const SqlObjects& objects) {
  const size_t name = NextSignificant(nodes, kind + 1);
  if (name >= nodes.size() || !IsNameNode(nodes[name])) throw SqlError(QStringLiteral("Incorrect syntax near 'INDEX'."));
  SqlChain index = ReadChain(nodes, name);
  const size_t on = NextSignificant(nodes, index.end);
  const size_t tableAt = on < nodes.size() ? NextSignificant(nodes, on + 1) : nodes.size();
  std::optional<SqlChain> table;
  if (on < nodes.size() && nodes[on].IsWord(u"ON") && tableAt < nodes.size() && IsNameNode(nodes[tableAt])) {
    table = ReadChain(nodes, tableAt);
    if (NextSignificant(nodes, table->end) < nodes.size()) Unsupported(RenderSql(nodes, table->end));
  } else if (on < nodes.size()) {
    Unsupported(RenderSql(nodes, on));
  } else if (index.names.size() == 2) {
    table = index;
    table->names.removeLast();
    table->written.removeLast();
  } else if (index.names.size() > 2) {
    Unsupported(index.written.join(u'.'));
  }
  const QString indexName = index.names.last();
  const QString schema = table ? QualifiedTable(*table, objects).first : QStringLiteral("main");
  const QString tableName = table ? table->names.last() : QString();
  const SqlRows found = objects.Context().connection->QueryRows(
      QStringLiteral("SELECT 1 FROM %1.sqlite_schema WHERE type = 'index' AND name = ? COLLATE NOCASE%2")
          .arg(schema.isEmpty() ? QStringLiteral("temp") : schema,
               table ? QStringLiteral(" AND tbl_name = ? COLLATE NOCASE") : QString()),
      table ? QVariantList{indexName, tableName} : QVariantList{indexName});
  if (found.rows.isEmpty())
    throw SqlError(QStringLiteral("Cannot drop the index '%1', because it does not exist or you do not have "
                                  "permission.").arg(table ? QStringLiteral("dbo.") + tableName + u'.' + indexName
                                                           : indexName));
  nodes.erase(nodes.begin() + qsizetype(name), nodes.end());
  nodes.push_back(SqlNode::Rewritten((schema.isEmpty() ? QString() : schema + u'.') + SqlText::Quoted(indexName)));
}

// Transactions SQL Server counts (@@TRANCOUNT) inside one already running
// on a connection, kept as savepoints; none while the connection is outside
// a transaction.
std::map<const Connection*, int>& NestedTransactions() {
  static std::map<const Connection*, int> nested;
  return nested;
}

// BEGIN TRAN[SACTION], COMMIT and ROLLBACK [TRAN[SACTION]|WORK] [name]: the
// connection's transaction, as the data layer starts it (the files it has
// attached, master among them, are locked only when written). A BEGIN inside
// a running transaction nests: its COMMIT only ends the nesting, and
// ROLLBACK undoes everything, as on SQL Server.
QString TransactionStatement(const SqlNodes& nodes, size_t head, const SqlObjects& objects) {
  size_t at = NextSignificant(nodes, head + 1);
  const bool begin = nodes[head].IsWord(u"BEGIN");
  const bool tran = at < nodes.size() && (nodes[at].IsWord(u"TRAN") || nodes[at].IsWord(u"TRANSACTION"));
  if (begin && !tran) Unsupported(RenderSql(nodes, head));
  if (tran || (!begin && at < nodes.size() && nodes[at].IsWord(u"WORK"))) at = NextSignificant(nodes, at + 1);
  if (at < nodes.size() && IsNameNode(nodes[at])) at = NextSignificant(nodes, at + 1);
  if (at < nodes.size()) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(RenderSql(nodes[at])));
  const Connection* connection = objects.Context().connection;
  std::map<const Connection*, int>& all = NestedTransactions();
  const QString word = nodes[head].token.text.toString().toUpper();
  if (!connection->InTransaction()) {
    all.erase(connection);
    if (begin) return QStringLiteral("BEGIN");
    throw SqlError(QStringLiteral("The %1 TRANSACTION request has no corresponding BEGIN TRANSACTION.").arg(word));
  }
  int& nested = all[connection];
  if (begin) {
    ++nested;
    return QStringLiteral("SAVEPOINT zem_transaction");
  }
  if (word == u"COMMIT" && nested > 0) {
    --nested;
    return QStringLiteral("RELEASE zem_transaction");
  }
  all.erase(connection);
  return word;
}

// SQLite takes the schema on the index's name and looks for the table there
// only; without one it would take the first file that has the table.
// [UNIQUE] [CLUSTERED|NONCLUSTERED] INDEX: SQLite keeps no table in an
// index's order, so either is a plain index.
void RewriteCreateIndex(SqlNodes& nodes, size_t create, const SqlObjects& objects) {
  size_t indexWord = NextSignificant(nodes, create + 1);
  if (indexWord < nodes.size() && nodes[indexWord].IsWord(u"UNIQUE")) indexWord = NextSignificant(nodes, indexWord + 1);
  if (indexWord < nodes.size() && (nodes[indexWord].IsWord(u"CLUSTERED") || nodes[indexWord].IsWord(u"NONCLUSTERED"))) {
    nodes[indexWord] = SqlNode::Rewritten(QString());
    indexWord = NextSignificant(nodes, indexWord + 1);
  }
  if (indexWord >= nodes.size() || !nodes[indexWord].IsWord(u"INDEX")) Unsupported(RenderSql(nodes, create));
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

// DELETE T WHERE ... is DELETE FROM T WHERE ...; a second FROM (a join) is
// SQL Server's own, bound as UPDATE binds it. DELETE TOP (n) T without one
// chooses among T's own rows, as DELETE TOP (n) T FROM T.
void RewriteDelete(SqlNodes& nodes, size_t deleteWord, const SqlObjects& objects) {
  size_t table = NextSignificant(nodes, deleteWord + 1);
  SqlNodes limit;
  if (table < nodes.size() && nodes[table].IsWord(u"TOP")) {
    limit = TakeTop(nodes, table, nodes.size());
    table = NextSignificant(nodes, table);
  }
  if (table < nodes.size() && nodes[table].IsWord(u"FROM")) {
    table = NextSignificant(nodes, table + 1);
  } else {
    const SqlNode from{SqlNode::Kind::Token, {SqlTokenKind::Word, u"FROM"}, {}, {}};
    const SqlNode space{SqlNode::Kind::Token, {SqlTokenKind::Whitespace, u" "}, {}, {}};
    nodes.insert(nodes.begin() + qsizetype(table), {from, space});
    table += 2;
  }
  if (table >= nodes.size()) throw SqlError(QStringLiteral("Incorrect syntax near 'DELETE'."));
  const SqlChain chain = ReadChain(nodes, table);
  size_t after = NextSignificant(nodes, chain.end);
  if (!limit.empty() && !(after < nodes.size() && nodes[after].IsWord(u"FROM"))) {
    const SqlNode space{SqlNode::Kind::Token, {SqlTokenKind::Whitespace, u" "}, {}, {}};
    SqlNodes own{space, SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Word, u"FROM"}, {}, {}}, space};
    own.insert(own.end(), nodes.begin() + qsizetype(chain.begin), nodes.begin() + qsizetype(chain.end));
    nodes.insert(nodes.begin() + qsizetype(chain.end), own.begin(), own.end());
    after = chain.end + 1;
  }
  if (after < nodes.size() && nodes[after].IsWord(u"FROM")) PlaceDeleteTarget(nodes, table, after, objects, limit);
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
  bool reusable = false;
  if (!context_.cache) return map(statement, reusable);
  MappingCache& cache = *context_.cache;
  cache.Validate(context_.dateFormat);
  const QString text = statement.toString();
  if (const QString* kept = cache.Mapped(text)) return *kept;
  QString mapped = map(statement, reusable);
  if (reusable) cache.KeepMapped(text, mapped);
  return mapped;
}

QString SqlMapper::map(QStringView statement, bool& reusable) const {
  std::vector<SqlToken> tokens = TokenizeSql(statement);
  // SQLite ends a [name] at its first "]": a name holding one ("]]" as
  // written) reaches it between double quotes.
  std::deque<QString> requoted;
  for (SqlToken& token : tokens) {
    if (token.kind == SqlTokenKind::Comment) {
      token = {SqlTokenKind::Whitespace, u" "};
    } else if (token.Is(SqlTokenKind::QuotedName) && token.text.startsWith(u'[') && token.text.contains(u"]]")) {
      requoted.push_back(SqlText::Quoted(token.Value()));
      token.text = requoted.back();
    }
  }
  SqlNodes nodes = BuildSqlTree(tokens);
  const size_t last = PreviousSignificant(nodes, nodes.size());
  if (last != size_t(-1) && nodes[last].Is(SqlTokenKind::Semicolon)) nodes.erase(nodes.begin() + qsizetype(last));
  for (const SqlNode& node : nodes)
    if (node.Is(SqlTokenKind::Semicolon))
      throw SqlError(QStringLiteral("Several statements in one text are not supported by the embedded server."));
  const size_t first = NextSignificant(nodes, 0);
  if (first == nodes.size()) throw SqlError(QStringLiteral("The statement is empty."));

  SqlObjects objects(context_);
  CollectTables(nodes, objects);
  const SqlNode& head = nodes[first];
  const size_t second = NextSignificant(nodes, first + 1);
  const bool hasSecond = second < nodes.size();
  auto secondWord = [&](QStringView word) { return hasSecond && nodes[second].IsWord(word); };
  if (head.IsWord(u"INSERT") || head.IsWord(u"UPDATE")) {
    if (head.IsWord(u"UPDATE")) PlaceUpdateTarget(nodes, first, objects);
    RewriteAssignments(nodes, first, objects);
    RewriteExpressions(nodes, objects);
    reusable = objects.Reusable();
  } else if (head.IsGroup() || head.IsWord(u"SELECT")) {
    RewriteExpressions(nodes, objects);
    reusable = objects.Reusable();
  } else if (head.IsWord(u"DELETE")) {
    RewriteDelete(nodes, first, objects);
    reusable = objects.Reusable();
  } else if (head.IsWord(u"CREATE") && secondWord(u"TABLE")) {
    RewriteCreateTable(nodes, second, objects);
  } else if (head.IsWord(u"CREATE") && (secondWord(u"INDEX") || secondWord(u"UNIQUE") ||
                                        secondWord(u"CLUSTERED") || secondWord(u"NONCLUSTERED"))) {
    RewriteCreateIndex(nodes, first, objects);
  } else if (head.IsWord(u"DROP") && secondWord(u"TABLE")) {
    RewriteDropTable(nodes, second, objects);
  } else if (head.IsWord(u"DROP") && secondWord(u"INDEX")) {
    RewriteDropIndex(nodes, second, objects);
  } else if (head.IsWord(u"BEGIN") || head.IsWord(u"COMMIT") || head.IsWord(u"ROLLBACK")) {
    return TransactionStatement(nodes, first, objects);
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
