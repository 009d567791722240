#pragma once

#include <QStringView>

// Whether a result column of a SELECT is text by the way the statement
// writes it: a quoted text, a conversion to a text type or a text
// function, whatever its values look like (a date's text stays text, as
// SQL Server types it). False where the statement does not tell (a column,
// a "*" before it, a UNION).
bool IsWrittenAsText(QStringView statement, int column);
