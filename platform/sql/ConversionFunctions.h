#pragma once

struct sqlite3;

// SQL Server's conversions, under the names the mapper gives them:
// zem_convert(type, value[, style[, date format]]) for CAST and CONVERT,
// zem_add(a, b) for "+", which joins two texts and adds anything else, and
// zem_store(type, value[, date format]) for a value written into a column,
// and zem_divisor(d) for the divisor of "/" and "%".
void RegisterConversionFunctions(sqlite3* connection);
