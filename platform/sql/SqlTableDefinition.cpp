#include "platform/sql/ColumnConversion.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <QUuid>

namespace {

// What a column definition declares besides its type.
struct ColumnFacts {
  QString name;
  bool primaryKey = false;
  bool identity = false;
  QString identityNumbers = QStringLiteral("1,1");  // seed and increment
  bool nullable = false;  // declared NULL
};

// IDENTITY [(seed, increment)] moves next to the type, where SQLite keeps it
// in the declared type ("INTEGER IDENTITY(1,1)"); the table numbers the rows
// (IdentityTrigger). Gives the seed and increment, "1,1" when none are
// written; an empty text when the column has no IDENTITY.
QString TakeIdentity(SqlNodes& column) {
  for (size_t i = 0; i < column.size(); ++i) {
    if (!column[i].IsWord(u"IDENTITY")) continue;
    size_t end = i + 1;
    QString numbers = QStringLiteral("1,1");
    const size_t group = NextSignificant(column, i + 1);
    if (group < column.size() && column[group].IsGroup()) {
      numbers = RenderSql(column[group].children).simplified().remove(u' ');
      const QStringList parts = numbers.split(u',');
      bool seedRead = false, incrementRead = false;
      const qint64 increment = parts.value(1).toLongLong(&incrementRead);
      if (parts.size() != 2 || (parts[0].toLongLong(&seedRead), !seedRead) || !incrementRead || increment == 0)
        Unsupported(QStringLiteral("IDENTITY(") + numbers + u')');
      end = group + 1;
    }
    column.erase(column.begin() + qsizetype(i), column.begin() + qsizetype(end));
    return numbers;
  }
  return QString();
}

// A column definition: text columns take the database's collation, as SQL
// Server gives it to columns declared without one; VARCHAR(MAX) is plain
// VARCHAR to SQLite; a text default of a number or date column is stored
// as the number or date SQL Server makes of it.
ColumnFacts RewriteColumn(SqlNodes& column, const SqlObjects& objects) {
  ColumnFacts facts;
  bool collated = false;
  const QString identityNumbers = TakeIdentity(column);
  facts.identity = !identityNumbers.isEmpty();
  if (facts.identity) facts.identityNumbers = identityNumbers;
  for (size_t i = 0; i < column.size(); ++i) {
    if (column[i].IsWord(u"PRIMARY")) facts.primaryKey = true;
    if (column[i].IsWord(u"COLLATE")) collated = true;
    const size_t before = PreviousSignificant(column, i);
    if (column[i].IsWord(u"NULL") && !(before < column.size() && column[before].IsWord(u"NOT")))
      facts.nullable = true;
  }
  const size_t name = NextSignificant(column, 0);
  const size_t type = NextSignificant(column, name + 1);
  facts.name = column[name].token.Value();
  // NULL is a value to the expressions, no keyword: here it is no type either.
  if (type >= column.size() || !column[type].Is(SqlTokenKind::Word) || IsKeyword(column[type]) ||
      column[type].IsWord(u"NULL"))
    throw SqlError(QStringLiteral("The definition for column '%1' must include a data type.").arg(facts.name));
  const size_t size = NextSignificant(column, type + 1);
  const bool sized = size < column.size() && column[size].IsGroup();
  const SqlType declared = SqlType::Parse(column[type].token.text.toString() + (sized ? RenderSql(column[size]) : QString()));
  size_t typeEnd = sized ? size + 1 : type + 1;
  if (sized && declared.length == SqlType::kMax) {
    column.erase(column.begin() + qsizetype(type) + 1, column.begin() + qsizetype(size) + 1);
    typeEnd = type + 1;
  }
  if (facts.identity) {
    if (!declared.IsInteger()) Unsupported(declared.name + QStringLiteral(" IDENTITY"));
    // The column is filled once the row is in (IdentityTrigger): NOT NULL,
    // which SQL Server's identity columns always are, would refuse the row.
    for (size_t i = typeEnd; i < column.size(); ++i) {
      const size_t next = NextSignificant(column, i + 1);
      if (!column[i].IsWord(u"NOT") || next >= column.size() || !column[next].IsWord(u"NULL")) continue;
      column.erase(column.begin() + qsizetype(i), column.begin() + qsizetype(next) + 1);
      break;
    }
    column.insert(column.begin() + qsizetype(typeEnd),
                  SqlNode::Rewritten(QStringLiteral(" IDENTITY(") + facts.identityNumbers + u')'));
  } else if (declared.IsText() && !collated) {
    column.insert(column.begin() + qsizetype(typeEnd),
                  SqlNode::Rewritten(QStringLiteral(" COLLATE ") + SqlText::Quoted(objects.Context().collationName)));
  }
  const bool converted = declared.IsDate() || declared.IsInteger() || declared.IsDecimal();
  for (size_t i = type + 1; converted && i < column.size(); ++i) {
    const size_t value = NextSignificant(column, i + 1);
    if (!column[i].IsWord(u"DEFAULT") || value >= column.size() || !column[value].Is(SqlTokenKind::String)) continue;
    const ColumnValue stored =
        ToColumnType(column[value].token.Value(), declared, DateOrderOf(objects.Context().dateFormat));
    if (!stored.error.isEmpty()) throw SqlError(stored.error);
    column[value] = SqlNode::Rewritten(SqlLiteral(stored.value));
  }
  SqlNodes rest(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  RewriteNames(rest, objects);
  column.erase(column.begin() + qsizetype(std::min(type + 1, column.size())), column.end());
  column.insert(column.end(), rest.begin(), rest.end());
  return facts;
}

// Fills an IDENTITY column of a new row from the row's number: SQLite gives
// a rowid one past the greatest, so the n-th row gets seed + (n - 1) x
// increment, as IDENTITY(seed, increment) counts. The name is unique, so a
// renamed table's trigger never stands in a new one's way.
QString IdentityTrigger(const QString& schema, const QString& table, const QString& column, const QString& numbers) {
  const QString name = QStringLiteral("zem_identity_") + QUuid::createUuid().toString(QUuid::Id128);
  const QString quoted = SqlText::Quoted(column);
  const QStringList seedAndIncrement = numbers.split(u',');
  const QString value = numbers == u"1,1" ? QStringLiteral("NEW.rowid")
                                          : QStringLiteral("%1 + (NEW.rowid - 1) * %2")
                                                .arg(seedAndIncrement.value(0).toLongLong())
                                                .arg(seedAndIncrement.value(1).toLongLong());
  return QStringLiteral("; CREATE TRIGGER %1%2 AFTER INSERT ON %3 FOR EACH ROW WHEN NEW.%4 IS NULL "
                        "BEGIN UPDATE %3 SET %4 = %5 WHERE rowid = NEW.rowid; END")
      .arg(schema.isEmpty() ? QString() : schema + u'.', name, table, quoted, value);
}

// A table that keeps SQLite's row numbers lets its key columns hold NULL
// unless they say NOT NULL; SQL Server's keys never do. The IDENTITY column
// is left to the table, which fills it once the row is in. A key declared
// INTEGER alone would be the row number itself, which the IDENTITY column
// counts by: it is declared INT, which is the same type to both.
void RefuseNullKeys(std::vector<SqlNodes>& definitions, const QString& identity) {
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
    if (first >= definition.size()) continue;
    const QString name = definition[first].token.Value();
    if (!keys.contains(name, Qt::CaseInsensitive) || name.compare(identity, Qt::CaseInsensitive) == 0) continue;
    definition.push_back(SqlNode::Rewritten(QStringLiteral(" NOT NULL")));
    if (const size_t type = NextSignificant(definition, first + 1);
        type < definition.size() && definition[type].IsWord(u"INTEGER"))
      definition[type] = SqlNode::Rewritten(QStringLiteral("INT"));
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
    if (i > 0) joined.push_back(SqlNode{SqlNode::Kind::Token, {SqlTokenKind::Comma, u","}, {}, {}});
    joined.insert(joined.end(), parts[i].begin(), parts[i].end());
  }
  return joined;
}

}  // namespace

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
  QString identity, identityNumbers;
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
    if (column.identity && column.nullable)
      throw SqlError(QStringLiteral("Could not create IDENTITY attribute on nullable column '%1', table '%2'.")
                         .arg(column.name, qualified.second));
    if (column.identity) {
      identity = column.name;
      identityNumbers = column.identityNumbers;
    }
  }
  if (!identity.isEmpty() && primaryKey) RefuseNullKeys(definitions, identity);
  nodes[group].children = JoinWithCommas(definitions);
  if (!identity.isEmpty())
    nodes.push_back(SqlNode::Rewritten(IdentityTrigger(qualified.first, qualified.second, identity, identityNumbers)));
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
    // SQLite shows a new column's default in the rows there; SQL Server
    // leaves a nullable one NULL unless WITH VALUES asks for the default.
    bool withValues = false, defaulted = false, notNull = false;
    for (size_t i = 0; i < column.size(); ++i) {
      const size_t next = NextSignificant(column, i + 1);
      defaulted = defaulted || column[i].IsWord(u"DEFAULT");
      notNull = notNull || (column[i].IsWord(u"NOT") && next < column.size() && column[next].IsWord(u"NULL"));
      if (!column[i].IsWord(u"WITH") || next >= column.size() || !column[next].IsWord(u"VALUES")) continue;
      withValues = true;
      column.erase(column.begin() + qsizetype(i), column.begin() + qsizetype(next) + 1);
    }
    const ColumnFacts facts = RewriteColumn(column, objects);
    if (facts.identity) Unsupported(QStringLiteral("ALTER TABLE ... ADD ... IDENTITY"));
    nodes.erase(nodes.begin() + qsizetype(action) + 1, nodes.end());
    nodes.insert(nodes.end(), column.begin(), column.end());
    if (defaulted && !notNull && !withValues)
      nodes.push_back(SqlNode::Rewritten(QStringLiteral("; UPDATE %1 SET %2 = NULL")
                                             .arg(RenderSql(nodes[name]), SqlText::Quoted(facts.name))));
  } else if (action < nodes.size() && nodes[action].IsWord(u"DROP")) {
    RewriteNames(nodes, objects);
  } else {
    Unsupported(QStringLiteral("ALTER TABLE ") + RenderSql(nodes, action));
  }
}

