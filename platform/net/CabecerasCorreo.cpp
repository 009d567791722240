#include "platform/net/CabecerasCorreo.h"

#include <QRegularExpression>
#include <QUrl>

namespace CabecerasCorreo {

namespace {

// Controls, line breaks among them, become blanks.
QString sinControles(QString texto) {
  for (QChar& c : texto)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = u' ';
  return texto;
}

bool esAsciiVisible(const QString& texto) {
  for (QChar c : texto)
    if (c.unicode() > 0x7E) return false;
  return true;
}

QString palabraCodificada(const QString& texto) {
  return QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(texto.toUtf8().toBase64()) + QStringLiteral("?=");
}

}  // namespace

std::vector<struct Direccion> Direcciones(const QString& lista) {
  std::vector<struct Direccion> direcciones;
  static const QRegularExpression separadores(QStringLiteral("[,;]"));
  for (const QString& bruta : lista.split(separadores)) {
    const QString pieza = sinControles(bruta).trimmed();
    const qsizetype abre = pieza.indexOf(u'<');
    const qsizetype cierra = pieza.lastIndexOf(u'>');
    struct Direccion direccion;
    if (abre >= 0 && cierra > abre) {
      direccion.nombre = pieza.left(abre).trimmed().remove(u'"');
      direccion.correo = pieza.mid(abre + 1, cierra - abre - 1).trimmed();
    } else {
      direccion.correo = pieza;
    }
    direccion.correo.remove(u' ').remove(u'<').remove(u'>');
    if (!direccion.correo.isEmpty()) direcciones.push_back(direccion);
  }
  return direcciones;
}

QString Texto(const QString& texto) {
  const QString limpio = sinControles(texto);
  return esAsciiVisible(limpio) ? limpio : palabraCodificada(limpio);
}

QString Direccion(const struct Direccion& direccion) {
  const QString correo = sinControles(direccion.correo).remove(u' ');
  if (direccion.nombre.isEmpty()) return correo;
  const QString nombre = sinControles(direccion.nombre).remove(u'"').remove(u'\\');
  return (esAsciiVisible(nombre) ? u'"' + nombre + u'"' : palabraCodificada(nombre)) + QStringLiteral(" <") + correo +
         u'>';
}

QString ListaDirecciones(const std::vector<struct Direccion>& direcciones) {
  QStringList piezas;
  for (const struct Direccion& direccion : direcciones) piezas.append(Direccion(direccion));
  return piezas.join(QStringLiteral(", "));
}

QString DisposicionAdjunto(const QString& nombreArchivo) {
  const QString nombre = sinControles(nombreArchivo);
  QString ascii = nombre;
  ascii.remove(u'"').remove(u'\\');
  return QStringLiteral("Content-Disposition: attachment; filename=\"") +
         (esAsciiVisible(ascii) ? ascii : palabraCodificada(ascii)) + QStringLiteral("\"; filename*=UTF-8''") +
         QString::fromLatin1(QUrl::toPercentEncoding(nombre));
}

}  // namespace CabecerasCorreo
