#include "platform/sql/SqlMapper.h"

#include "platform/sql/ColumnConversion.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sql/SqlTypes.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <QUuid>

namespace {

// Names and literals only, for statements without expressions (DROP,
// CREATE INDEX) and for column definitions.
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

// What a column definition declares besides its type.
struct ColumnFacts {
  QString name;
  bool primaryKey = false;
  bool identity = false;
};

// IDENTITY [(1, 1)] moves next to the type, where SQLite keeps it in the
// declared type ("INTEGER IDENTITY(1,1)"); the table numbers the rows
// (IdentityTrigger).
bool TakeIdentity(SqlNodes& column) {
  for (size_t i = 0; i < column.size(); ++i) {
    if (!column[i].IsWord(u"IDENTITY")) continue;
    size_t end = i + 1;
    const size_t group = NextSignificant(column, i + 1);
    if (group < column.size() && column[group].IsGroup()) {
      const QString numbers = RenderSql(column[group].children).simplified().remove(u' ');
      if (numbers != u"1,1") Unsupported(QStringLiteral("IDENTITY(") + numbers + u')');
      end = group + 1;
    }
    column.erase(column.begin() + qsizetype(i), column.begin() + qsizetype(end));
    return true;
  }
  return false;
}

// A column definition: text columns take the database's collation, as SQL
// Server gives it to columns declared without one; VARCHAR(MAX) is plain
// VARCHAR to SQLite; the default of a date column is a date.
ColumnFacts RewriteColumn(SqlNodes& column, const SqlObjects& objects) {
  ColumnFacts facts;
  bool collated = false;
  facts.identity = TakeIdentity(column);
  for (const SqlNode& node : column) {
    if (node.IsWord(u"PRIMARY")) facts.primaryKey = true;
    if (node.IsWord(u"COLLATE")) collated = true;
  }
  const size_t name = NextSignificant(column, 0);
  const size_t type = NextSignificant(column, name + 1);
  facts.name = column[name].token.Value();
  if (type >= column.size() || !column[type].Is(SqlTokenKind::Word) || IsKeyword(column[type]))
    throw SqlError(QStringLiteral("The definition for column '%1' must include a data type.").arg(facts.name));
  const size_t size = NextSignificant(column, type + 1);
  const bool sized = size < column.size() && column[size].IsGroup();
  const SqlType declared = SqlType::Parse(column[type].token.text + (sized ? RenderSql(column[size]) : QString()));
  size_t typeEnd = sized ? size + 1 : type + 1;
  if (sized && declared.length == SqlType::kMax) {
    column.erase(column.begin() + qsizetype(type) + 1, column.begin() + qsizetype(size) + 1);
    typeEnd = type + 1;
  }
  if (facts.identity) {
    if (!declared.IsInteger()) Unsupported(declared.name + QStringLiteral(" IDENTITY"));
    column.insert(column.begin() + qsizetype(typeEnd), SqlNode::Rewritten(QStringLiteral(" IDENTITY(1,1)")));
  } else if (declared.IsText() && !collated) {
    column.insert(column.begin() + qsizetype(typeEnd),
                  SqlNode::Rewritten(QStringLiteral(" COLLATE ") + SqlText::Quoted(objects.Context().collationName)));
  }
  for (size_t i = type + 1; declared.IsDate() && i < column.size(); ++i) {
    const size_t value = NextSignificant(column, i + 1);
    if (!column[i].IsWord(u"DEFAULT") || value >= column.size() || !column[value].Is(SqlTokenKind::String)) continue;
    const ColumnValue date =
        ToColumnType(column[value].token.Value(), declared, DateOrderOf(objects.Context().dateFormat));
    if (!date.error.isEmpty()) throw SqlError(date.error);
    column[value] = SqlNode::Rewritten(SqlLiteral(date.value));
  }
  SqlNodes rest(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  RewriteNames(rest, objects);
  column.erase(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  column.insert(column.end(), rest.begin(), rest.end());
  return facts;
}

// Fills an IDENTITY column of a new row with the row's number: SQLite gives
// a rowid one past the greatest, as IDENTITY(1,1) counts. The name is
// unique, so a renamed table's trigger never stands in a new one's way.
QString IdentityTrigger(const QString& schema, const QString& table, const QString& column) {
  const QString name = QStringLiteral("zem_identity_") + QUuid::createUuid().toString(QUuid::Id128);
  const QString quoted = SqlText::Quoted(column);
  return QStringLiteral("; CREATE TRIGGER %1%2 AFTER INSERT ON %3 FOR EACH ROW WHEN NEW.%4 IS NULL "
                        "BEGIN UPDATE %3 SET %4 = NEW.rowid WHERE rowid = NEW.rowid; END")
      .arg(schema.isEmpty() ? QString() : schema + u'.', name, table, quoted);
}

// A table that keeps SQLite's row numbers lets its key columns hold NULL
// unless they say NOT NULL; SQL Server's keys never do.
void RefuseNullKeys(std::vector<SqlNodes>& definitions) {
  QStringList keys;
  for (const SqlNodes& definition : definitions) {
    const size_t first = NextSignificant(definition, 0);
    for (size_t i = first; i < definition.size(); ++i) {
      if (!definition[i].IsWord(u"PRIMARY")) continue;
      size_t group = i + 1;
      while (group < definition.size() && !definition[group].IsGroup()) ++group;
      if (group < definition.size()) {
        for (const SqlNodes& column : SplitAtCommas(definition[group].children))
          if (const size_t name = NextSignificant(column, 0); name < column.size()) keys << column[name].token.Value();
      } else {
        keys << definition[first].token.Value();
      }
    }
  }
  for (SqlNodes& definition : definitions) {
    const size_t first = NextSignificant(definition, 0);
    if (first < definition.size() && keys.contains(definition[first].token.Value(), Qt::CaseInsensitive))
      definition.push_back(SqlNode::Rewritten(QStringLiteral(" NOT NULL")));
  }
}

// A constraint's name is an object of the database: a second one is refused.
void CheckConstraintNames(const std::vector<SqlNodes>& definitions, const SqlObjects& objects) {
  QStringList names;
  for (const SqlNodes& definition : definitions)
    for (size_t i = 0; i < definition.size(); ++i) {
      const size_t name = NextSignificant(definition, i + 1);
      if (!definition[i].IsWord(u"CONSTRAINT") || name >= definition.size()) continue;
      const QString constraint = definition[name].token.Value();
      if (names.contains(constraint, Qt::CaseInsensitive) ||
          !objects.Context()
               .connection
               ->QueryRows(QStringLiteral("SELECT 1 FROM sysindexes WHERE name = ?1 "
                                          "UNION ALL SELECT 1 FROM sysobjects WHERE name = ?1"),
                           {constraint})
               .rows.isEmpty())
        throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(constraint));
      names << constraint;
    }
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

// DROP TABLE [IF EXISTS] T. Without IF EXISTS a missing table is refused
// in SQL Server's words.
void RewriteDropTable(SqlNodes& nodes, size_t kind, const SqlObjects& objects) {
  size_t name = NextSignificant(nodes, kind + 1);
  const bool ifExists = name < nodes.size() && nodes[name].IsWord(u"IF");
  if (ifExists) name = NextSignificant(nodes, NextSignificant(nodes, name + 1) + 1);
  if (!ifExists && name < nodes.size() && IsNameNode(nodes[name])) {
    const SqlChain chain = ReadChain(nodes, name);
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

// BEGIN TRAN[SACTION], COMMIT and ROLLBACK [TRAN[SACTION]|WORK] [name]: the
// connection's transaction, as the data layer starts it (the files it has
// attached, master among them, are locked only when written).
QString TransactionStatement(const SqlNodes& nodes, size_t head, const SqlObjects& objects) {
  size_t at = NextSignificant(nodes, head + 1);
  const bool begin = nodes[head].IsWord(u"BEGIN");
  const bool tran = at < nodes.size() && (nodes[at].IsWord(u"TRAN") || nodes[at].IsWord(u"TRANSACTION"));
  if (begin && !tran) Unsupported(RenderSql(nodes, head));
  if (tran || (!begin && at < nodes.size() && nodes[at].IsWord(u"WORK"))) at = NextSignificant(nodes, at + 1);
  if (at < nodes.size() && IsNameNode(nodes[at])) at = NextSignificant(nodes, at + 1);
  if (at < nodes.size()) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(RenderSql(nodes[at])));
  if (begin) return QStringLiteral("BEGIN");
  const QString word = nodes[head].token.text.toUpper();
  if (!objects.Context().connection->InTransaction())
    throw SqlError(QStringLiteral("The %1 TRANSACTION request has no corresponding BEGIN TRANSACTION.").arg(word));
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

// A table with a primary key is kept in key order, as SQL Server's
// clustered key does, and its key columns refuse NULL; one with an IDENTITY
// column keeps SQLite's row numbers, which fill it.
void RewriteCreateTable(SqlNodes& nodes, size_t table, const SqlObjects& objects) {
  const size_t name = NextSignificant(nodes, table + 1);
  const std::pair<QString, QString> qualified =
      name < nodes.size() && IsNameNode(nodes[name]) ? QualifiedTable(ReadChain(nodes, name), objects)
                                                     : std::pair<QString, QString>();
  RewriteTableName(nodes, name, objects);
  const size_t group = NextSignificant(nodes, name + 1);
  if (group >= nodes.size() || !nodes[group].IsGroup())
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(RenderSql(nodes, name, name + 1)));
  if (NextSignificant(nodes, group + 1) < nodes.size()) Unsupported(RenderSql(nodes, group + 1));
  std::vector<SqlNodes> definitions = SplitAtCommas(nodes[group].children);
  // SQL Server lets the list end in a comma.
  if (definitions.size() > 1 && NextSignificant(definitions.back(), 0) == definitions.back().size())
    definitions.pop_back();
  CheckConstraintNames(definitions, objects);
  bool primaryKey = false;
  QString identity;
  for (SqlNodes& definition : definitions) {
    const size_t first = NextSignificant(definition, 0);
    if (first == definition.size()) throw SqlError(QStringLiteral("Incorrect syntax near ','."));
    const bool constraint = definition[first].IsWord(u"CONSTRAINT") || definition[first].IsWord(u"PRIMARY") ||
                            definition[first].IsWord(u"UNIQUE") || definition[first].IsWord(u"CHECK") ||
                            definition[first].IsWord(u"FOREIGN");
    // SQLite keeps no table in an index's order: CLUSTERED says nothing to it.
    for (SqlNode& node : definition)
      if (node.IsWord(u"CLUSTERED") || node.IsWord(u"NONCLUSTERED")) node = SqlNode::Rewritten(QString());
    if (constraint) {
      for (const SqlNode& node : definition) primaryKey = primaryKey || node.IsWord(u"PRIMARY");
      continue;
    }
    const ColumnFacts column = RewriteColumn(definition, objects);
    primaryKey = primaryKey || column.primaryKey;
    if (column.identity && !identity.isEmpty())
      throw SqlError(QStringLiteral("Multiple identity columns specified for table '%1'. Only one identity column "
                                    "per table is allowed.").arg(qualified.second));
    if (column.identity) identity = column.name;
  }
  if (!identity.isEmpty() && primaryKey) RefuseNullKeys(definitions);
  nodes[group].children = JoinWithCommas(definitions);
  if (!identity.isEmpty())
    nodes.push_back(SqlNode::Rewritten(IdentityTrigger(qualified.first, qualified.second, identity)));
  else if (primaryKey)
    nodes.insert(nodes.begin() + qsizetype(group) + 1, SqlNode::Rewritten(QStringLiteral(" WITHOUT ROWID")));
}

void RewriteAlterTable(SqlNodes& nodes, size_t table, const SqlObjects& objects) {
  const size_t name = NextSignificant(nodes, table + 1);
  RewriteTableName(nodes, name, objects);
  const size_t action = NextSignificant(nodes, name + 1);
  if (action < nodes.size() && nodes[action].IsWord(u"ADD")) {
    SqlNodes column(nodes.begin() + qsizetype(action) + 1, nodes.end());
    if (SplitAtCommas(column).size() > 1) Unsupported(QStringLiteral("ALTER TABLE ... ADD of several columns"));
    if (RewriteColumn(column, objects).identity) Unsupported(QStringLiteral("ALTER TABLE ... ADD ... IDENTITY"));
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

  SqlObjects objects(context_);
  CollectTables(nodes, objects);
  const SqlNode& head = nodes[first];
  const size_t second = NextSignificant(nodes, first + 1);
  const bool hasSecond = second < nodes.size();
  auto secondWord = [&](QStringView word) { return hasSecond && nodes[second].IsWord(word); };
  if (head.IsWord(u"INSERT") || head.IsWord(u"UPDATE")) {
    RewriteAssignments(nodes, first, objects);
    RewriteExpressions(nodes, objects);
  } else if (head.IsGroup() || head.IsWord(u"SELECT")) {
    RewriteExpressions(nodes, objects);
  } else if (head.IsWord(u"DELETE")) {
    RewriteDelete(nodes, first, objects);
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
