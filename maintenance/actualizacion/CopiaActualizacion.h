#pragma once

#include <QString>

class EjecucionActualizacion;

// The backups the update makes before it changes anything, and the change
// of a database's default collation to the installation's.
void EliminarCopiasAnteriores(EjecucionActualizacion& ejecucion, const QString& directorio);
void RealizarCopiaSeguridadBD(EjecucionActualizacion& ejecucion, const QString& directorio, const QString& baseDatos);
void ActualizarIntercalacionBD(EjecucionActualizacion& ejecucion, const QString& baseDatos);
