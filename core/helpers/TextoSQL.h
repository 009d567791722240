#pragma once

#include <QString>

// The first table named after " FROM ", upper case; empty without one.
QString NombreTablaSQL(const QString& sql);

// Comparisons with the empty text after the WHERE also match nulls:
// "A = ''" becomes "(A = '' OR A IS NULL)" and "A <> ''" becomes
// "(A <> '' AND A IS NOT NULL)". Only the first remaining comparison of each
// kind is looked at in a pass, so once it lies before the WHERE the later
// ones stay; a statement without WHERE is returned as it is. The statement is
// read as tokens: nothing inside a quoted literal, a quoted name or a comment
// is ever a comparison or a WHERE, and a text that does not split into
// tokens (an unclosed quote) is returned as it is.
QString AmpliarComparacionesVacias(const QString& sql);

// "=NULL" and "= NULL" become " IS NULL "; with forzarNULL " = ''" and
// ' = ""' too. Tokens, as above.
QString ComparacionesConNULL(const QString& sql, bool forzarNULL);
