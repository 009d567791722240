#include "printing/formlang/AjustesImpreso.h"

#include "printing/formlang/NumerosImpreso.h"

#include <algorithm>

namespace {

void LeerDecimal(const LineaInstruccion& linea, int n, double& ajuste) { LeerNumeroImpreso(linea.Argumento(n), ajuste); }

void LeerEntero(const LineaInstruccion& linea, int n, qint64& ajuste) { LeerEnteroImpreso(linea.Argumento(n), ajuste); }

void LeerCompresion(const LineaInstruccion& linea, int n, double& ajuste) {
  double valor = 0;
  if (LeerNumeroImpreso(linea.Argumento(n), valor) && valor > 0) ajuste = valor;
}

void LeerCuentaEtiquetas(const LineaInstruccion& linea, int n, qint64& ajuste) {
  qint64 valor = 0;
  if (LeerEnteroImpreso(linea.Argumento(n), valor)) ajuste = std::max<qint64>(valor, 1);
}

}  // namespace

qint64 AjustesImpreso::LineasPorPagina() const {
  if (finLineas == FinLineasContinuo) return FinLineasContinuo;
  if (alturaLinea == 0) return 0;
  return (finLineas - inicioLineas) / alturaLinea;
}

bool EsGrupoAnalisis(const QString& palabra) {
  static const QString prefijo = u"GrupoAnalisis"_qs;
  if (!palabra.startsWith(prefijo)) return false;
  qint64 numero = 0;
  return LeerEnteroImpreso(palabra.mid(prefijo.size(), 2), numero) && numero >= 1 && numero <= 99;
}

bool AplicarAjuste(const LineaInstruccion& linea, AjustesImpreso& ajustes) {
  const QString& palabra = linea.palabra;
  if (palabra == u"Margenes") {
    LeerDecimal(linea, 1, ajustes.margenIzquierdo);
    LeerDecimal(linea, 2, ajustes.margenSuperior);
  } else if (palabra == u"FormatoEtiqueta") {
    LeerCuentaEtiquetas(linea, 1, ajustes.etiquetasPorFila);
    LeerCuentaEtiquetas(linea, 2, ajustes.filasEtiquetas);
    LeerDecimal(linea, 3, ajustes.anchoEtiqueta);
    LeerDecimal(linea, 4, ajustes.altoEtiqueta);
  } else if (palabra == u"Compresion") {
    LeerCompresion(linea, 1, ajustes.compresionHorizontal);
    LeerCompresion(linea, 2, ajustes.compresionVertical);
  } else if (palabra == u"AlturaLinea") {
    LeerEntero(linea, 1, ajustes.alturaLinea);
  } else if (palabra == u"InicioLineas") {
    LeerEntero(linea, 1, ajustes.inicioLineas);
  } else if (palabra == u"FinLineas") {
    LeerEntero(linea, 1, ajustes.finLineas);
  } else if (palabra == u"DriverAlternativo") {
    ajustes.driverAlternativo = linea.argumentos;
  } else if (palabra == u"Conexion") {
    const qsizetype mayor = linea.argumentos.indexOf(u'>');
    ajustes.conexiones.append({linea.argumentos.left(mayor < 0 ? linea.argumentos.size() : mayor),
                               mayor < 0 ? QString() : linea.argumentos.mid(mayor + 1)});
  } else if (EsGrupoAnalisis(palabra)) {
    ajustes.gruposAnalisis.append(palabra + u';' + linea.argumentos);
  } else {
    return false;
  }
  return true;
}
