#pragma once

class EjecucionActualizacion;
struct OpcionesActualizacion;

// The update, once the wizard's checks passed: old backups removed and each
// database backed up; only when that logged no error, each database's
// collation and tables, then (while still no error) the missing tables, and
// the objects and triggers of the company databases. Leaves the logs in
// ResultadoActualizacion and writes the two INI keys whatever the outcome.
void RealizarActualizacion(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones);

// The backup folder and the date of the main script, proposed next time.
void GuardarClavesActualizacion(const OpcionesActualizacion& opciones);
