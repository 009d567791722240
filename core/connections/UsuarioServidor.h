#pragma once

#include <QString>

// The login name a connection to a server presents. Under SQL Server
// authentication it is UsuarioInicioSesion. Under Windows authentication a
// real server takes the Windows identity from its driver and the name is
// empty; the embedded server, which has no Windows accounts, is given the
// operating-system user by name, with no password, on every road.
QString UsuarioServidor(const QString& servidor);

// Windows authentication on the embedded server: the login goes by name.
bool InicioSesionPorNombre(const QString& servidor);
