#pragma once

struct sqlite3;

// SQL Server's conversions, under the names the mapper gives them:
// zem_convert(type, value[, style[, date format]]) for CAST and CONVERT,
// zem_add(a, b) for "+", which joins two texts and adds anything else, and
// zem_store(type, value[, date format]) for a value written into a column,
// zem_divisor(d) for the divisor of "/" and "%", zem_arithmetic(type, value)
// for arithmetic in a whole number type, zem_modulo(a, b, scale) for "%" of
// decimals, zem_abs(n) for ABS, zem_xor(a, b) for "^", zem_chain(a, b, ...,
// steps) for a run of whole number operations, and zem_offset_rows(n) and
// zem_fetch_rows(n) for the row counts of OFFSET and FETCH.
void RegisterConversionFunctions(sqlite3* connection);
