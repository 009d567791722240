#pragma once

#include <QString>
#include <QStringList>

class Table;

// How tables are keyed, from the SQL Server catalogue on "Microsoft SQL
// Server", and from the local file's own catalogue on Paradox folders and for
// temporary tables kept as files. Lists are field names joined by ";"; a
// failing catalogue query gives its "Error." text after its message.

// The fields of the table's index of that name (empty: the primary one).
QString DefinicionIndice(Table& tabla, const QString& indice = QString());
// The fields of a table's index named as SQL Server names it: a name holding
// "_" as it is, otherwise <table>_<name>, and <table>_Clave1 for the primary.
QString CamposClavePrimaria(const QString& tabla, const QString& indice = QString());
// The columns of a table in their order; "SinMemos" leaves text columns out,
// "Ordenables" every column SQL Server cannot sort (text, image, ...).
// A name "<base>.dbo.<table>" names the database it lies in. A column whose
// name cannot be listed (a ";" or a control character in it) is left out,
// and added to noValidos.
QString ListaColumnas(const QString& tabla, const QString& opciones = QString(), QStringList* noValidos = nullptr);
// The same columns one per line; the option "Sin Campos Memo" leaves text
// columns out.
QString ColumnasSinMemos(const QString& tabla, const QString& opciones = QString());
int NumeroCamposClaveTabla(const QString& tabla);
