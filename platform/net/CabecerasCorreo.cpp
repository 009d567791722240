#include "platform/net/CabecerasCorreo.h"

#include <QUrl>

#include <optional>
#include <utility>

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

// Lines of a header, folded: each line after the first starts with the
// blank that folding keeps.
constexpr qsizetype kLineaMaxima = 78;
// 42 bytes make 56 Base64 characters: with its 12 of framing an encoded
// word fits the 75 its standard allows, and the first line with "Subject: ".
constexpr qsizetype kBytesPorPalabra = 42;

// The text as encoded words of whole characters, one per line.
QString palabrasCodificadas(const QString& texto) {
  QStringList palabras;
  QString pieza;
  qsizetype bytes = 0;
  for (qsizetype i = 0; i < texto.size();) {
    const qsizetype largo = texto.at(i).isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
    const QString caracter = texto.mid(i, largo);
    const qsizetype suyos = caracter.toUtf8().size();
    if (bytes + suyos > kBytesPorPalabra) {
      palabras.append(palabraCodificada(pieza));
      pieza.clear();
      bytes = 0;
    }
    pieza += caracter;
    bytes += suyos;
    i += largo;
  }
  if (!pieza.isEmpty() || palabras.isEmpty()) palabras.append(palabraCodificada(pieza));
  return palabras.join(QStringLiteral("\r\n "));
}

// Plain text folded before the blanks that precede a word (a line of blanks
// alone is not allowed); nothing when a word or a run of blanks would pass
// the line's limit.
std::optional<QString> plegadoEnBlancos(const QString& texto, qsizetype ocupado) {
  QString plegado;
  qsizetype linea = ocupado;
  const QStringList palabras = texto.split(u' ');
  for (qsizetype i = 0; i < palabras.size(); ++i) {
    const QString& palabra = palabras.at(i);
    if (i == 0) {
      plegado = palabra;
      linea += palabra.size();
    } else if (linea + 1 + palabra.size() > kLineaMaxima && linea > 1 && !palabra.isEmpty()) {
      plegado += QStringLiteral("\r\n ") + palabra;
      linea = 1 + palabra.size();
    } else {
      plegado += u' ' + palabra;
      linea += 1 + palabra.size();
    }
    if (linea > kLineaMaxima) return std::nullopt;
  }
  return plegado;
}

}  // namespace

QString Cabecera(const QString& nombre, const QString& valor) {
  const QString limpio = sinControles(valor);
  const QString inicio = nombre + QStringLiteral(": ");
  if (esAsciiVisible(limpio))
    if (const std::optional<QString> plegado = plegadoEnBlancos(limpio, inicio.size())) return inicio + *plegado;
  return inicio + palabrasCodificadas(limpio);
}

namespace {

// An address as the pieces a header may be folded between: the name's
// quoted text or encoded words, then "<address>"; the bare address alone
// without a name.
QStringList piezasDireccion(const struct Direccion& direccion) {
  const QString correo = sinControles(direccion.correo).remove(u' ');
  if (direccion.nombre.isEmpty()) return {correo};
  const QString nombre = sinControles(direccion.nombre);
  const QString citado =
      u'"' + QString(nombre).replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"';
  if (esAsciiVisible(nombre) && citado.size() < kLineaMaxima - 1) return {citado, u'<' + correo + u'>'};
  return palabrasCodificadas(nombre).split(QStringLiteral("\r\n ")) << u'<' + correo + u'>';
}

}  // namespace

QString CabeceraDirecciones(const QString& nombre, const std::vector<struct Direccion>& direcciones) {
  QString cabecera = nombre + u':';
  qsizetype linea = cabecera.size();
  bool primera = true;
  for (size_t i = 0; i < direcciones.size(); ++i) {
    QStringList piezas = piezasDireccion(direcciones[i]);
    if (i + 1 < direcciones.size()) piezas.back() += u',';
    for (const QString& pieza : piezas) {
      if (!std::exchange(primera, false) && linea + 1 + pieza.size() > kLineaMaxima) {
        cabecera += QStringLiteral("\r\n");
        linea = 0;
      }
      cabecera += u' ' + pieza;
      linea += 1 + pieza.size();
    }
  }
  return cabecera;
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
