#include "maintenance/actualizacion/ReconstruccionTablas.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/SentenciasCreacion.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/ListasActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "platform/data/Field.h"

#include <utility>
#include <vector>

namespace {

const QString kTemporal = QStringLiteral("TEMP_");

QString usar(const QString& baseDatos) { return QStringLiteral("USE ") + NombreSQL(baseDatos) + QStringLiteral("; "); }

QStringList nombres(const QStringList& columnas) {
  QStringList escritas;
  for (const QString& columna : columnas) escritas.append(NombreSQL(columna));
  return escritas;
}

// What one table's rebuild runs on its database, rolling back on failure.
class Reconstruccion {
 public:
  Reconstruccion(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones, QString baseDatos)
      : ejecucion_(ejecucion), opciones_(opciones), baseDatos_(std::move(baseDatos)) {}

  // False when the table failed.
  bool Tabla(const QString& tabla) {
    EjecucionActualizacion::ProcesarMensajes();
    ejecucion_.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QStringLiteral("...Actualizando la Tabla ") + tabla);
    if (!integridadCorrecta(tabla)) return false;
    const QString definicion = DefinicionTabla(tabla, opciones_.definiciones);
    if (!ejecutar(usar(baseDatos_) + QStringLiteral("BEGIN TRANSACTION"))) return false;
    const QString crear = SentenciasCrearTabla(conPrefijo(definicion), QStringLiteral("Tabla"));
    if (crear.isEmpty()) {
      ejecucion_.AnotarLinea(EjecucionActualizacion::Tipo::Error,
                             QStringLiteral("No está disponible el script de la tabla ") + baseDatos_ + u':' + tabla);
      return deshacer(tabla);
    }
    ejecutar(usar(baseDatos_) + QStringLiteral("DROP TABLE ") + NombreSQL(kTemporal + tabla), QStringLiteral("Silenciosa"));
    if (!ejecutar(usar(baseDatos_) + crear)) return deshacer(tabla);
    const auto [seleccion, insercion] = columnasCopiadas(tabla, definicion);
    if (!seleccion.isEmpty()) {
      if (!ejecutar(usar(baseDatos_) + QStringLiteral("INSERT INTO ") + NombreSQL(kTemporal + tabla) + QStringLiteral(" (") +
                    nombres(insercion).join(QLatin1String(", ")) + QStringLiteral(")   SELECT ") +
                    nombres(seleccion).join(QLatin1String(", ")) + QStringLiteral(" FROM ") + NombreSQL(tabla)) ||
          !ejecutar(usar(baseDatos_) + QStringLiteral("DROP TABLE ") + NombreSQL(tabla)))
        return deshacer(tabla);
    }
    if (!ejecutar(usar(baseDatos_) + QStringLiteral("EXEC sp_rename ") + LiteralSQL(kTemporal + tabla) +
                  QStringLiteral(", ") + LiteralSQL(tabla)))
      return deshacer(tabla);
    if (tienePrimaria(definicion))
      ejecutar(usar(baseDatos_) + QStringLiteral("EXEC sp_rename ") +
               LiteralSQL(tabla + u'.' + kTemporal + tabla + QStringLiteral("_Clave1")) + QStringLiteral(", ") +
               LiteralSQL(tabla + QStringLiteral("_Clave1")));
    const QString indices = SentenciasCrearTabla(LineasDefinicion(definicion), QStringLiteral("Indices"));
    const bool indicesCreados = indices.isEmpty() || ejecutar(usar(baseDatos_) + indices);
    for (const QString& linea : LineasDefinicion(definicion))
      if (PiezaDefinicion(1, linea) == u"SQL")
        sentencias_.emplace_back(tabla, PiezaDefinicion(4, linea).replace(QLatin1String("$SEPARADOR$"), QLatin1String("/")));
    if (!indicesCreados) return deshacer(tabla);
    if (!ejecutar(usar(baseDatos_) + QStringLiteral("COMMIT TRANSACTION"))) return deshacer(tabla);
    return true;
  }

  void SentenciasSQL() {
    for (const auto& [tabla, sentencia] : sentencias_) {
      EjecucionActualizacion::ProcesarMensajes();
      ejecucion_.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                             QStringLiteral("...Actualizando Sentencias SQL de la tabla ") + tabla);
      ejecutar(usar(baseDatos_) + sentencia);
    }
  }

 private:
  bool ejecutar(const QString& sql, const QString& opcionesSentencia = QString()) {
    QString error;
    return ejecucion_.EjecutarSentenciaActualizacion(sql, opcionesSentencia, error);
  }

  bool deshacer(const QString& tabla) {
    DeshacerTransaccion(ejecucion_, baseDatos_, tabla);
    return false;
  }

  // SQL Server logs what DBCC CHECKTABLE found; the newest line of the
  // table tells, so a table once clean does not pass for ever.
  bool integridadCorrecta(const QString& tabla) {
    if (!opciones_.comprobarEstadoTablas || EjecucionActualizacion::ServidorSQL2000() || !ExisteTabla(baseDatos_, tabla))
      return true;
    // The full check reads every index against its table, seconds for each
    // million records: only when the user asks for it.
    ejecucion_.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                           QStringLiteral("...Comprobando el estado de la Tabla ") + tabla +
                               (opciones_.comprobacionCompleta ? QStringLiteral(" (comprobación completa)")
                                                               : QStringLiteral(" (comprobación rápida)")));
    ejecutar(usar(baseDatos_) + QStringLiteral("DBCC CHECKTABLE ( ") + LiteralSQL(tabla) + u')' +
             (opciones_.comprobacionCompleta ? QString() : QStringLiteral(" WITH PHYSICAL_ONLY")));
    QString error;
    const QString lectura =
        usar(baseDatos_) + QStringLiteral("IF EXISTS (SELECT 1 FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME=") +
        LiteralSQL(tabla) + QStringLiteral(") EXEC xp_readerrorlog 0, 1, \"DBCC\", \"") + tabla +
        QStringLiteral("\", NULL, NULL, N'DESC'");
    if (!ejecucion_.ConsultarSentenciaActualizacion(lectura, QString(), error)) return true;
    Query& consulta = ejecucion_.Consulta();
    QString texto;
    if (consulta.Active() && !consulta.IsEmpty()) {
      consulta.First();
      texto = consulta.FieldByName(QStringLiteral("Text")).AsString();
    }
    consulta.Close();
    if (texto.isEmpty() || texto.contains(QLatin1String("found 0 errors"))) return true;
    ejecucion_.AnotarLinea(EjecucionActualizacion::Tipo::Error, QStringLiteral("La integridad de la tabla ") + baseDatos_ +
                                                                    u':' + tabla +
                                                                    QStringLiteral(" no permite su actualización. Detalle: ") +
                                                                    texto);
    return false;
  }

  static QStringList conPrefijo(const QString& definicion) {
    QStringList lineas = LineasDefinicion(definicion);
    for (QString& linea : lineas) linea.prepend(kTemporal);
    return lineas;
  }

  static bool tienePrimaria(const QString& definicion) {
    for (const QString& linea : LineasDefinicion(definicion))
      if (PiezaDefinicion(1, linea) == u"I" && PiezaDefinicion(3, linea) == u"<Primary>") return true;
    return false;
  }

  // The old table's columns as the server lists them, each copied into
  // itself or its mapped column; an auto-numbered field numbers anew.
  std::pair<QStringList, QStringList> columnasCopiadas(const QString& tabla, const QString& definicion) {
    QStringList seleccion, insercion;
    const QStringList campos = LineasDefinicion(ListaCamposDefinidos(tabla, opciones_.definiciones, QStringLiteral("IncluirTipo")));
    QString error;
    if (!ejecucion_.ConsultarSentenciaActualizacion(
            usar(baseDatos_) + QStringLiteral("SELECT C.Name, C.xtype, C.colstat   FROM SYSCOLUMNS C JOIN SYSOBJECTS O ") +
                QStringLiteral("       ON C.id = O.id   WHERE O.name = ") + LiteralSQL(tabla),
            QString(), error))
      return {};
    Query& consulta = ejecucion_.Consulta();
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      const QString columna = consulta.FieldByName(QStringLiteral("Name")).AsString();
      if (campos.contains(columna + QStringLiteral("/ftAutoInc"))) continue;
      if (const std::optional<QString> nueva = ColumnaMapeada(opciones_.mapeado, tabla, columna)) {
        seleccion.append(columna);
        insercion.append(*nueva);
      } else if (definicion.contains(u'/' + columna + u'/')) {
        seleccion.append(columna);
        insercion.append(columna);
      }
    }
    consulta.Close();
    return {seleccion, insercion};
  }

  EjecucionActualizacion& ejecucion_;
  const OpcionesActualizacion& opciones_;
  QString baseDatos_;
  std::vector<std::pair<QString, QString>> sentencias_;
};

}  // namespace

bool ExisteTabla(const QString& baseDatos, const QString& tabla) {
  const QString filas = EjecutarSQL(QStringLiteral("SELECT name FROM ") + NombreSQL(baseDatos) + QStringLiteral(".dbo.sysobjects ") +
                                        QStringLiteral("  WHERE name = ") + LiteralSQL(tabla),
                                    QStringLiteral("Database"), QStringLiteral("Silenciosa"));
  return !filas.isEmpty() && !filas.startsWith(QLatin1String("Error."));
}

void DeshacerTransaccion(EjecucionActualizacion& ejecucion, const QString& baseDatos, const QString& tabla) {
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("...Deshaciendo transacción en ") + baseDatos + QStringLiteral(": ") + tabla);
  QString error;
  ejecucion.EjecutarSentenciaActualizacion(usar(baseDatos) + QStringLiteral("ROLLBACK TRANSACTION"), QString(), error);
}

bool ActualizarTablas(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                      const QString& baseDatos) {
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("Inicio del proceso de Actualización de la Base de Datos ") + baseDatos);
  const bool general = baseDatos == AliasBaseDatosGeneral;
  Reconstruccion reconstruccion(ejecucion, opciones, baseDatos);
  bool correcto = true;
  for (const QString& tabla : opciones.tablas)
    if (TablaDeBaseDatos(tabla, general) && !reconstruccion.Tabla(tabla)) correcto = false;
  reconstruccion.SentenciasSQL();
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QString());
  return correcto;
}

void CrearTablasNoExistentes(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                             const QString& baseDatos) {
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("Inicio del proceso de Creación de Tablas de la Base de Datos ") + baseDatos);
  const bool general = baseDatos == AliasBaseDatosGeneral;
  for (const QString& tabla : LineasDefinicion(ListaTablasDefinidas(opciones.definiciones))) {
    if (!TablaDeBaseDatos(tabla, general) || ExisteTabla(baseDatos, tabla)) continue;
    EjecucionActualizacion::ProcesarMensajes();
    ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QStringLiteral("...Creando la Tabla ") + tabla);
    const QString sentencias = SentenciasCrearTabla(LineasDefinicion(DefinicionTabla(tabla, opciones.definiciones)));
    if (sentencias.isEmpty()) {
      ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error,
                            QStringLiteral("No está disponible el script de la tabla ") + baseDatos + u':' + tabla);
      continue;
    }
    QString error;
    if (!ejecucion.EjecutarSentenciaActualizacion(usar(baseDatos) + sentencias, QString(), error))
      ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error, QStringLiteral("No ha sido creada la tabla ") + baseDatos +
                                                                     u':' + tabla + QStringLiteral(". ") +
                                                                     QStringLiteral("Motivo: ") + error);
  }
  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso, QString());
}
