#pragma once

#include <QString>

// Copies a whole database file into another, page by page, through SQLite's
// backup API: a consistent copy even while other connections use the source,
// and one the destination's other connections see at once. Raises SqlError.
void CopyDatabase(const QString& sourceFile, const QString& destinationFile);

// Whether a file is a database SQLite can read.
bool IsReadableDatabase(const QString& file);
