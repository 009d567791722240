#include "core/tables/SentenciasCreacion.h"

#include "core/connections/Conexiones.h"
#include "core/connections/VariablesConexion.h"
#include "core/helpers/Letras.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/helpers/TiposCampo.h"
#include "core/startup/Configuracion.h"
#include "platform/data/TypeTable.h"

#include <functional>

namespace {

using Nombrar = std::function<QString(const QString&)>;

QString identificador(const QString& nombre) {
  QString valido;
  return IdentificadorValido(nombre, valido) ? nombre : valido;
}

QString camposIndice(const QString& campos, const Nombrar& nombrar) {
  QStringList nombres;
  for (const QString& campo : campos.split(u';')) nombres.append(nombrar(campo));
  return nombres.join(u',');
}

struct Columnas {
  QString columnas;
  QString claves;
};

Columnas columnasDe(const QStringList& lineas, const Nombrar& nombrar, bool sqlGenerica) {
  Columnas resultado;
  for (const QString& linea : lineas) {
    if (PiezaDefinicion(1, linea) != u"C") continue;
    const QString campo = PiezaDefinicion(3, linea);
    TypeTable::SqlServerColumnOptions opciones;
    opciones.length = PiezaDefinicion(5, linea);
    opciones.decimalType = TipoDecimalSQL(campo);
    opciones.nullDate = FechaNulaSQL;
    opciones.textForMax = VersionServidorSQL.contains(QLatin1String("Microsoft SQL Server  2000"));
    opciones.genericSql = sqlGenerica;
    const QString nombre = nombrar(campo);
    resultado.columnas += nombre + TypeTable::SqlServerColumn(TipoCampoDeTexto(PiezaDefinicion(4, linea)), opciones);
    if (PiezaDefinicion(6, linea) == u"*") {
      resultado.columnas += QStringLiteral(", ");
      resultado.claves += nombre + QStringLiteral(", ");
    } else {
      resultado.columnas += QStringLiteral(" NULL, ");
    }
  }
  return resultado;
}

QString crearTabla(const QString& prefijo, const QString& tabla, const Columnas& columnas) {
  QString sentencia = QStringLiteral("CREATE TABLE ") + prefijo + tabla + QStringLiteral(" (") + columnas.columnas;
  if (!columnas.claves.isEmpty())
    sentencia += QStringLiteral("CONSTRAINT ") + tabla + QStringLiteral("_Clave1 PRIMARY KEY (") + columnas.claves + u')';
  sentencia += u')';
  return sentencia.replace(QLatin1String(", )"), QLatin1String(")"));
}

}  // namespace

QString TipoDecimalSQL(const QString& campo) {
  return campo == u"Cambio" || campo.contains(QLatin1String("Factor")) ? QStringLiteral("DECIMAL(28,12)")
                                                                        : QStringLiteral("DECIMAL(28,8)");
}

QString NombreColumnaSQL(const QString& nombre) {
  if (!EsSQLServer()) return nombre;
  QString resultado = nombre;
  if (resultado.contains(u'ñ')) return resultado.replace(u'ñ', u'_');
  return resultado.remove(u'-');
}

QString SentenciaCrearTablaSQL(const QString& tabla, const QStringList& lineas, const QString& motor, bool temporal) {
  const bool sqlServer = motor == QLatin1String(kMicrosoftSQLServer);
  const Columnas columnas = columnasDe(lineas, NombreColumnaSQL, !sqlServer);
  if (columnas.columnas.isEmpty()) return QString();
  QString sentencia = crearTabla(sqlServer ? QStringLiteral("dbo.") : QString(), tabla, columnas);
  if (sqlServer && temporal) sentencia.remove(QStringLiteral("dbo."));
  return sentencia;
}

QStringList SentenciasIndicesSQL(const QString& tabla, const QStringList& lineas) {
  QStringList sentencias;
  for (const QString& linea : lineas) {
    const QString indice = NombreColumnaSQL(PiezaDefinicion(3, linea));
    if (PiezaDefinicion(1, linea) != u"I" || indice == u"<Primary>") continue;
    sentencias.append(QStringLiteral("CREATE INDEX ") + tabla + u'_' + indice + QStringLiteral(" ON ") + tabla +
                      QStringLiteral(" (") + camposIndice(PiezaDefinicion(4, linea), NombreColumnaSQL) + QStringLiteral(") "));
  }
  return sentencias;
}

QString SentenciasCrearTabla(const QStringList& lineas, const QString& partes) {
  if (lineas.isEmpty() || PiezaDefinicion(0, lineas.first()).isEmpty()) return QString();
  const QString tabla = PiezaDefinicion(0, lineas.first());
  const QString buscadas = partes.isEmpty() ? QStringLiteral("Tabla,Indices") : partes;
  QString resultado;
  if (buscadas.contains(QLatin1String("Tabla"))) {
    const Columnas columnas = columnasDe(lineas, identificador, false);
    if (columnas.columnas.isEmpty()) return QString();
    resultado = crearTabla(QStringLiteral("dbo."), tabla, columnas);
  }
  if (buscadas.contains(QLatin1String("Indices"))) {
    for (const QString& linea : lineas) {
      if (PiezaDefinicion(1, linea) != u"I" || PiezaDefinicion(3, linea) == u"<Primary>") continue;
      if (buscadas.contains(QLatin1String("Tablas"))) resultado += QStringLiteral("; ");
      resultado += QStringLiteral("CREATE INDEX ") + tabla + u'_' + identificador(PiezaDefinicion(3, linea)) +
                   QStringLiteral("  ON ") + tabla + QStringLiteral(" (") + camposIndice(PiezaDefinicion(4, linea), identificador) +
                   QStringLiteral(") ");
    }
  }
  return resultado;
}
