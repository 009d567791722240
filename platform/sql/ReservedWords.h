#pragma once

#include <QString>
#include <QStringView>

// Whether a name is a keyword SQL Server reserves, or one SQLite takes for
// its own in a definition: such a name is a name only when quoted. Any case.
bool IsReservedWord(const QString& name);
// Whether a word is one of SQL Server's own reserved keywords (any case).
bool IsServerKeyword(QStringView word);
