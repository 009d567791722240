#pragma once

#include <QString>

// The SQL Server login password as the program INI file keeps it: three
// decimal digits per character, each group one byte XOR-ed with the fixed
// key. Stored passwords of every installation use this key.
QString EncriptarClave(const QString& clara);
// The clear text of a stored password; a trailing part group is ignored and
// a group that is no number counts as 0.
QString DesencriptarClave(const QString& encriptada);
