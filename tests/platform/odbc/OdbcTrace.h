#pragma once

#include <QString>
#include <QStringList>

// What reached the driver, read in the driver manager's trace of a
// connection (OdbcConnection::TraceTo).
namespace OdbcTrace {

// The calls of one ODBC function ("SQLPrepare"), each as the text of what
// it was given.
QStringList Calls(const QString& traceFile, const QString& function);
// The SQL type of each value bound, in order ("SQL_VARCHAR").
QStringList BoundSqlTypes(const QString& traceFile);
// The texts run directly (SQLExecDirect) and prepared (SQLPrepare), in order.
QStringList StatementTexts(const QString& traceFile);

}  // namespace OdbcTrace
