#pragma once

#include "platform/sql/SqlDates.h"
#include "platform/sql/SqlTypes.h"

#include <QString>
#include <QVariant>

// A value as SQL Server converts it to a column's declared type when it is
// stored into the column or compared with it: whole numbers within the
// type's range, decimals rounded to its scale (half away from zero) within
// its precision, texts no longer than its length (blanks past it are cut;
// a text type without one, as SQLite keeps VARCHAR(MAX), has no limit),
// dates that exist, read in the session's order. Values are null, qint64,
// double, QString or QByteArray; a type it does not check passes the value
// on. A value SQL Server refuses gives its error text instead.
struct ColumnValue {
  QVariant value;
  QString error;  // empty when converted
};
ColumnValue ToColumnType(const QVariant& value, const SqlType& type, DateOrder order);

// The value as an SQL literal: NULL, a number, or a quoted text.
QString SqlLiteral(const QVariant& value);
