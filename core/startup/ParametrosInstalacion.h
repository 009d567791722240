#pragma once

// The fixed name of the installation settings file in the program folder,
// read when the file named by ParametroL cannot be.
inline constexpr auto kArchivoInstalacionPorDefecto = "INSTALACION.CFG";

// Reads the installation settings file (engine, aliases, paths) into the
// globals; when neither file can be read, warns and leaves them empty.
void LeerParametrosInstalacion();
