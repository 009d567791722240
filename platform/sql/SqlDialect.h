#pragma once

class Connection;

// SQL Server's behaviour on a SQLite connection: the *_CI_AI collations
// (any such name in a COLLATE clause or a column resolves to Collation), the
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
