#include "printing/formlang/MarcasEstilo.h"

#include "core/helpers/Estilos.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QColor>
#include <QFont>

namespace {

struct Lectura {
  MarcasEstilo marcas;
  qsizetype parada = 0;  // where the reading stopped
  int blancos = 0;
};

// The one reader behind both: marks and blanks from the start, up to the
// first character that is neither, an unclosed "<", a mark not recognised,
// or just after "</>".
Lectura LeerMarcas(const QString& texto) {
  Lectura lectura;
  qsizetype at = 0;
  while (at < texto.size()) {
    if (texto[at] == u' ') {
      ++lectura.blancos;
      ++at;
      continue;
    }
    if (texto[at] != u'<') break;
    const qsizetype cierre = texto.indexOf(u'>', at + 1);
    if (cierre < 0) break;
    const QString marca = texto.mid(at, cierre - at + 1);
    if (marca == u"</>") {
      lectura.marcas.fin = true;
      at = cierre + 1;
      break;
    }
    if (!InterpretarMarca(marca, lectura.marcas)) break;
    at = cierre + 1;
  }
  lectura.parada = at;
  return lectura;
}

}  // namespace

void AgregarEstilo(const QString& estilo, MarcasEstilo& marcas) {
  for (QString& hueco : marcas.estilos) {
    if (hueco.isEmpty()) {
      hueco = estilo;
      return;
    }
  }
  marcas.estilos.back() = estilo;
}

bool InterpretarMarca(const QString& marca, MarcasEstilo& marcas) {
  static const std::pair<const char16_t*, const char16_t*> colores[] = {
      {u"<R>", u"Rojo"}, {u"<V>", u"Verde"}, {u"<A>", u"Azul"}};
  static const std::pair<const char16_t*, const char16_t*> estilos[] = {
      {u"<N>", u"Negrita"}, {u"<C>", u"Italica"}, {u"<S>", u"Subrayado"}};
  for (const auto& [nombre, color] : colores) {
    if (marca == QStringView(nombre)) {
      marcas.color = QString::fromUtf16(color);
      return true;
    }
  }
  for (const auto& [nombre, estilo] : estilos) {
    if (marca == QStringView(nombre)) {
      AgregarEstilo(QString::fromUtf16(estilo), marcas);
      return true;
    }
  }
  qint64 tamano = 0;
  if (marca.size() >= 2 && LeerEnteroImpreso(marca.mid(1, marca.size() - 2), tamano) && tamano <= MayorTamanoMarca) {
    marcas.tamano = static_cast<int>(tamano);
    return true;
  }
  marcas.tamano = 0;
  return false;
}

TextoConMarcas SepararMarcas(const QString& texto) {
  const Lectura lectura = LeerMarcas(texto);
  return {lectura.marcas, QString(lectura.blancos, u' ') + texto.mid(lectura.parada)};
}

MarcasExtraidas ExtraerMarcas(const QString& texto) {
  const Lectura lectura = LeerMarcas(texto);
  MarcasExtraidas extraidas{lectura.marcas, texto.left(lectura.parada).remove(u' '), false};
  extraidas.hayMarcas = !extraidas.prefijo.isEmpty() || lectura.marcas.fin;
  return extraidas;
}

void PonerEstilos(std::span<const QString> estilos, QFont& fuente) {
  fuente.setBold(false);
  fuente.setItalic(false);
  fuente.setUnderline(false);
  fuente.setStrikeOut(false);
  for (const QString& estilo : estilos) {
    switch (EstiloFuente(estilo)) {
      case 0: fuente.setBold(true); break;
      case 1: fuente.setItalic(true); break;
      case 2: fuente.setUnderline(true); break;
      case 3: fuente.setStrikeOut(true); break;
      default: break;
    }
  }
}

void AplicarMarcas(const MarcasEstilo& marcas, QFont& fuente, QColor& color) {
  if (marcas.fin) return;
  if (!marcas.color.isEmpty()) {
    const int valor = ColorDeTexto(marcas.color);  // red in the low byte
    color = QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
  }
  if (!marcas.estilos.front().isEmpty()) PonerEstilos(marcas.estilos, fuente);
  if (marcas.tamano > 0) fuente.setPointSize(marcas.tamano);
}
