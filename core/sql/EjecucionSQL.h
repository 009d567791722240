#pragma once

#include "platform/StringList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Runs any statement on a logical database (see BaseDatosSQL.h) and gives
// its result text: for a SELECT (and, on the engine's road, an EXEC) one line
// per row, columns joined by "|"; empty for a command that ran; on failure a
// text beginning "Error.", shown first unless the options hold "Silenciosa".
// Option words: "Silenciosa", "ForzarNULL", "DelimitadorCRLFMemo=<text>",
// "FormatoINI", "NoEliminarUltimoCRLF", "No Crear Tabla" and, for the ADO
// road, "ServerName=<server>".
QString EjecutarSQL(const QString& sql, const QString& baseDatos, const QString& opciones = QString());
// The same with a SELECT's rows as the texts of their columns, whatever they
// hold; nothing when the statement failed (shown as EjecutarSQL shows it).
std::optional<QList<QStringList>> EjecutarSQLFilas(const QString& sql, const QString& baseDatos,
                                                    const QString& opciones = QString());
QString EjecutarSQLADO(const QString& sql, const QString& baseDatos, const QString& opciones = QString());

// EjecutarSQL through a cache of results that the caller keeps: each
// statement runs once while its line stays in the list (at most 20001 lines);
// a failure is not kept, so the statement runs again next time.
QString EjecutarSQLConCache(const QString& sql, StringList& cache, const QString& baseDatos,
                            const QString& opciones = QString());
// The same with the rows as EjecutarSQLFilas gives them, kept whole
// whatever their values hold.
std::optional<QList<QStringList>> EjecutarSQLFilasConCache(const QString& sql, StringList& cache,
                                                           const QString& baseDatos,
                                                           const QString& opciones = QString());
