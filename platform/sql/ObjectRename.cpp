#include "platform/sql/ObjectRename.h"

#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sql/Sqlite.h"

namespace {

QString QuoteName(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

[[noreturn]] void NoSuchObject(const QString& type) {
  throw SqlError(QStringLiteral("Either the parameter @objname is ambiguous or the claimed @objtype (%1) is wrong.")
                     .arg(type));
}

QString SchemaSql(sqlite3* connection, const QString& type, const QString& name, const QString& table) {
  const SqlRows rows = QuerySql(connection,
                                QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = ? AND name = ? COLLATE NOCASE "
                                               "AND tbl_name = ? COLLATE NOCASE"),
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
        result += QuoteName(newName);
        done = true;
        continue;
      }
    }
    if (!done && token.IsWord(after)) pending = true;
    result += token.text;
  }
  return done ? result : QString();
}

void RenameIndex(sqlite3* connection, const QString& table, const QString& index, const QString& newName) {
  const QString sql = SchemaSql(connection, QStringLiteral("index"), index, table);
  if (sql.isEmpty()) NoSuchObject(QStringLiteral("INDEX"));
  ExecuteSql(connection, QStringLiteral("SAVEPOINT rename_index"));
  try {
    ExecuteSql(connection, QStringLiteral("DROP INDEX %1").arg(QuoteName(index)));
    ExecuteSql(connection, ReplaceNameAfter(sql, u"INDEX", index, newName));
    ExecuteSql(connection, QStringLiteral("RELEASE rename_index"));
  } catch (...) {
    ExecuteScript(connection, QStringLiteral("ROLLBACK TO rename_index; RELEASE rename_index;"));
    throw;
  }
}

// The constraint's name lives only in the table's CREATE text; changing it
// changes nothing stored, so the text is rewritten in place.
void RenamePrimaryKey(sqlite3* connection, const QString& table, const QString& constraint, const QString& newName) {
  const QString sql = SchemaSql(connection, QStringLiteral("table"), table, table);
  const QString renamed = sql.isEmpty() ? QString() : ReplaceNameAfter(sql, u"CONSTRAINT", constraint, newName);
  if (renamed.isEmpty()) NoSuchObject(QStringLiteral("INDEX"));
  const int version = QuerySql(connection, QStringLiteral("PRAGMA schema_version")).rows[0][0].toInt();
  ExecuteScript(connection, QStringLiteral("BEGIN IMMEDIATE; PRAGMA writable_schema = ON;"));
  try {
    ExecuteSql(connection, QStringLiteral("UPDATE sqlite_schema SET sql = ? WHERE type = 'table' AND name = ?"),
               {renamed, table});
    ExecuteScript(connection, QStringLiteral("PRAGMA schema_version = %1; PRAGMA writable_schema = OFF; COMMIT;")
                                  .arg(version + 1));
  } catch (...) {
    ExecuteScript(connection, QStringLiteral("ROLLBACK; PRAGMA writable_schema = OFF;"));
    throw;
  }
}

}  // namespace

void RenameObject(sqlite3* connection, const QString& object, const QString& newName, const QString& type) {
  const qsizetype dot = object.indexOf(u'.');
  if (dot < 0) {
    if (SchemaSql(connection, QStringLiteral("table"), object, object).isEmpty()) NoSuchObject(QStringLiteral("OBJECT"));
    ExecuteSql(connection, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(QuoteName(object), QuoteName(newName)));
    return;
  }
  const QString table = object.left(dot);
  const QString part = object.mid(dot + 1);
  if (type.compare(u"COLUMN", Qt::CaseInsensitive) == 0) {
    ExecuteSql(connection, QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                               .arg(QuoteName(table), QuoteName(part), QuoteName(newName)));
  } else if (!SchemaSql(connection, QStringLiteral("index"), part, table).isEmpty()) {
    RenameIndex(connection, table, part, newName);
  } else {
    RenamePrimaryKey(connection, table, part, newName);
  }
}
