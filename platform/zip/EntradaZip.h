#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the built-in unzip library decides about one entry of an archive
// before anything is written.
namespace EntradaZip {

// The entry's name with every "\" as "/", "//" as one "/" and no "." piece (a
// folder's final "/" kept), empty when it names the target itself ("./");
// none when the name could leave the target folder: empty, absolute ("/x",
// "\x", "C:x"), or holding a ".." piece.
std::optional<QString> NombreSeguro(const QString& nombre);

// Whether the entry's Unix mode (from its external attributes) is a link, a
// device, a pipe or a socket, which are never extracted.
bool EsEspecial(std::uint32_t modoUnix);

// The permission bits kept on an extracted file: without setuid and setgid.
std::uint32_t PermisosConservados(std::uint32_t modoUnix);

// Whether the entry is named by the file patterns: none, "*" or "*.*"
// names every entry; a pattern without a folder is matched against the
// entry's file name, one with a folder against its whole name, both as
// Windows does, without regard to case.
bool Elegida(const QString& nombre, const QStringList& patronesArchivo);

}  // namespace EntradaZip
