#pragma once

#include <QString>

// Where the embedded server keeps its databases: `master.sqlite` for its own
// tables and `<NAME>.sqlite` for each database, the name upper-cased as
// SQL Server names ignore case.
namespace ServerFiles {

inline constexpr char kMasterName[] = "master";

QString MasterFile(const QString& folder);
// Raises SqlError "Invalid database name 'X'." for a name that would lead
// out of the folder (a path separator, "..") or holds control characters.
QString DatabaseFile(const QString& folder, const QString& database);
bool IsMaster(const QString& database);
bool IsServerFolder(const QString& folder);  // holds master.sqlite

}  // namespace ServerFiles

class Connection;

// What a connection's main file is to the system: a database of the
// embedded server (with the server folder, the database name and its
// collation) or a plain data folder's file (the default collation).
struct DatabaseLocation {
  QString serverFolder;   // empty outside an embedded server
  QString databaseName;   // upper-cased base name of the file; "master" for the server's own
  QString collationName;

  static DatabaseLocation Of(const Connection& connection);
  static DatabaseLocation OfFile(const QString& path);
};
