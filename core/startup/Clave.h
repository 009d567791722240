#pragma once

#include <QString>

// The clear text of a password stored scrambled in the program INI file: three
// decimal digits per character, each group one byte XOR-ed with the fixed key.
QString DesencriptarClave(const QString& encriptada);
