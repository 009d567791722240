#pragma once

#include <QString>

#include <sqlite3.h>

// Reading arguments of and giving results from the functions registered on
// a connection.
QString TextOf(sqlite3_value* value);
bool IsNull(sqlite3_value* value);
bool IsNumber(sqlite3_value* value);  // an INTEGER or REAL value
void ResultText(sqlite3_context* context, const QString& text);
void ResultError(sqlite3_context* context, const QString& message);
