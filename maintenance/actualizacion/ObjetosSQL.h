#pragma once

#include <QString>
#include <QStringList>

class EjecucionActualizacion;
struct OpcionesActualizacion;

// The suite's own SQL objects of a company database, dropped by their name
// prefixes and made again from the command scripts DATABASE.CMM and
// DATABASE.CME.
void RecrearObjetosSQL(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                       const QString& baseDatos);

// The statements of a command script: one from each "CREATE FUNCTION",
// "CREATE PROCEDURE", "CREATE VIEW", "CREATE TRIGGER" or "CREATE
// NONCLUSTERED INDEX" to the next, trimmed; blank ones left out.
QStringList SentenciasComandos(const QString& texto);

// The drop statement of an object of the suite by its name; empty for a name
// of none of the prefixes. An index is dropped on the table it is on.
QStringList SentenciasEliminarObjeto(const QString& nombre, const QString& tablaIndice);
