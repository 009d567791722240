#pragma once

#include <QString>

// Who uses the system and what they may do, on the data module's user table.

// Logs the user in, asking for the code and, when the user has one, the
// password; three wrong passwords in a row (counted in the user's
// "ContadorAccesos", across runs) lock the user. Each attempt is counted
// before the password is weighed, so copies asking at once weigh no more
// than three. On success the code holds
// the user's code as stored and CodigoUsuarioActual, ClaveUsuarioActual and
// CamposNoVisiblesUsuario are set. The code is usually CodigoUsuarioActual itself.
bool IdentificarUsuario(QString& codigo);
// "Total", "Solo Lectura" or "Ninguno" (with a message) for the program or
// menu caption, by the user's ProgramasNoAccesibles and ProgramasSoloLectura.
void DerechoAccesoPrograma(const QString& usuario, const QString& programa, QString& derecho);
// Whether the user, or the profile user it inherits from, is an
// "Administrador"; when not, a warning unless the options hold "Silencio".
bool ExigirAdministrador(const QString& usuario, const QString& opciones);
