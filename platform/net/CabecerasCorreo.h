#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The header texts of an e-mail message: no raw CR or LF ever reaches them,
// and text that is not plain ASCII is written as encoded words.
namespace CabecerasCorreo {

struct Direccion {
  QString nombre;
  QString correo;
};

// The addresses of a list as the mail header grammar writes them (quoted
// names that hold commas, comments, encoded words, groups), "," or ";"
// between them; empty pieces are left out.
std::vector<Direccion> Direcciones(const QString& lista);

// A whole header line "Nombre: valor": line breaks of the value become
// blanks, non-ASCII text encoded words, and a long value is folded so that
// no line passes the 78 characters the mail standard asks for.
QString Cabecera(const QString& nombre, const QString& valor);
// A whole address header line "Nombre: a, b, ...": each address "\"name\"
// <address>" (the name as encoded words when not plain ASCII, "<address>"
// alone without a name), folded where a line would pass
// the 78 characters, never inside an address's own text.
QString CabeceraDirecciones(const QString& nombre, const std::vector<struct Direccion>& direcciones);
// The attachment's file name as a Content-Disposition header.
QString DisposicionAdjunto(const QString& nombreArchivo);

}  // namespace CabecerasCorreo
