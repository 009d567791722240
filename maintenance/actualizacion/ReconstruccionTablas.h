#pragma once

#include <QString>

class EjecucionActualizacion;
struct OpcionesActualizacion;

// Rebuilds each chosen table of a database from its definition, one
// transaction per table: "TEMP_" + table made with the new structure, the
// surviving (or mapped) columns copied by the server, the old table dropped
// and the new one renamed, then its indexes; the tables' "SQL" lines run
// after the last table. True when no table failed.
bool ActualizarTablas(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                      const QString& baseDatos);
// Rolls back the running table's transaction.
void DeshacerTransaccion(EjecucionActualizacion& ejecucion, const QString& baseDatos, const QString& tabla);
// Creates every table of the scripts that the database does not have.
void CrearTablasNoExistentes(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                             const QString& baseDatos);

// Whether the database has the table, as its catalogue says.
bool ExisteTabla(const QString& baseDatos, const QString& tabla);
