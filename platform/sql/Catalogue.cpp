#include "platform/sql/Catalogue.h"

#include "platform/sql/Collation.h"
#include "platform/sql/ProcessIdentity.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sql/SqlTypes.h"
#include "platform/sql/SqlValues.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

namespace {

void Xtype(sqlite3_context* context, int, sqlite3_value** values) {
  sqlite3_result_int(context, SqlType::Parse(TextOf(values[0])).Xtype());
}

void TypeLength(sqlite3_context* context, int, sqlite3_value** values) {
  sqlite3_result_int(context, SqlType::Parse(TextOf(values[0])).StorageLength());
}

void DataType(sqlite3_context* context, int, sqlite3_value** values) {
  ResultText(context, SqlType::Parse(TextOf(values[0])).DataTypeName());
}

void CharacterLength(sqlite3_context* context, int, sqlite3_value** values) {
  const std::optional<int> length = SqlType::Parse(TextOf(values[0])).CharacterLength();
  if (!length) return sqlite3_result_null(context);
  sqlite3_result_int(context, *length);
}

// zem_column_collation(schema, table, column): the collation a text column
// was declared with; NULL for other columns.
void ColumnCollation(sqlite3_context* context, int, sqlite3_value** values) {
  const QByteArray schema = TextOf(values[0]).toUtf8();
  const QByteArray table = TextOf(values[1]).toUtf8();
  const QByteArray column = TextOf(values[2]).toUtf8();
  const char* collation = nullptr;
  if (sqlite3_table_column_metadata(sqlite3_context_db_handle(context), schema.constData(), table.constData(),
                                    column.constData(), nullptr, &collation, nullptr, nullptr,
                                    nullptr) != SQLITE_OK ||
      !collation || QByteArray(collation).compare("BINARY", Qt::CaseInsensitive) == 0)
    return sqlite3_result_null(context);
  // As SQL Server spells it, whatever spelling made the column.
  const QString declared = QString::fromUtf8(collation);
  const QString canonical = Collation::CanonicalName(declared);
  ResultText(context, canonical.isEmpty() ? declared : canonical);
}

// The name of the primary key constraint in a CREATE TABLE text.
void PrimaryKeyName(sqlite3_context* context, int, sqlite3_value** values) {
  const QString definition = TextOf(values[0]);
  const std::vector<SqlToken> all = TokenizeSql(definition);
  std::vector<SqlToken> tokens;
  for (const SqlToken& token : all)
    if (token.IsSignificant()) tokens.push_back(token);
  for (size_t i = 0; i + 2 < tokens.size(); ++i)
    if (tokens[i].IsWord(u"CONSTRAINT") && tokens[i + 2].IsWord(u"PRIMARY"))
      return ResultText(context, tokens[i + 1].Value());
  ResultText(context, QStringLiteral("PK_") + TextOf(values[1]));
}

void ProcessAlive(sqlite3_context* context, int, sqlite3_value** values) {
  const ProcessIdentity process{sqlite3_value_int64(values[0]), TextOf(values[1])};
  sqlite3_result_int(context, process.IsAlive() ? 1 : 0);
}

void RegisterCatalogueFunctions(sqlite3* connection) {
  struct Row {
    const char* name;
    int arguments;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
  };
  constexpr Row kRows[] = {
      {"zem_xtype", 1, Xtype, true},
      {"zem_type_length", 1, TypeLength, true},
      {"zem_data_type", 1, DataType, true},
      {"zem_character_length", 1, CharacterLength, true},
      {"zem_column_collation", 3, ColumnCollation, false},
      {"zem_primary_key_name", 2, PrimaryKeyName, true},
      {"zem_process_alive", 2, ProcessAlive, false},
  };
  for (const Row& row : kRows)
    if (sqlite3_create_function_v2(connection, row.name, row.arguments,
                                   SQLITE_UTF8 | (row.deterministic ? SQLITE_DETERMINISTIC : 0), nullptr,
                                   row.function, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw SqlError(QString::fromUtf8(sqlite3_errmsg(connection)));
}

// The connection's own database's views are the plain names; another's
// are named after its schema.
QString ViewName(const QString& schema, const QString& view) {
  return schema == u"main" ? view : SqlText::Quoted(schema + u'.' + view);
}

QString CatalogueScript(const DatabaseLocation& location, const QString& schema) {
  const QString name = QStringLiteral("COLLATE ") + SqlText::Quoted(location.collationName);
  const QString tables = QStringLiteral("FROM %1.sqlite_schema m ").arg(SqlText::Quoted(schema));
  const QString inSchema = QuoteSqlString(schema);
  const auto view = [&](const char* view) { return ViewName(schema, QString::fromLatin1(view)); };
  // SQLite's own objects and the triggers that fill IDENTITY columns.
  const QString ownObjects = QStringLiteral(" AND m.name NOT GLOB 'sqlite_*' AND m.name NOT GLOB 'zem_identity_*'");
  const QString indexNumber = QStringLiteral("CASE WHEN i.origin = 'pk' THEN 1 ELSE i.seq + 2 END");
  QString script;
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %4 AS "
      "SELECT m.name %1 AS name, m.rowid AS id, "
      "CASE m.type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS xtype, "
      "CASE m.type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS type, 1 AS uid "
      "%2WHERE m.type IN ('table', 'view', 'trigger')%3;")
                .arg(name, tables, ownObjects, view("sysobjects"));
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %4 AS "
      "SELECT m.rowid AS id, c.cid + 1 AS colid, c.name %1 AS name, zem_xtype(c.type) AS xtype, "
      "zem_type_length(c.type) AS length, CASE WHEN c.\"notnull\" OR c.pk > 0 THEN 0 ELSE 1 END AS isnullable, "
      "zem_column_collation(%5, m.name, c.name) AS collation, "
      "CASE WHEN upper(c.type) GLOB '* IDENTITY*' THEN 1 ELSE 0 END AS colstat "
      "%2CROSS JOIN pragma_table_info(m.name, %5) c WHERE m.type IN ('table', 'view')%3;")
                .arg(name, tables, ownObjects, view("syscolumns"), inSchema);
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %5 AS "
      "SELECT m.rowid AS id, %4 AS indid, "
      "(CASE WHEN i.origin = 'pk' THEN zem_primary_key_name(m.sql, m.name) ELSE i.name END) %1 AS name "
      "%2CROSS JOIN pragma_index_list(m.name, %6) i WHERE m.type = 'table'%3;")
                .arg(name, tables, ownObjects, indexNumber, view("sysindexes"), inSchema);
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %4 AS "
      "SELECT m.rowid AS id, %3 AS indid, k.cid + 1 AS colid, k.seqno + 1 AS keyno "
      "%1CROSS JOIN pragma_index_list(m.name, %5) i CROSS JOIN pragma_index_info(i.name, %5) k "
      "WHERE m.type = 'table'%2;")
                .arg(tables, ownObjects, indexNumber, view("sysindexkeys"), inSchema);
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %5 AS "
      "SELECT %4 AS TABLE_CATALOG, 'dbo' AS TABLE_SCHEMA, m.name %1 AS TABLE_NAME, c.name %1 AS COLUMN_NAME, "
      "c.cid + 1 AS ORDINAL_POSITION, c.dflt_value AS COLUMN_DEFAULT, "
      "CASE WHEN c.\"notnull\" OR c.pk > 0 THEN 'NO' ELSE 'YES' END AS IS_NULLABLE, "
      "zem_data_type(c.type) AS DATA_TYPE, zem_character_length(c.type) AS CHARACTER_MAXIMUM_LENGTH, "
      "zem_column_collation(%6, m.name, c.name) AS COLLATION_NAME "
      "%2CROSS JOIN pragma_table_info(m.name, %6) c WHERE m.type IN ('table', 'view')%3 "
      "ORDER BY m.name, c.cid;")
                .arg(name, tables, ownObjects, QuoteSqlString(location.databaseName),
                     view("information_schema_columns"), inSchema);
  script += QStringLiteral(
      "CREATE TEMP VIEW IF NOT EXISTS %3 AS "
      "SELECT %2 AS TABLE_CATALOG, 'dbo' AS TABLE_SCHEMA, m.name %1 AS TABLE_NAME, "
      "CASE m.type WHEN 'view' THEN 'VIEW' ELSE 'BASE TABLE' END AS TABLE_TYPE "
      "%4WHERE m.type IN ('table', 'view')%5;")
                .arg(name, QuoteSqlString(location.databaseName), view("information_schema_tables"), tables, ownObjects);
  return script;
}

}  // namespace

void InstallCatalogue(Connection& connection, const DatabaseLocation& location) {
  RegisterCatalogueFunctions(connection.Handle());
  connection.Execute(CatalogueScript(location, QStringLiteral("main")));
}

QString AttachedCatalogueView(Connection& connection, const QString& schema, const QString& file,
                              const QString& view) {
  connection.Execute(CatalogueScript(DatabaseLocation::OfFile(file), schema));
  return ViewName(schema, view);
}
