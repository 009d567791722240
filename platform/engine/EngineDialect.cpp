#include "platform/engine/EngineDialect.h"

#include "platform/engine/AuditTriggerText.h"
#include "platform/sqlite/SqlText.h"

namespace {

// Both quote names alike, SQL Server under QUOTED_IDENTIFIER ON.
using SqlText::Quoted;

class SqliteDialect final : public EngineDialect {
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
  QString AuditTriggerText(const AuditTrigger& trigger) const override { return SqliteAuditTrigger(trigger); }
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
  QString AuditTriggerText(const AuditTrigger& trigger) const override { return SqlServerAuditTrigger(trigger); }
};

}  // namespace

const EngineDialect& EngineDialect::Sqlite() {
  static const SqliteDialect dialect;
  return dialect;
}

const EngineDialect& EngineDialect::SqlServer() {
  static const SqlServerDialect dialect;
  return dialect;
}
