#include "maintenance/actualizacion/TriggersActualizacion.h"

#include "core/connections/VariablesConexion.h"
#include "core/datamodule/ArchivosValores.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TiposCampo.h"
#include "core/startup/Configuracion.h"
#include "core/tables/DefinicionesEstructura.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "platform/data/TypeTable.h"
#include "platform/engine/EngineDialect.h"
#include "platform/sql/EmbeddedServer.h"

namespace {

const QString kTablaRegistro = QStringLiteral("REGACCES");

// The declared type of a key variable.
QString tipoClave(const QString& tipo, const QString& longitud) {
  if (tipo == u"ftInteger" || tipo == u"ftAutoInc") return QStringLiteral("int");
  if (tipo == u"ftSmallint") return QStringLiteral("smallint");
  if (tipo == u"ftFloat") return QStringLiteral("decimal");
  if (tipo == u"ftString") return QStringLiteral("varchar(") + longitud + u')';
  if (tipo == u"ftDateTime") return QStringLiteral("datetime");
  TypeTable::SqlServerColumnOptions opciones;
  opciones.length = longitud;
  QString columna = TypeTable::SqlServerColumn(TipoCampoDeTexto(tipo), opciones).trimmed();
  return columna.section(u' ', 0, 0);
}

AuditTrigger::Written escrito(const QString& campo, const QString& tipo) {
  if (tipo == u"ftMemo") return AuditTrigger::Written::LeftOut;
  if (tipo != u"ftDateTime") return AuditTrigger::Written::Text;
  return campo.toUpper().contains(QLatin1String("HORA")) ? AuditTrigger::Written::Time : AuditTrigger::Written::Date;
}

// The embedded server runs row triggers of its own in place of the server's text.
const EngineDialect& dialecto() {
  return EmbeddedServer::FolderOfServerName(ServidorSQL) ? EngineDialect::Sqlite() : EngineDialect::SqlServer();
}

bool ejecutar(EjecucionActualizacion& ejecucion, const QString& sql, const QString& opciones, QString& error) {
  return ejecucion.EjecutarSentenciaActualizacion(sql, opciones, error);
}

void eliminarTrigger(EjecucionActualizacion& ejecucion, const QString& trigger) {
  QString error;
  if (!ejecutar(ejecucion, SentenciaEliminarTrigger(trigger), QStringLiteral("SinMensaje"), error) &&
      !error.contains(QLatin1String("does not exist")))
    ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error,
                          QStringLiteral("No ha sido posible eliminar el trigger ") + trigger + QStringLiteral(". Motivo: ") + error);
}

void crearTrigger(EjecucionActualizacion& ejecucion, const QString& sql, const QString& nombre, const QString& baseDatos) {
  QString error;
  if (!ejecutar(ejecucion, sql, QStringLiteral("SinMensaje"), error))
    ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error, QStringLiteral("No ha sido posible crear el trigger ") + nombre +
                                                                   QStringLiteral(" en ") + baseDatos +
                                                                   QStringLiteral(". Motivo: ") + error);
}

void triggerBLOBTAB(EjecucionActualizacion& ejecucion, const QString& baseDatos) {
  QString error;
  ejecutar(ejecucion, QStringLiteral("USE ") + NombreSQL(baseDatos), QString(), error);
  eliminarTrigger(ejecucion, QStringLiteral("TriggerUpdateImageBLOBTAB"));
  crearTrigger(ejecucion, TextoTriggerBLOBTAB(), QStringLiteral("TriggerBLOBTABUpdateImage BLOBTAB"), baseDatos);
}

QStringList tablasRegistradas() {
  QString lista;
  LeerValorTexto(ArchivoINI, QStringLiteral("RegistrarAccesoATablas"), lista, QString());
  QStringList tablas;
  for (const QString& tabla : lista.split(u',', Qt::SkipEmptyParts))
    if (!EsTablaGeneral(tabla.trimmed())) tablas.append(tabla.trimmed());
  return tablas;
}

}  // namespace

QString SentenciaEliminarTrigger(const QString& trigger) { return QStringLiteral("DROP TRIGGER ") + NombreSQL(trigger); }

QString TextoTriggerBLOBTAB() {
  const QString imagen = EjecucionActualizacion::ServidorSQL2000() ? QStringLiteral("IMAGE") : QStringLiteral("varbinary(MAX)");
  return QStringLiteral("CREATE TRIGGER TriggerUpdateImageBLOBTAB ON BLOBTAB   AFTER INSERT, UPDATE AS   BEGIN     DECLARE @Imagen ") +
         imagen + u',' + QStringLiteral("            @NombreTabla varchar(30),") +
         QStringLiteral("            @ClaveTabla varchar(136),") + QStringLiteral("            @IdObjeto varchar(40) ") +
         QStringLiteral("    SELECT @NombreTabla = NombreTabla,") + QStringLiteral("           @ClaveTabla = ClaveTabla,") +
         QStringLiteral("           @IdObjeto = IdObjeto ") + QStringLiteral("    FROM inserted; ") +
         QStringLiteral("    SELECT @Imagen = Objeto FROM BLOBTAB ") + QStringLiteral("      WHERE NombreTabla = @NombreTabla ") +
         QStringLiteral("        AND ClaveTabla = @ClaveTabla ") + QStringLiteral("        AND IdObjeto = @IdObjeto;") +
         QStringLiteral("    UPDATE BLOBTAB SET Objeto = @Imagen ") + QStringLiteral("     WHERE NombreTabla = @NombreTabla ") +
         QStringLiteral("       AND ClaveTabla = @ClaveTabla ") + QStringLiteral("       AND IdObjeto = @IdObjeto;") +
         QStringLiteral("  END");
}

QList<AuditTrigger> TriggersAuditoria(const QString& tabla, const QString& definiciones) {
  AuditTrigger modelo;
  modelo.table = tabla;
  modelo.logTable = kTablaRegistro;
  for (const QString& linea : LineasDefinicion(DefinicionTabla(tabla, definiciones))) {
    if (PiezaDefinicion(1, linea) != u"C") continue;
    const QString campo = PiezaDefinicion(3, linea);
    const QString tipo = PiezaDefinicion(4, linea);
    const bool clave = PiezaDefinicion(6, linea) == u"*";
    modelo.columns.append({campo, escrito(campo, tipo), clave, clave ? tipoClave(tipo, PiezaDefinicion(5, linea)) : QString(),
                           tipo == u"ftAutoInc"});
  }
  struct Accion {
    AuditTrigger::Event evento;
    const char* nombre;
    const char* palabra;
  };
  constexpr Accion kAcciones[] = {{AuditTrigger::Event::Delete, "TriggerDelete", "Eliminar"},
                                  {AuditTrigger::Event::Insert, "TriggerInsert", "Insertar"},
                                  {AuditTrigger::Event::Update, "TriggerUpdate", "Editar"}};
  QList<AuditTrigger> triggers;
  for (const Accion& accion : kAcciones) {
    if (accion.evento == AuditTrigger::Event::Insert && tabla == kTablaRegistro) continue;
    AuditTrigger trigger = modelo;
    trigger.event = accion.evento;
    trigger.name = QLatin1String(accion.nombre) + tabla;
    trigger.actionWord = QLatin1String(accion.palabra);
    triggers.append(trigger);
  }
  return triggers;
}

void CrearTriggers(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones, const QString& baseDatos) {
  const bool embebido = EmbeddedServer::FolderOfServerName(ServidorSQL).has_value();
  // The BLOB trigger writes each object back onto itself for the server's replication, which the embedded one has not.
  if (ReplicacionBDActivada == u"SI" && !embebido) triggerBLOBTAB(ejecucion, baseDatos);
  if (!RegistroAccesosActivado) return;
  for (const QString& tabla : tablasRegistradas()) {
    // Its triggers' names must be names too.
    if (!NombreObjetoSQLValido(tabla) || !NombreObjetoSQLValido(QStringLiteral("TriggerUpdate") + tabla)) {
      ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error, MensajeNombreNoValido(tabla));
      continue;
    }
    QString error;
    ejecutar(ejecucion, QStringLiteral("USE ") + NombreSQL(baseDatos), QString(), error);
    const QList<AuditTrigger> triggers = TriggersAuditoria(tabla, opciones.definiciones);
    for (const char* nombre : {"TriggerDelete", "TriggerInsert", "TriggerUpdate"})
      eliminarTrigger(ejecucion, QLatin1String(nombre) + tabla);
    for (const AuditTrigger& trigger : triggers)
      crearTrigger(ejecucion, dialecto().AuditTriggerText(trigger), trigger.name, baseDatos);
  }
}
