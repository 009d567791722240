#include "maintenance/actualizacion/ListasActualizacion.h"

#include "core/helpers/Fechas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/DefinicionesEstructura.h"

namespace {

// A text that is no date counts as the zero date.
TDateTime fechaDe(const QString& texto) { return TextoAFechaHora(texto.trimmed()); }

// The mapping's part after the version marker, when it has one.
QString sinVersion(const QString& entrada) {
  return entrada.contains(QLatin1String("(*")) ? entrada.mid(entrada.indexOf(u')') + 1) : entrada;
}

}  // namespace

QStringList LlenarListaTablas(const QString& definiciones, TDateTime desdeFecha) {
  QStringList tablas;
  for (const QString& linea : LineasDefinicion(ListaTablasDefinidas(definiciones, QStringLiteral("IncluirFecha")))) {
    const QString tabla = linea.section(u'|', 0, 0);
    if (tabla == u"ORIGEN") continue;
    if (desdeFecha == 0 || fechaDe(linea.section(u'|', 1)) >= desdeFecha) tablas.append(tabla);
  }
  return tablas;
}

QString LlenarListaMapeado(const QString& definiciones, TDateTime desdeFecha) {
  QStringList mapeado;
  for (const QString& linea : LineasDefinicion(definiciones)) {
    if (PiezaDefinicion(1, linea) != u"MAP") continue;
    const QString version = PiezaDefinicion(2, linea);
    const QString entrada = PiezaDefinicion(0, linea) + u'=' + PiezaDefinicion(4, linea);
    if (version == QLatin1String(kVersionActual)) {
      mapeado.append(entrada);
      continue;
    }
    const QString dia = PiezaDefinicion(3, linea);
    const TDateTime fecha = fechaDe(dia.mid(6, 2) + u'/' + dia.mid(4, 2) + u'/' + dia.left(4));
    if (desdeFecha == 0 || fecha > desdeFecha) mapeado.append(QStringLiteral("(*") + version + u')' + entrada);
  }
  return mapeado.isEmpty() ? QString() : mapeado.join(QLatin1String("\r\n")) + QStringLiteral("\r\n");
}

bool MapeadoDeOtrasVersiones(const QString& mapeado, const QStringList& tablas) {
  for (const QString& linea : LineasDefinicion(mapeado))
    for (const QString& tabla : tablas)
      if (linea.contains(u')' + tabla)) return true;
  return false;
}

std::optional<QString> ColumnaMapeada(const QString& mapeado, const QString& tabla, const QString& columna) {
  for (const QString& linea : LineasDefinicion(mapeado)) {
    const QString entrada = sinVersion(linea);
    const qsizetype igual = entrada.indexOf(u'=');
    if (igual < 0 || entrada.left(igual) != tabla) continue;
    const QStringList columnas = entrada.mid(igual + 1).split(u',');
    if (columnas.value(0) == columna) return columnas.value(1);
  }
  return std::nullopt;
}

QString SentenciaBasesDatosEmpresas() {
  return QStringLiteral("SELECT ") + LiteralSQL(AliasBaseDatosEmpresa) +
         QStringLiteral(" + CONVERT(VARCHAR(4), Codigo) FROM EMPRESA ORDER BY Codigo");
}

QStringList LlenarListaBasesDatos() {
  QStringList bases{AliasBaseDatosGeneral};
  const QString empresas = EjecutarSQL(SentenciaBasesDatosEmpresas(), QStringLiteral("DatabaseGeneral"));
  if (!empresas.startsWith(QLatin1String("Error."))) bases.append(LineasDefinicion(empresas));
  return bases;
}

bool TablaDeBaseDatos(const QString& tabla, bool baseGeneral) {
  if (tabla == u"IDIOMA" || tabla == u"TXIDIOMA") return true;
  return EsTablaGeneral(tabla) == baseGeneral;
}
