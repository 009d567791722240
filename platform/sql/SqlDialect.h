#pragma once

class Connection;

// SQL Server's behaviour on a SQLite connection: its collations (any name
// Collation knows, in a COLLATE clause or a column), the
// functions the mapper's statements call (LIKE included), and the
// catalogue views (sysobjects, syscolumns, sysindexes, sysindexkeys,
// information_schema.columns) over the connection's own tables.
class SqlDialect {
 public:
  // Makes every connection opened from now on run InstallOn; once for the
  // process, however often it is asked.
  static void InstallOnEveryConnection();
  // Lets InstallOnEveryConnection install again once the connection
  // initialisers were reset.
  static void ResetInstallation();

  // On a database of the embedded server, LIKE and the text functions
  // compare under the database's collation; elsewhere under the default.
  static void InstallOn(Connection& connection);
};
