#include "printing/formlang/ProgramaImpreso.h"

#include "core/helpers/Textos.h"
#include "printing/formlang/LineaInstruccion.h"

namespace {

bool EsPie(Seccion seccion) {
  return seccion == Seccion::PieSumaYSigue || seccion == Seccion::Pie || seccion == Seccion::PiePagina;
}

}  // namespace

bool EsCabeceraSeccion(const QString& linea, Seccion& seccion) {
  static const std::array<QString, NumeroSecciones> cabeceras = {
      u"[SISTEMA]"_qs, u"[CABECERA]"_qs, u"[LINEAS]"_qs, u"[PIESUMAYSIGUE]"_qs, u"[PIE]"_qs, u"[PIEPAGINA]"_qs};
  const qsizetype igual = linea.indexOf(u'=');
  const QStringView nombre = QStringView(linea).left(igual < 0 ? linea.size() : igual);
  for (int n = 0; n < NumeroSecciones; ++n) {
    if (nombre == cabeceras[n]) {
      seccion = static_cast<Seccion>(n);
      return true;
    }
  }
  return false;
}

QStringList LineasPrograma(const QString& texto) {
  QStringList lineas;
  qsizetype inicio = 0;
  const qsizetype largo = texto.size();
  for (qsizetype at = 0; at < largo; ++at) {
    const QChar c = texto[at];
    if (c != u'\r' && c != u'\n') continue;
    lineas.append(texto.mid(inicio, at - inicio));
    if (c == u'\r' && at + 1 < largo && texto[at + 1] == u'\n') ++at;
    inicio = at + 1;
  }
  if (inicio < largo) lineas.append(texto.mid(inicio));
  return lineas;
}

ProgramaImpreso AnalizarPrograma(const QString& texto) {
  ProgramaImpreso programa;
  programa.separadorLibre = CaracterNoUsado(texto);
  bool enSeccion = false;
  Seccion actual = Seccion::Sistema;
  for (const QString& linea : LineasPrograma(texto)) {
    Seccion abierta;
    if (EsCabeceraSeccion(linea, abierta)) {
      actual = abierta;
      enSeccion = true;
    }
    if (!enSeccion) continue;
    programa.secciones[static_cast<int>(actual)].append(linea);
    if (EsPie(actual) && linea.startsWith(u"Suma") && programa.nombresSumas.size() < MaximoSumas)
      programa.nombresSumas.append(Pieza(linea, u';', 3));
  }
  for (int n = 1; n < NumeroSecciones; ++n)
    if (!programa.secciones[n].isEmpty()) programa.haySeccionesImpresion = true;
  return programa;
}
