#include "platform/sql/ObjectRename.h"

#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"
#include "platform/engine/WriteTransaction.h"

using SqlText::Quoted;

namespace {

[[noreturn]] void NoSuchObject(const QString& type) {
  throw SqlError(QStringLiteral("Either the parameter @objname is ambiguous or the claimed @objtype (%1) is wrong.")
                     .arg(type));
}

QString SchemaSql(Connection& connection, const QString& type, const QString& name, const QString& table) {
  const SqlRows rows = connection.QueryRows(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = ? AND name = ? "
                                                           "COLLATE NOCASE AND tbl_name = ? COLLATE NOCASE"),
                                            {type, name, table});
  return rows.rows.isEmpty() ? QString() : rows.rows[0][0].toString();
}

// The text with the name that follows `after` (and is `name`) replaced.
QString ReplaceNameAfter(const QString& sql, QStringView after, const QString& name, const QString& newName) {
  const std::vector<SqlToken> tokens = TokenizeSql(sql);
  QString result;
  bool pending = false, done = false;
  for (const SqlToken& token : tokens) {
    if (!done && pending && token.IsSignificant()) {
      pending = false;
      if (token.Value().compare(name, Qt::CaseInsensitive) == 0) {
        result += Quoted(newName);
        done = true;
        continue;
      }
    }
    if (!done && token.IsWord(after)) pending = true;
    result += token.text;
  }
  return done ? result : QString();
}

void RenameIndex(Connection& connection, const QString& table, const QString& index, const QString& newName) {
  const QString sql = SchemaSql(connection, QStringLiteral("index"), index, table);
  if (sql.isEmpty()) NoSuchObject(QStringLiteral("INDEX"));
  WriteTransaction transaction(connection);
  connection.Execute(QStringLiteral("DROP INDEX main.") + Quoted(index));
  connection.Execute(ReplaceNameAfter(sql, u"INDEX", index, newName));
  transaction.Commit();
}

// The constraint's name lives only in the table's CREATE text; changing it
// changes nothing stored, so the text is rewritten in place.
void RenamePrimaryKey(Connection& connection, const QString& table, const QString& constraint, const QString& newName) {
  const QString sql = SchemaSql(connection, QStringLiteral("table"), table, table);
  const QString renamed = sql.isEmpty() ? QString() : ReplaceNameAfter(sql, u"CONSTRAINT", constraint, newName);
  if (renamed.isEmpty()) NoSuchObject(QStringLiteral("INDEX"));
  WriteTransaction transaction(connection);
  const int version = connection.QueryRows(QStringLiteral("PRAGMA schema_version")).rows[0][0].toInt();
  connection.Execute(QStringLiteral("PRAGMA writable_schema = ON"));
  try {
    connection.Execute(QStringLiteral("UPDATE sqlite_schema SET sql = ? WHERE type = 'table' AND name = ?"),
                       {renamed, table});
    connection.Execute(QStringLiteral("PRAGMA schema_version = %1").arg(version + 1));
  } catch (...) {
    connection.Execute(QStringLiteral("PRAGMA writable_schema = OFF"));
    throw;
  }
  connection.Execute(QStringLiteral("PRAGMA writable_schema = OFF"));
  transaction.Commit();
}

}  // namespace

void RenameObject(Connection& connection, const QString& object, const QString& newName, const QString& type) {
  const qsizetype dot = object.indexOf(u'.');
  if (dot < 0) {
    if (SchemaSql(connection, QStringLiteral("table"), object, object).isEmpty()) NoSuchObject(QStringLiteral("OBJECT"));
    connection.Execute(QStringLiteral("ALTER TABLE main.%1 RENAME TO %2").arg(Quoted(object), Quoted(newName)));
    return;
  }
  const QString table = object.left(dot);
  const QString part = object.mid(dot + 1);
  if (type.compare(u"COLUMN", Qt::CaseInsensitive) == 0) {
    connection.Execute(
        QStringLiteral("ALTER TABLE main.%1 RENAME COLUMN %2 TO %3").arg(Quoted(table), Quoted(part), Quoted(newName)));
  } else if (!SchemaSql(connection, QStringLiteral("index"), part, table).isEmpty()) {
    RenameIndex(connection, table, part, newName);
  } else {
    RenamePrimaryKey(connection, table, part, newName);
  }
}
