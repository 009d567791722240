#pragma once

struct sqlite3;

// SQL Server's behaviour on a SQLite connection: the *_CI_AI collations
// (any such name in a COLLATE clause or a column resolves to Collation), the
// functions the mapper's statements call (LIKE included), and the
// catalogue views (sysobjects, syscolumns, sysindexes, sysindexkeys,
// information_schema.columns) over the connection's own tables.
class SqlDialect {
 public:
  // The initialiser every SQLite connection of the system runs as it opens.
  // On a database of the embedded server, LIKE and the text functions
  // compare under the database's collation; elsewhere under the default.
  static void InstallOn(sqlite3* connection);

  // Only the collations.
  static void InstallCollations(sqlite3* connection);
};
