#pragma once

#include <QString>
#include <QStringView>

// How a name is written: SQL Server's brackets, always or only where the
// name is not a plain one, or the double quotes of the engines that know no
// brackets (Interbase, and SQLite read without the server's dialect).
enum class FormaNombreSQL { Corchetes, SiempreCorchetes, Comillas };

// A table, column, index, trigger or database name as the engine reads it:
// as it is when it is a plain name (a letter or "_", then letters, digits and
// "_"; in double quotes, only ASCII ones) that is no reserved word, otherwise quoted with every closing quote doubled, so that no stored
// name ends the statement it is written into. Every statement built from a
// stored name writes it through here.
QString NombreSQL(const QString& nombre, FormaNombreSQL forma = FormaNombreSQL::Corchetes);

// Whether a name is a plain one, reserved word or not.
bool NombreSQLCorriente(const QString& nombre);

// A table's name, an owner or database written before it ("dbo.T",
// "GENERAL.dbo.T") kept as it is when that part is made of plain names.
QString NombreSQLTabla(const QString& tabla, FormaNombreSQL forma = FormaNombreSQL::Corchetes);

// The longest name SQL Server takes.
inline constexpr int kLongitudMaximaNombreSQL = 128;

// Whether a stored name can be the name of an object at all: not empty, no
// longer than the engine allows, without control characters, and without
// any of the separators of the list it was read from. A name that is not is
// refused, and nothing is run for it.
bool NombreObjetoSQLValido(const QString& nombre, QStringView separadores = {});
