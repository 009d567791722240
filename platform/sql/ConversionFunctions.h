#pragma once

struct sqlite3;

// SQL Server's conversions, under the names the mapper gives them:
// zem_convert(type, value[, style]) for CAST and CONVERT, and
// zem_add(a, b) for "+", which joins two texts and adds anything else.
void RegisterConversionFunctions(sqlite3* connection);
