#pragma once

#include <QString>
#include <QStringList>

// The table-structure definitions: lines of pieces separated by "/" (table,
// kind "C", "I" or "SQL", number, name, type or fields, length or options,
// flag), read from DATABASE.TXT, DATABASE.ESP and DATABASE.VRT beside the
// general database, or built in memory for a temporary table. Every list
// returned has each entry followed by CR LF.

// DATABASE.TXT beside the general database, copied there from the program
// folder when it is missing.
QString RutaDatabaseTxt();
// The same path with another extension ("ESP", "VRT").
QString RutaDefiniciones(const QString& extension);

// The first file's text, then the base file's, then each file of the merge
// list (paths joined by ",") merged into them by its sections.
QString LeerDefinicionesEstructura(const QString& archivoBase, const QString& primerArchivo,
                                   const QString& archivosFusion);
// The standard definitions: DATABASE.ESP, DATABASE.TXT, DATABASE.VRT.
QString DefinicionesEstandar();

// The base text with a text merged into it: its new or substitutive
// definitions put before the base, its complementary lines added to the
// blocks of their tables.
QString DefinicionesEstructura(const QString& base, const QString& fusion);

// The first block's lines of a table, in the order fields, user fields (from
// CAMPOUSR), indexes, "SQL" lines; parts are "Campos", "CamposUsuario",
// "Indices" and "SQL" joined by ",", none meaning all.
QString DefinicionTabla(const QString& tabla, const QString& texto, const QString& partes = QString());
// Field names of a table (with "IncluirTipo": name/type).
QString ListaCamposDefinidos(const QString& tabla, const QString& texto, const QString& opciones = QString());
// The tables that dated lines define, sorted (with "IncluirFecha": name|date
// of the table's first dated line).
QString ListaTablasDefinidas(const QString& texto, const QString& opciones = QString());
// The tables of the standard definitions; "ExcluirTablasBDGeneral" as the
// whole option text leaves the general database's tables out.
QString ArchivoDefinicionesTabla(const QString& opciones = QString());

// The lines of a text (CR LF or LF), and piece n of a definition line.
QStringList LineasDefinicion(const QString& texto);
QString PiezaDefinicion(int indice, const QString& linea);
// The lines of one kind ("C", "I", "SQL") of a table's first block; a block
// without table names (a temporary table's) is asked for with an empty name.
QStringList LineasDeTipo(const QStringList& lineas, const QString& tabla, const QString& tipo,
                         Qt::CaseSensitivity mayusculas = Qt::CaseSensitive);

// The field type a CAMPOUSR type word stands for ("Entero": "ftInteger");
// empty for an unknown word.
QString TipoCampoUsuario(const QString& tipoCampo);
