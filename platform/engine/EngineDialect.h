#pragma once

#include "platform/engine/AuditTrigger.h"

#include <QString>

#include <cstddef>

// What the SQL of the layers above says differently on each engine, stated
// once per engine: the layers above ask the connection's dialect and never
// which engine they run on.
class EngineDialect {
 public:
  virtual ~EngineDialect() = default;

  static const EngineDialect& Sqlite();
  static const EngineDialect& SqlServer();

  // A table of the connection's own database, its name quoted: SQLite says
  // "main." so that an attached database's table of that name is not taken.
  virtual QString OwnTable(const QString& tableName) const = 0;
  // A SELECT of at most rows rows: "tail" is what follows the table (its
  // WHERE and ORDER BY).
  virtual QString Window(const QString& columns, const QString& from, const QString& tail, std::size_t rows) const = 0;
  // A SELECT of the one row at a place of the order (from 0), bound as the
  // statement's last parameter: "tail" ends with its ORDER BY.
  virtual QString RowAtPlace(const QString& columns, const QString& from, const QString& tail) const = 0;

  // "expression equals the parameter, NULL equal to NULL"; the value is
  // bound ParameterUses() times in a row.
  struct NullSafeTerm {
    QString text;
    int parameterUses;
  };
  virtual NullSafeTerm NullSafeEquals(const QString& expression) const = 0;

  // The statement that creates the trigger.
  virtual QString AuditTriggerText(const AuditTrigger& trigger) const = 0;
};
