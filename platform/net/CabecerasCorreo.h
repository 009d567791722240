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

// The addresses of a list separated by "," or ";", each "name <address>" or
// a bare address; empty pieces are left out.
std::vector<Direccion> Direcciones(const QString& lista);

// A header value: line breaks become blanks, non-ASCII text an encoded word.
QString Texto(const QString& texto);
// "name <address>", or the bare address without a name.
QString Direccion(const struct Direccion& direccion);
QString ListaDirecciones(const std::vector<struct Direccion>& direcciones);
// The attachment's file name as a Content-Disposition header.
QString DisposicionAdjunto(const QString& nombreArchivo);

}  // namespace CabecerasCorreo
