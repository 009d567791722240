#pragma once

#include "platform/Variant.h"
#include "platform/data/FieldType.h"
#include "platform/engine/EngineDialect.h"

#include <QString>

// The one table of field types: how each definition type is written as a SQL
// Server column, how it is declared in SQLite, and which type a declared
// column gives back when a table is read.
namespace TypeTable {

// What the SQL Server column text of a field depends on besides its type.
struct SqlServerColumnOptions {
  QString length;            // the definition's length piece ("40", "MAX", "0")
  QString decimalType;       // the decimal type chosen for the field's name
  QString nullDate;          // the literal of the zero date, without quotes
  bool textForMax = false;   // a server without VARCHAR(MAX): " TEXT " instead
  bool genericSql = false;   // generic SQL: TIMESTAMP for dates
};

// The text that follows the column name in CREATE TABLE on SQL Server, with
// its leading blank and its DEFAULT clause ("ftString", 40: " VARCHAR(40)
// DEFAULT ''"); empty for ftUnknown.
QString SqlServerColumn(FieldType type, const SqlServerColumnOptions& options);

// The declared type of an SQLite column. No type is declared as exactly
// "INTEGER", so a key column never becomes SQLite's row-id alias.
QString SqliteDeclaredType(FieldType type, int size);

// The field type of a declared column type, from this table or from the SQL
// Server texts above; size receives the declared length of a text or bytes
// column (0 otherwise).
FieldType FromDeclaredType(const QString& declared, int* size = nullptr);

ValueClass ValueClassOf(FieldType type);
// The variant kind a field's value gives: text, integer, float, date...
VarType VariantKindOf(FieldType type);
// What an engine's dialect compares and binds a column of that type as.
EngineDialect::ColumnKind ColumnKindOf(FieldType type);

}  // namespace TypeTable
