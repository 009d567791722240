#include "platform/engine/EngineDialect.h"

#include "platform/engine/AuditTriggerText.h"
#include "platform/sql/Collation.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/SqlText.h"

namespace {

// Both quote names alike, SQL Server under QUOTED_IDENTIFIER ON.
using SqlText::Quoted;

class SqliteDialect : public EngineDialect {
 public:
  QString OwnTable(const QString& tableName) const override { return QStringLiteral("main.") + Quoted(tableName); }
  QString Window(const QString& columns, const QString& from, const QString& tail, std::size_t rows) const override {
    return QStringLiteral("SELECT %1 FROM %2%3 LIMIT %4").arg(columns, from, tail, QString::number(rows));
  }
  QString RowAtPlace(const QString& columns, const QString& from, const QString& tail) const override {
    return QStringLiteral("SELECT %1 FROM %2%3 LIMIT 1 OFFSET ?").arg(columns, from, tail);
  }
  NullSafeTerm NullSafeEquals(const QString& expression) const override {
    return {expression + QStringLiteral(" IS ?"), 1};
  }
  NullSafeTerm Unchanged(const QString& expression) const override {
    return {expression + QStringLiteral(" IS ? COLLATE BINARY"), 1};
  }
  QString TextCollation() const override {
    return QStringLiteral(" COLLATE ") + Quoted(Collation::kDefaultName.toString());
  }
  bool SortsTextAsTheSystem() const override { return true; }
  QString RowId() const override { return QStringLiteral("rowid"); }
  QString LastInsertedId() const override { return QStringLiteral("SELECT last_insert_rowid()"); }
  SavepointTexts Savepoint(const QString& name) const override {
    return {QStringLiteral("SAVEPOINT ") + name, QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(name),
            QStringLiteral("RELEASE ") + name};
  }
  QString TableColumns() const override {
    return QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?, 'main')");
  }
  QString TableIndexes() const override {
    return QStringLiteral(
               "SELECT l.name, l.\"unique\", instr(m.sql, %1) > 0, x.name, x.desc FROM pragma_index_list(?1, 'main') l "
               "JOIN main.sqlite_master m ON m.name = l.name JOIN pragma_index_xinfo(l.name, 'main') x "
               "WHERE l.origin = 'c' AND x.key = 1 ORDER BY l.name, x.seqno")
        .arg(QuoteSqlString(QString::fromLatin1(kCarriedKeyMark)));
  }
  QString TableHasRowIds() const override {
    return QStringLiteral("SELECT 1 FROM pragma_table_list(?) WHERE schema = 'main' AND wr = 0");
  }
  bool LocksInSideFile() const override { return true; }
  QString AuditTriggerText(const AuditTrigger& trigger) const override { return SqliteAuditTrigger(trigger); }
};

// The driver's connection knows none of our collations; its files are
// reached by a server's name, not a file of ours.
class SqliteDriverDialect final : public SqliteDialect {
 public:
  QString TextCollation() const override { return QStringLiteral(" COLLATE NOCASE"); }
  bool SortsTextAsTheSystem() const override { return false; }
  bool LocksInSideFile() const override { return false; }
};

// "IS NOT DISTINCT FROM" only came with SQL Server 2022.
class SqlServerDialect final : public EngineDialect {
 public:
  QString OwnTable(const QString& tableName) const override { return Quoted(tableName); }
  QString Window(const QString& columns, const QString& from, const QString& tail, std::size_t rows) const override {
    return QStringLiteral("SELECT TOP %1 %2 FROM %3%4").arg(QString::number(rows), columns, from, tail);
  }
  QString RowAtPlace(const QString& columns, const QString& from, const QString& tail) const override {
    return QStringLiteral("SELECT %1 FROM %2%3 OFFSET ? ROWS FETCH NEXT 1 ROWS ONLY").arg(columns, from, tail);
  }
  NullSafeTerm NullSafeEquals(const QString& expression) const override {
    return {QStringLiteral("(%1 = ? OR (%1 IS NULL AND ? IS NULL))").arg(expression), 2};
  }
  NullSafeTerm Unchanged(const QString& expression) const override {
    return NullSafeEquals(expression + QStringLiteral(" COLLATE Latin1_General_BIN2"));
  }
  QString TextCollation() const override { return QString(); }
  // The installations' databases are created case and accent insensitive.
  bool SortsTextAsTheSystem() const override { return true; }
  QString RowId() const override { return QString(); }
  QString LastInsertedId() const override { return QStringLiteral("SELECT CAST(SCOPE_IDENTITY() AS BIGINT)"); }
  SavepointTexts Savepoint(const QString& name) const override {
    return {QStringLiteral("SAVE TRANSACTION ") + name, QStringLiteral("ROLLBACK TRANSACTION ") + name, QString()};
  }
  QString TableColumns() const override {
    return QStringLiteral(
        "SELECT c.name, TYPE_NAME(c.user_type_id) + CASE WHEN TYPE_NAME(c.user_type_id) IN ('varchar', 'char', "
        "'nvarchar', 'nchar', 'varbinary', 'binary') THEN '(' + CASE WHEN c.max_length = -1 THEN 'MAX' WHEN "
        "TYPE_NAME(c.user_type_id) LIKE 'n%' THEN CAST(c.max_length / 2 AS varchar(10)) ELSE CAST(c.max_length AS "
        "varchar(10)) END + ')' WHEN c.is_identity = 1 THEN ' IDENTITY' ELSE '' END, CASE WHEN c.is_nullable = 1 THEN "
        "0 ELSE 1 END, ISNULL(ic.key_ordinal, 0) FROM sys.columns c LEFT JOIN (sys.indexes i JOIN sys.index_columns "
        "ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id) ON i.object_id = c.object_id AND "
        "i.is_primary_key = 1 AND ic.column_id = c.column_id WHERE c.object_id = OBJECT_ID(?) ORDER BY c.column_id");
  }
  QString TableIndexes() const override {
    return QStringLiteral(
        "SELECT i.name, CAST(i.is_unique AS int), 0, c.name, CAST(ic.is_descending_key AS int) FROM sys.indexes i "
        "JOIN sys.index_columns ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id JOIN sys.columns c ON "
        "c.object_id = ic.object_id AND c.column_id = ic.column_id WHERE i.object_id = OBJECT_ID(?) AND "
        "i.is_primary_key = 0 AND i.type > 0 AND ic.is_included_column = 0 ORDER BY i.name, ic.key_ordinal");
  }
  QString TableHasRowIds() const override { return QString(); }
  bool LocksInSideFile() const override { return false; }
  QString AuditTriggerText(const AuditTrigger& trigger) const override { return SqlServerAuditTrigger(trigger); }
};

}  // namespace

const EngineDialect& EngineDialect::Sqlite() {
  static const SqliteDialect dialect;
  return dialect;
}

const EngineDialect& EngineDialect::SqliteDriver() {
  static const SqliteDriverDialect dialect;
  return dialect;
}

const EngineDialect& EngineDialect::SqlServer() {
  static const SqlServerDialect dialect;
  return dialect;
}
