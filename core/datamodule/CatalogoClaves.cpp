#include "core/datamodule/CatalogoClaves.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/Genemodu.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/Textos.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

#include <QStringList>

namespace {

QString sinPrefijo(const QString& tabla) { return tabla.mid(tabla.lastIndexOf(u'.') + 1); }

// Where SQL Server's catalogue is not the engine's: Paradox folders, and
// temporary tables kept as files.
bool catalogoLocal(const QString& tabla) {
  return !EsSQLServer() || (EsTablaTemporal(tabla) && !ArchivosTemporalesEnBD);
}

QString baseDatosDe(const QString& tabla) {
  if (EsTablaTemporal(tabla)) return PathArchivosTemporales;
  if (EsTablaGeneral(tabla)) return QStringLiteral("DatabaseGeneral");
  return {};
}

bool usaCache(const QString& tabla) { return ModuloDatosListo && ModuloDatos && !EsTablaTemporal(tabla); }

QString consultarCatalogo(const QString& sql, const QString& tabla, const QString& baseDatos) {
  QString lineas =
      usaCache(tabla) ? EjecutarSQLConCache(sql, ModuloDatos->CacheConsultasSQL, baseDatos) : EjecutarSQL(sql, baseDatos);
  return lineas.replace(QLatin1String("\r\n"), QLatin1String(";"));
}

bool mismoNombre(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The local file names the primary index Clave1 and the others as created.
QString indiceLocal(const QString& tabla, const QString& baseDatos, const QString& nombreIndice) {
  Table local;
  local.SetDatabaseName(BaseDatosBDE(baseDatos));
  local.SetTableName(sinPrefijo(tabla));
  try {
    local.UpdateIndexDefs();
  } catch (const std::exception&) {
    return {};
  }
  const QString prefijo = sinPrefijo(tabla) + u'_';
  for (const IndexDef& indice : local.IndexDefs()) {
    const QString nombre = (indice.Options & ixPrimary) ? QStringLiteral("Clave1") : indice.Name;
    if (mismoNombre(prefijo + nombre, nombreIndice) || mismoNombre(nombre, nombreIndice)) return indice.Fields;
  }
  return {};
}

// Text, image and other long columns, which SQL Server cannot sort.
bool esLargo(FieldType tipo) {
  switch (tipo) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return true;
    default:
      return false;
  }
}

QStringList columnasLocales(const QString& tabla, const QString& baseDatos, bool sinMemos, bool ordenables) {
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(baseDatos));
  consulta.SQL().SetText(QStringLiteral("SELECT * FROM ") + NombreSQLTabla(tabla) + QStringLiteral(" WHERE 1 = 0"));
  try {
    consulta.Open();
  } catch (const std::exception&) {
    return {};
  }
  QStringList columnas;
  for (int i = 0; i < consulta.FieldCount(); ++i) {
    const Field& campo = consulta.Fields(i);
    if (sinMemos && (campo.DataType() == ftMemo || campo.DataType() == ftFmtMemo)) continue;
    if (ordenables && esLargo(campo.DataType())) continue;
    columnas.append(campo.FieldName());
  }
  return columnas;
}

// The list joined by ";": a name that would be split, or is no name at all,
// is left out of it.
QString listaDeNombres(const QStringList& nombres, QStringList* noValidos) {
  QStringList lista;
  for (const QString& nombre : nombres) {
    if (NombreObjetoSQLValido(nombre, u";")) {
      lista.append(nombre);
    } else if (noValidos) {
      noValidos->append(nombre);
    }
  }
  return lista.join(u';');
}

}  // namespace

QString DefinicionIndice(Table& tabla, const QString& indice) {
  if (EsSQLServer() && !(EsTablaTemporal(tabla.TableName()) && !ArchivosTemporalesEnBD))
    return CamposClavePrimaria(tabla.TableName(), indice);
  try {
    tabla.UpdateIndexDefs();
    for (const IndexDef& definicion : tabla.IndexDefs())
      if (indice.isEmpty() || definicion.Name == indice) return definicion.Fields;
  } catch (const std::exception&) {
  }
  return {};
}

QString CamposClavePrimaria(const QString& tabla, const QString& indice) {
  QString nombreIndice = indice;
  if (indice.isEmpty())
    nombreIndice = sinPrefijo(tabla) + QStringLiteral("_Clave1");
  else if (!indice.contains(u'_'))
    nombreIndice = sinPrefijo(tabla) + u'_' + indice;
  const QString baseDatos = baseDatosDe(tabla);
  if (catalogoLocal(tabla)) return indiceLocal(tabla, baseDatos, nombreIndice);
  return consultarCatalogo(
      QStringLiteral("SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   "
                     "JOIN SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = ") +
          LiteralSQL(nombreIndice) + QStringLiteral("  ORDER BY K.KeyNo"),
      tabla, baseDatos);
}

QString ListaColumnas(const QString& tabla, const QString& opciones, QStringList* noValidos) {
  QString baseDatos = baseDatosDe(tabla);
  // An owner prefix alone names no database.
  if (baseDatos.isEmpty() && tabla.contains(u'.') && !mismoNombre(tabla.section(u'.', 0, 0), QStringLiteral("dbo")))
    baseDatos = tabla.section(u'.', 0, 0);
  const QString nombre = sinPrefijo(tabla);
  const bool sinMemos = opciones.contains(QLatin1String("SinMemos"));
  const bool ordenables = opciones.contains(QLatin1String("Ordenables"));
  if (catalogoLocal(tabla)) return listaDeNombres(columnasLocales(nombre, baseDatos, sinMemos, ordenables), noValidos);
  // Read row by row: a name holding a line break or a ";" would come out of
  // the result's text as two.
  const QString sql = QStringLiteral("SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   "
                                     "WHERE O.name = ") +
                      LiteralSQL(nombre) + (sinMemos ? QStringLiteral(" AND C.xtype <> 35 ") : QString()) +
                      (ordenables ? QStringLiteral(" AND C.xtype NOT IN (34, 35, 99, 241) ") : QString()) +
                      QStringLiteral(" ORDER BY C.colid ");
  const std::optional<QList<QStringList>> filas =
      usaCache(tabla) ? EjecutarSQLFilasConCache(sql, ModuloDatos->CacheConsultasSQL, baseDatos)
                      : EjecutarSQLFilas(sql, baseDatos);
  if (!filas) return QStringLiteral("Error.");
  QStringList nombres;
  for (const QStringList& fila : *filas) nombres.append(fila.value(0));
  return listaDeNombres(nombres, noValidos);
}

QString ColumnasSinMemos(const QString& tabla, const QString& opciones) {
  QString opcionesLista = opciones;
  opcionesLista.replace(QLatin1String("Sin Campos Memo"), QLatin1String("SinMemos"));
  return ListaColumnas(tabla, opcionesLista).replace(u';', QLatin1String("\r\n"));
}

int NumeroCamposClaveTabla(const QString& tabla) {
  const QString campos = CamposClavePrimaria(tabla);
  return campos.isEmpty() ? 0 : ContarCaracter(u';', campos) + 1;
}
