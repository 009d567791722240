#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;

struct SqliteCloser {
  void operator()(sqlite3* connection) const;
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

// The rows a statement answered, with its column names.
struct SqlRows {
  QStringList columns;
  QList<QVariantList> rows;
};

// Opens (creating when asked) a database file in WAL mode with a busy
// timeout and the SQL dialect installed; raises SqlError when it cannot.
SqliteHandle OpenSqlite(const QString& path, bool create = true);

// Runs one statement with its parameters bound in order; raises SqlError.
void ExecuteSql(sqlite3* connection, const QString& statement, const QVariantList& parameters = {});
SqlRows QuerySql(sqlite3* connection, const QString& statement, const QVariantList& parameters = {});

// Runs a script of several statements without parameters.
void ExecuteScript(sqlite3* connection, const QString& script);

// The engine's last error text on the connection.
QString SqliteMessage(sqlite3* connection);
