#pragma once

#include <QString>

inline constexpr auto kArchivoINIPorDefecto = "ZEMWIN.INI";

// The program INI file for ParametroI: "ZEMWIN.INI" in the program folder
// when it is empty, the parameter itself when it holds a path separator,
// otherwise that name in the program folder.
QString NombreArchivoINI(const QString& parametroI);

// Sets ArchivoINI and reads every start-up key of the program INI file into
// the globals; a file that cannot be read is warned about and every key keeps
// its value from before.
void LeerArchivoINI();
