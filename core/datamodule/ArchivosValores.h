#pragma once

#include <QString>

// The value of a name in a file of name=value lines, or the default when it
// is empty, missing, or the file cannot be read.
void LeerValorTexto(const QString& archivo, const QString& nombre, QString& valor, const QString& defecto);
// Writes the key into its section of the INI file, creating either; false,
// with the file as it was, when it cannot be written or holds no such text.
bool EscribirValorINI(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor);
