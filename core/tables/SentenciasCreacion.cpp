#include "core/tables/SentenciasCreacion.h"

#include "core/connections/Conexiones.h"
#include "core/connections/VariablesConexion.h"
#include "core/helpers/Letras.h"
#include "core/helpers/LiteralesSQL.h"
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
  for (const QString& campo : campos.split(u';')) nombres.append(NombreSQL(nombrar(campo)));
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
    const QString nombre = NombreSQL(nombrar(campo));
    const FieldType tipo = TipoCampoDeTexto(PiezaDefinicion(4, linea));
    resultado.columnas += nombre + TypeTable::SqlServerColumn(tipo, opciones);
    const bool clave = PiezaDefinicion(6, linea) == u"*";
    if (clave) resultado.claves += nombre + QStringLiteral(", ");
    // SQL Server refuses an IDENTITY column declared NULL.
    if (clave || tipo == ftAutoInc) {
      resultado.columnas += QStringLiteral(", ");
    } else {
      resultado.columnas += QStringLiteral(" NULL, ");
    }
  }
  return resultado;
}

// Each column and key ends in ", ": the last one's is dropped here rather
// than by replacing ", )" in the statement, which could be part of a name.
QString sinSeparadorFinal(QString lista) {
  if (lista.endsWith(QLatin1String(", "))) lista.chop(2);
  return lista;
}

QString crearTabla(const QString& prefijo, const QString& tabla, const Columnas& columnas) {
  QString sentencia = QStringLiteral("CREATE TABLE ") + prefijo + NombreSQL(tabla) + QStringLiteral(" (");
  if (columnas.claves.isEmpty()) return sentencia + sinSeparadorFinal(columnas.columnas) + u')';
  return sentencia + columnas.columnas + QStringLiteral("CONSTRAINT ") + NombreSQL(tabla + QStringLiteral("_Clave1")) +
         QStringLiteral(" PRIMARY KEY (") + sinSeparadorFinal(columnas.claves) + QStringLiteral("))");
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
  return crearTabla(sqlServer && !temporal ? QStringLiteral("dbo.") : QString(), tabla, columnas);
}

QStringList SentenciasIndicesSQL(const QString& tabla, const QStringList& lineas) {
  QStringList sentencias;
  for (const QString& linea : lineas) {
    const QString indice = NombreColumnaSQL(PiezaDefinicion(3, linea));
    if (PiezaDefinicion(1, linea) != u"I" || indice == u"<Primary>") continue;
    sentencias.append(QStringLiteral("CREATE INDEX ") + NombreSQL(tabla + u'_' + indice) + QStringLiteral(" ON ") + NombreSQL(tabla) +
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
      resultado += QStringLiteral("CREATE INDEX ") + NombreSQL(tabla + u'_' + identificador(PiezaDefinicion(3, linea))) +
                   QStringLiteral("  ON ") + NombreSQL(tabla) + QStringLiteral(" (") + camposIndice(PiezaDefinicion(4, linea), identificador) +
                   QStringLiteral(") ");
    }
  }
  return resultado;
}
