#pragma once

#include <QString>

class QWidget;

// Who uses the SQL Server databases, and this workstation's log of forms.

// The Windows user names connected to the server, one per line.
QString UsuariosConectados();
// The client processes, of every user or of one, on the general database and
// on every company database; 0 when the statement fails.
int ContarSesiones(const QString& usuario = QString());

// Adds a line for the form's event to <program folder>/<logon name>.log,
// which keeps its last 101 lines, when user monitoring is on. An action
// holding "Start" empties the log first and writes what follows its first
// ",". Failures are never reported; a log that cannot be read is left as it
// was, and lines other copies add meanwhile stay.
void RegistrarUso(const QWidget* formulario, const QString& accion);
