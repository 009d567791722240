#include "platform/engine/EngineDialect.h"

#include "platform/engine/AuditTriggerText.h"
#include "platform/sql/Collation.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/SqlText.h"

#include <QDateTime>

#include <optional>

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
  NullSafeTerm Unchanged(const QString& expression, ColumnKind) const override {
    return {expression + QStringLiteral(" IS ? COLLATE BINARY"), 1};
  }
  QString TextCollation() const override {
    return QStringLiteral(" COLLATE ") + Quoted(Collation::kDefaultName.toString());
  }
  bool SortsTextAsTheSystem() const override { return true; }
  // Numbers sort before any text, the empty one too, and bytes after text;
  // no affinity makes a number of ''. Compared bytewise, no collation is
  // called. Cheaper than typeof() on every row.
  QString HoldsNumberOrNull(const QString& expression) const override {
    return QStringLiteral("(%1 IS NULL OR %1 < '' COLLATE BINARY)").arg(expression);
  }
  QString HoldsText(const QString& expression) const override {
    return QStringLiteral("(%1 >= '' COLLATE BINARY AND %1 < x'')").arg(expression);
  }
  QString RowId(const QStringList& columnNames) const override { return SqlText::FreeRowIdName(columnNames); }
  bool KeepsValuesByAffinity() const override { return true; }
  QString TableWriteKeepsPartOnFailure() const override {
    return QStringLiteral(
        "SELECT 1 FROM main.sqlite_master WHERE (type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE) OR "
        "(type = 'table' AND name = ?1 COLLATE NOCASE AND sql LIKE '%CONFLICT%') "
        "UNION ALL SELECT 1 FROM temp.sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE");
  }
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
  QString KeyCollations() const override {
    return QStringLiteral("SELECT x.name, x.coll FROM pragma_index_list(?1, 'main') l JOIN pragma_index_xinfo(l.name, "
                          "'main') x WHERE l.origin = 'pk' AND x.key = 1");
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
  bool KeepsValuesByAffinity() const override { return false; }
  QString TableWriteKeepsPartOnFailure() const override { return QString(); }
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
  // A collation only applies to text, and TEXT and IMAGE columns cannot be
  // compared at all but as the types that replaced them.
  NullSafeTerm Unchanged(const QString& expression, ColumnKind kind) const override {
    switch (kind) {
      case ColumnKind::Text:
        return NullSafeEquals(expression + QStringLiteral(" COLLATE Latin1_General_BIN2"));
      case ColumnKind::LongText:
        return NullSafeEquals(QStringLiteral("CAST(%1 AS NVARCHAR(MAX)) COLLATE Latin1_General_BIN2").arg(expression));
      case ColumnKind::LongBytes:
        return NullSafeEquals(QStringLiteral("CAST(%1 AS VARBINARY(MAX))").arg(expression));
      default:
        return NullSafeEquals(expression);
    }
  }
  QString TextCollation() const override { return QString(); }
  // The installations' databases are created case and accent insensitive.
  bool SortsTextAsTheSystem() const override { return true; }
  QString RowId(const QStringList&) const override { return QString(); }
  QString LastInsertedId() const override { return QStringLiteral("SELECT CAST(SCOPE_IDENTITY() AS BIGINT)"); }
  // The server refuses a number given to an identity column; and a
  // statement run with parameters is a scope of its own, so the number is
  // asked in the same batch.
  QString InsertNumbered(const QString& insert) const override { return insert + QStringLiteral("; ") + LastInsertedId(); }
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
  // The server keeps no index's text, so no mark: a non-unique index is
  // taken to carry the key, and Table drops the key's fields only where they
  // are the index's last ones.
  QString TableIndexes() const override {
    return QStringLiteral(
        "SELECT i.name, CAST(i.is_unique AS int), 1 - CAST(i.is_unique AS int), c.name, CAST(ic.is_descending_key AS int) FROM sys.indexes i "
        "JOIN sys.index_columns ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id JOIN sys.columns c ON "
        "c.object_id = ic.object_id AND c.column_id = ic.column_id WHERE i.object_id = OBJECT_ID(?) AND "
        "i.is_primary_key = 0 AND i.type > 0 AND ic.is_included_column = 0 ORDER BY i.name, ic.key_ordinal");
  }
  QString TableHasRowIds() const override { return QString(); }
  bool LocksInSideFile() const override { return false; }
  QString AuditTriggerText(const AuditTrigger& trigger) const override { return SqlServerAuditTrigger(trigger); }

 protected:
  bool BindsDatesAsDates() const override { return true; }
};

QMetaType nullTypeOf(EngineDialect::ColumnKind kind) {
  switch (kind) {
    case EngineDialect::ColumnKind::Text:
    case EngineDialect::ColumnKind::LongText:
      return QMetaType::fromType<QString>();
    case EngineDialect::ColumnKind::Bytes:
    case EngineDialect::ColumnKind::LongBytes:
      return QMetaType::fromType<QByteArray>();
    case EngineDialect::ColumnKind::Number:
      return QMetaType::fromType<qint64>();
    case EngineDialect::ColumnKind::Date:
      return QMetaType::fromType<QDateTime>();
  }
  return {};
}

// A date as it is stored, "yyyy-mm-dd", with its time and milliseconds when
// it has them; in UTC, where no clock change skips an hour.
std::optional<QDateTime> storedDate(const QString& text) {
  const QDate day = QDate::fromString(text.left(10), u"yyyy-MM-dd");
  if (!day.isValid()) return std::nullopt;
  QTime time(0, 0);
  if (text.size() > 10) {
    if (text[10] != u' ') return std::nullopt;
    const QString rest = text.mid(11);
    time = QTime::fromString(rest, rest.size() > 8 ? u"HH:mm:ss.zzz" : u"HH:mm:ss");
    if (!time.isValid()) return std::nullopt;
  }
  return QDateTime(day, time, Qt::UTC);
}

}  // namespace

QVariant EngineDialect::Bound(const QVariant& stored, ColumnKind kind) const {
  if (stored.isNull()) return QVariant(nullTypeOf(kind));
  if (kind == ColumnKind::Date && BindsDatesAsDates() && stored.typeId() == QMetaType::QString)
    if (const std::optional<QDateTime> date = storedDate(stored.toString())) return *date;
  return stored;
}

const EngineDialect::SavepointTexts& EngineDialect::WriteSavepoint() const {
  std::call_once(writeSavepointMade_, [this] { writeSavepoint_ = Savepoint(QStringLiteral("zem_write")); });
  return writeSavepoint_;
}

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
