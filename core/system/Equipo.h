#pragma once

#include <QString>

// The name the user logged on to this machine with; "Unknown" when it cannot
// be read, never empty.
QString UsuarioWindows();

// This computer's host name; empty when it cannot be read.
QString NombreEquipo();

// The host name and its first IPv4 address ("192.168.1.20"; empty when the
// name resolves to none). False, with the error text, when the host name
// cannot be read.
bool NombreYDireccionEquipo(QString& nombre, QString& direccion, QString& error);
