#pragma once

struct sqlite3;
class Collation;

// SQL Server's text functions, under the names the mapper gives them:
// zem_len, zem_substring, zem_left, zem_right, zem_charindex, zem_replace,
// zem_replicate, zem_upper, zem_lower, zem_isnumeric, zem_getdate, and LIKE
// itself, all compared under the connection's collation; zem_replace with a fourth
// argument and zem_like(pattern, text, collation) compare under the
// collation a COLLATE clause names.
void RegisterTextFunctions(sqlite3* connection, const Collation& collation);
