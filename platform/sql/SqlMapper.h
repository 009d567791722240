#pragma once

#include <QString>
#include <QStringView>

#include <memory>

class Connection;
class MappingCache;

// What the mapper needs to know of the connection a statement will run on.
struct SqlContext {
  Connection* connection = nullptr;
  QString databaseName;   // the connection's own database: <it>.dbo.T is main.T
  QString serverFolder;   // where <db>.dbo.T finds <db> to attach on demand; empty outside the embedded server
  QString collationName;  // given to the text columns of CREATE TABLE and ALTER TABLE ADD
  QString dateFormat = QStringLiteral("mm/dd/yyyy");  // `FormatoFechaSQL`
  // What earlier statements learnt of the connection; none: every statement
  // asks the catalogue.
  std::shared_ptr<MappingCache> cache;

  // The context of a connection opened on a database file, from where the
  // file lies (DatabaseLocation).
  static SqlContext ForConnection(Connection& connection, const QString& dateFormat);
};

// Turns a statement the system wrote for SQL Server (queries, DML, CREATE
// TABLE/INDEX) into SQLite's, through a closed list of idioms: TOP n,
// dbo., <db>.dbo.T (the other database attached under its name, outside
// transactions; Attachments),
// WITH(NOLOCK), DELETE T WHERE, date literals in `FormatoFechaSQL` to ISO,
// "+" on texts, and SQL Server's functions. A construct of SQL Server that
// it does not know raises SqlError rather than running with another meaning.
class SqlMapper {
 public:
  explicit SqlMapper(SqlContext context);

  QString Map(QStringView statement) const;

 private:
  // Whether the mapping may be given again to the same text while the schema
  // stays as it is.
  QString map(QStringView statement, bool& reusable) const;

  SqlContext context_;
};
