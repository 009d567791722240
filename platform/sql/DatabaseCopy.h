#pragma once

#include <QString>

class Connection;

// Copies a whole database into another, page by page, through SQLite's
// backup API: a consistent copy even while the source is in use, written
// through the destination's own connection so its users see it at once.
// The destination must not be inside a transaction.
void CopyDatabase(Connection& source, Connection& destination);
