#pragma once

#include <QString>

class TfGENEINIC;

// Manual backup and restore of a whole server database through the
// server's own BACKUP and RESTORE, with the progress window on while the
// server works. An empty database name means the current company's; an
// empty folder or file is asked for, and a cancelled choice gives false
// with nothing run. The statement's failure reaches the caller once the
// progress window is off.
bool CopiaSeguridadSQLServer(TfGENEINIC& servicios, const QString& baseDatos, const QString& carpeta);
bool RestaurarCopiaSQLServer(TfGENEINIC& servicios, const QString& baseDatos, const QString& archivo);

// The file a backup of the database made now goes to: the folder, "\",
// "dbb_", the database, "_", the date and time as yyyymmddhhnnss, ".bak".
QString NombreCopiaSeguridad(const QString& carpeta, const QString& baseDatos);
// The same for a new backup: where a backup of this name is already there or
// being written, the next second whose name is free, so that two backups
// made in one second keep two files.
QString NombreCopiaSeguridadNueva(const QString& carpeta, const QString& baseDatos);
// The same, held for this process until its backup ends or ReleaseBackupName:
// another program choosing at once takes another.
QString ReservarNombreCopiaSeguridad(const QString& carpeta, const QString& baseDatos);
// The server's statement that backs the database up into that file.
QString SentenciaCopiaSeguridad(const QString& baseDatos, const QString& archivo);
