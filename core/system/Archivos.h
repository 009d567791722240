#pragma once

#include <QString>

// Deletes every entry matching the mask (a folder path followed by a file-name
// pattern with "*" and "?", matched as Windows does: without regard to case,
// "*.*" also taking names without a dot). False when one deletion fails:
// entries that are folders, "." and ".." among them, cannot be deleted.
bool BorrarArchivos(const QString& mascara);

// The temporary folder, with its trailing separator.
QString DirectorioTemporal();

// Whether a file name matches a Windows file-name pattern.
bool CoincideConMascara(const QString& nombre, const QString& patron);
