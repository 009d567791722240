#include "dialogs/SentenciaBusqueda.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Validacion.h"
#include "core/startup/Configuracion.h"
#include "platform/format/Format.h"

#include <algorithm>

namespace {

// Aproximada compares dates and times as the server reads them.
QString valorAproximado(const QString& campo, const QString& valor) {
  if (ValidarFecha(valor, QString())) return FormatDateTime(FormatoFechaSQL, StrToDate(valor));
  if (campo.contains(QLatin1String("Hora")) && ValidarHora(valor, QString()))
    return FormatDateTime(FormatoFechaSQL + QStringLiteral(" hh:nn:ss"), StrToTime(valor));
  return valor;
}

QString par(const CriterioBusqueda& criterio, const QString& campo, QString valor, bool ultimo) {
  switch (criterio.modo) {
    case ModoBusqueda::Parcial:
      return QStringLiteral(" (%1 LIKE %2) AND ").arg(NombreSQL(campo), LiteralSQL(valor + u'%'));
    case ModoBusqueda::Fonetica:
      return QStringLiteral(" (%1 LIKE %2) AND ").arg(NombreSQL(campo), LiteralSQL(u'%' + valor + u'%'));
    case ModoBusqueda::Aproximada:
      break;
  }
  valor = valorAproximado(campo, valor);
  return QStringLiteral(" (%1%2%3) AND ")
      .arg(NombreSQL(campo), ultimo ? QStringLiteral(" >= ") : QStringLiteral(" = "), LiteralSQL(valor));
}

QString parteWhere(const CriterioBusqueda& criterio) {
  const QString condicion = CondicionBusqueda(criterio);
  if (condicion.isEmpty() && criterio.condicionAdicional.isEmpty()) return {};
  if (condicion.isEmpty()) return QStringLiteral(" WHERE ") + criterio.condicionAdicional;
  if (criterio.condicionAdicional.isEmpty()) return QStringLiteral(" WHERE ") + condicion;
  return QStringLiteral(" WHERE ") + condicion + QStringLiteral(" AND (") + criterio.condicionAdicional + u')';
}

QStringList camposOrden(const CriterioBusqueda& criterio) {
  return criterio.ordenados ? criterio.campos.split(u';') : QStringList();
}

QString parteOrden(const QStringList& campos) {
  QStringList nombres;
  for (const QString& campo : campos) nombres.append(NombreSQL(campo));
  return campos.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + nombres.join(u',');
}

QString seleccionDe(const CriterioBusqueda& criterio) {
  return QStringLiteral("SELECT ") + criterio.seleccion + QStringLiteral(" FROM ") + NombreSQLTabla(criterio.tabla) +
         QStringLiteral(" WITH(NOLOCK) ");
}

bool sonColumnas(const QString& campos, const QStringList& columnas) {
  const QStringList piezas = campos.split(u';', Qt::SkipEmptyParts);
  return std::all_of(piezas.begin(), piezas.end(),
                     [&columnas](const QString& pieza) { return columnas.contains(pieza, Qt::CaseInsensitive); });
}

// The rows after the last one in the order of the terms; NULL sorts first.
QString despues(const QStringList& orden, const QVariantHash& ultima, qsizetype desde,
                const PaquetesBusqueda::Literal& literal) {
  const QVariant valor = ultima.value(orden[desde]);
  const QString termino = NombreSQL(orden[desde]);
  const bool final = desde + 1 == orden.size();
  if (valor.isNull()) {
    if (final) return termino + QStringLiteral(" IS NOT NULL");
    return QStringLiteral("(%1 IS NOT NULL OR (%1 IS NULL AND %2))").arg(termino, despues(orden, ultima, desde + 1, literal));
  }
  const QString texto = literal(orden[desde], valor);
  if (final) return QStringLiteral("%1 > %2").arg(termino, texto);
  return QStringLiteral("(%1 > %2 OR (%1 = %2 AND %3))").arg(termino, texto, despues(orden, ultima, desde + 1, literal));
}

}  // namespace

QString CondicionBusqueda(const CriterioBusqueda& criterio) {
  const QStringList campos = criterio.campos.split(u';');
  QString valores = criterio.valores;
  valores.replace(u',', u';');
  const QStringList lista = valores.split(u';');
  qsizetype pares = 0;
  while (pares < campos.size() && pares < lista.size() && !campos[pares].isEmpty() && !lista[pares].isEmpty()) ++pares;
  QString condicion;
  for (qsizetype i = 0; i < pares; ++i) condicion += par(criterio, campos[i], lista[i], i + 1 == pares);
  condicion.chop(4);
  return condicion;
}

QString TerminoAproximado(const QString& columna, const QString& patron) {
  return u'(' + NombreSQL(columna) + QStringLiteral(" LIKE ") + LiteralSQL(u'%' + patron + u'%') + u')';
}

QString SentenciaBusqueda(const CriterioBusqueda& criterio, const QStringList& columnas) {
  if (!sonColumnas(criterio.campos, columnas)) return {};
  return seleccionDe(criterio) + parteWhere(criterio) + parteOrden(camposOrden(criterio));
}

QString LimitarSentencia(const QString& sentencia, int registros) {
  QString limitada = sentencia;
  const qsizetype en = limitada.indexOf(QLatin1String("SELECT"));
  if (en >= 0) limitada.replace(en, 6, QStringLiteral("SELECT TOP ") + QString::number(registros));
  return limitada;
}

PaquetesBusqueda::PaquetesBusqueda(QString seleccion, QString where, const QStringList& orden, int registros,
                                   Continuacion continuacion)
    : seleccion_(std::move(seleccion)), where_(std::move(where)), registros_(registros), continuacion_(continuacion) {
  for (const QString& campo : orden)
    if (!campo.isEmpty() && !orden_.contains(campo, Qt::CaseInsensitive)) orden_.append(campo);
}

QString PaquetesBusqueda::sentencia(const QString& continuacion) const {
  if (PorPosicion()) return Siguiente(0);
  QString where = where_;
  if (!continuacion.isEmpty())
    where += (where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND (")) + continuacion +
             (where.isEmpty() ? QString() : QStringLiteral(")"));
  return LimitarSentencia(seleccion_ + where + parteOrden(orden_), registros_);
}

PaquetesBusqueda PaquetesDeBusqueda(const CriterioBusqueda& criterio, const QStringList& claves, int registros) {
  return PaquetesBusqueda(seleccionDe(criterio), parteWhere(criterio), camposOrden(criterio) + claves, registros);
}

PaquetesBusqueda PaquetesPorFila(const CriterioBusqueda& criterio, const QString& fila, int registros) {
  CriterioBusqueda conFila = criterio;
  conFila.seleccion = fila + u',' + criterio.seleccion;
  return PaquetesBusqueda(seleccionDe(conFila), parteWhere(criterio), camposOrden(criterio) + QStringList{fila},
                          registros);
}

PaquetesBusqueda PaquetesPorPosicion(const CriterioBusqueda& criterio, const QStringList& ordenables, int registros) {
  return PaquetesBusqueda(seleccionDe(criterio), parteWhere(criterio), camposOrden(criterio) + ordenables, registros,
                          PaquetesBusqueda::Continuacion::PorPosicion);
}

QString PaquetesBusqueda::Primera() const { return sentencia(QString()); }

QString PaquetesBusqueda::Siguiente(int leidas) const {
  if (!PorPosicion()) return {};
  return seleccion_ + where_ + parteOrden(orden_) +
         QStringLiteral(" OFFSET %1 ROWS FETCH NEXT %2 ROWS ONLY").arg(leidas).arg(registros_);
}

QString PaquetesBusqueda::Siguiente(const QVariantHash& ultima, const Literal& literal) const {
  if (orden_.isEmpty() || PorPosicion()) return {};
  QVariantHash porNombre;
  for (const QString& termino : orden_) {
    const auto hallada = std::find_if(ultima.keyBegin(), ultima.keyEnd(), [&termino](const QString& columna) {
      return columna.compare(termino, Qt::CaseInsensitive) == 0;
    });
    if (hallada == ultima.keyEnd()) return {};
    porNombre.insert(termino, ultima.value(*hallada));
  }
  return sentencia(despues(orden_, porNombre, 0, literal));
}
