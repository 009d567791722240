#pragma once

#include <QString>

// Copies the whole file; the target is created or replaced. Unlike the other
// helpers it lets its error reach the caller: it raises Exception when the
// source cannot be read or the target cannot be written.
void CopiarArchivo(const QString& origen, const QString& destino);

// Deletes every entry matching the mask (a folder path followed by a file-name
// pattern with "*" and "?", matched as Windows does: without regard to case,
// "*.*" also taking names without a dot). False when one deletion fails:
// entries that are folders, "." and ".." among them, cannot be deleted.
bool BorrarArchivos(const QString& mascara);

// The files under the masks (one per line), with their folders: at the first
// level a mask's pattern selects files and sub-folders alike, below it every
// file counts; hidden and system entries are left out. The result lists each
// file's ancestor folders and the file itself, sorted without regard to case,
// without duplicates, each line ended by CR LF; empty when nothing is found.
QString BuscarArchivos(const QString& mascaras);

// The temporary folder, with its trailing separator.
QString DirectorioTemporal();

// Whether a file name matches a Windows file-name pattern.
bool CoincideConMascara(const QString& nombre, const QString& patron);
