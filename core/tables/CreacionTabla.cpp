#include "core/tables/CreacionTabla.h"

#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TiposCampo.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/CursorEspera.h"
#include "core/tables/CamposUsuario.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/NombresTablas.h"
#include "core/tables/SentenciasCreacion.h"
#include "core/tables/TablasTemporales.h"
#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/data/ThrowawayWork.h"
#include "platform/sql/NombresSQL.h"

#include <optional>

namespace {

const QString kTemporal = QStringLiteral("Tabla Temporal");

QStringList lineasDefinicion(const QString& definicion, bool temporal) {
  if (temporal) return LineasDefinicion(definicion);
  if (definicion.isEmpty()) return LineasDefinicion(DefinicionesEstandar());
  return LineasDefinicion(
      LeerDefinicionesEstructura(definicion.section(u';', 0, 0), definicion.section(u';', 1), QString()));
}

// A transaction the creation started itself: rolled back unless committed,
// before any message of a failure shows.
class TransaccionPropia {
 public:
  TransaccionPropia(Database& database, bool iniciar)
      : database_(iniciar && !database.InTransaction() ? &database : nullptr) {
    if (database_) database_->StartTransaction();
  }
  ~TransaccionPropia() { Deshacer(); }
  TransaccionPropia(const TransaccionPropia&) = delete;
  TransaccionPropia& operator=(const TransaccionPropia&) = delete;

  void Confirmar() {
    if (database_) database_->Commit();
    database_ = nullptr;
  }
  void Deshacer() noexcept {
    try {
      if (database_ && database_->InTransaction()) database_->Rollback();
    } catch (const std::exception&) {
      // The engine already ended it.
    }
    database_ = nullptr;
  }

 private:
  Database* database_;
};

struct Destino {
  Database* conexion = nullptr;  // the connection the table lives on
  QString baseDatos;             // the database name the table gets
};

Destino destinoDe(TfGENEINIC& servicios, const Table& tabla, const QString& nombre, bool temporal, int empresa) {
  TConexiones& conexiones = Conexiones(servicios);
  const QString baseDatos = tabla.DatabaseName();
  if (temporal) {
    const bool enGeneral = conexiones.DatabaseGeneral->DatabaseName() == PathArchivosTemporales;
    return {enGeneral ? conexiones.DatabaseGeneral : conexiones.Database, PathArchivosTemporales};
  }
  // A general table lives on the general database, whatever database named it.
  if (EsTablaGeneral(nombre))
    return {conexiones.DatabaseGeneral, conexiones.DatabaseGeneral->DatabaseName()};
  if (baseDatos.startsWith(u'?')) {
    const QString pedida = baseDatos.mid(1);
    for (Database* conexion : {conexiones.Database, conexiones.DatabaseAlt})
      if (conexion->Connected() && conexion->DatabaseName() == pedida) return {conexion, pedida};
    // The database named wins over the company number, which on Paradox would be the current company's folder.
    ConectarBaseDatosAlternativa(servicios, pedida.isEmpty() ? empresa : -1, pedida);
    return {conexiones.DatabaseAlt, conexiones.DatabaseAlt->DatabaseName()};
  }
  return {conexiones.Database, baseDatos.isEmpty() ? conexiones.Database->DatabaseName() : baseDatos};
}

bool existe(const QString& baseDatos, const QString& nombre) {
  Table prueba;
  prueba.SetDatabaseName(baseDatos);
  prueba.SetTableName(nombre);
  return prueba.Exists();
}

QStringList camposUsuario(TfGENEINIC& servicios, const QString& nombre) {
  try {
    QStringList noValidos;
    const QStringList lineas = LineasCamposUsuarioTabla(servicios, nombre, &noValidos);
    for (const QString& campo : noValidos) MensajeAviso(MensajeNombreNoValido(campo));
    return lineas;
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("Se ha producido un error al incorporar los Campos de Usuario en la tabla: ") + nombre +
                 QStringLiteral(". ") + QStringLiteral("Motivo: ") + TextoExcepcion(error));
    return {};
  }
}

// A user field named like a field of the definition is not added twice.
QStringList camposNuevos(const QStringList& definidos, const QStringList& usuario) {
  QStringList nombres;
  for (const QString& linea : definidos) nombres << PiezaDefinicion(3, linea).toUpper();
  QStringList nuevos;
  for (const QString& linea : usuario)
    if (!nombres.contains(PiezaDefinicion(3, linea).toUpper())) nuevos << linea;
  return nuevos;
}

void ejecutar(const QString& baseDatos, const QString& sentencia) {
  Query consulta;
  consulta.setObjectName(QStringLiteral("Query1"));
  consulta.SetDatabaseName(baseDatos);
  consulta.SQL().SetText(sentencia);
  consulta.ExecSQL();
}

bool crearEnSQL(Table& tabla, const QString& nombre, const QString& sentencia, const QStringList& lineas, bool temporal,
                const QString& baseDatos, TransaccionPropia& transaccion) {
  if (temporal) EjecutarSQL(QStringLiteral("DROP TABLE ") + NombreSQL(nombre), baseDatos, QStringLiteral("Silenciosa"));
  try {
    ejecutar(baseDatos, sentencia);
  } catch (const std::exception& error) {
    transaccion.Deshacer();
    MensajeAviso(QStringLiteral("¡No es posible crear la tabla SQL (Paso 1)!. Motivo: ") + TextoExcepcion(error));
    MostrarMensaje(sentencia);
    throw Abort();
  }
  for (const QString& indice : SentenciasIndicesSQL(nombre, lineas)) {
    try {
      ejecutar(baseDatos, indice);
    } catch (const std::exception& error) {
      transaccion.Deshacer();
      MensajeAviso(QStringLiteral("No es posible crear el índice en SQL. Mensaje: ") + TextoExcepcion(error));
      throw Abort();
    }
  }
  transaccion.Confirmar();

  if (temporal) {
    try {
      tabla.Open();
    } catch (const std::exception&) {
      if (AutenticacionWindows) {
        tabla.SetTableName(CodigoUsuarioActual + u'.' + QuitarPrefijoTabla(nombre));
        tabla.Open();
      }
    }
  }
  return true;
}

void definirEnMotor(Table& tabla, const QStringList& lineas) {
  tabla.FieldDefs().Clear();
  tabla.IndexDefs().Clear();
  for (const QString& linea : lineas) {
    const QString tipo = PiezaDefinicion(1, linea);
    bool numerico = false;
    if (tipo == u"C") {
      const int tamano = PiezaDefinicion(5, linea).toInt(&numerico);
      tabla.FieldDefs().Add(NombreColumnaSQL(PiezaDefinicion(3, linea)), TipoCampoDeTexto(PiezaDefinicion(4, linea)), numerico ? tamano : 0);
    } else if (tipo == u"I") {
      const QString indice = PiezaDefinicion(3, linea);
      IndexOptions opciones = indice == u"<Primary>" ? (ixPrimary | ixUnique) : ixCaseInsensitive;
      if (PiezaDefinicion(5, linea).contains(u'-')) opciones |= ixDescending;
      tabla.IndexDefs().Add(NombreColumnaSQL(NombreIndicePrimario(tabla, indice)), PiezaDefinicion(4, linea), opciones);
    }
  }
}

bool crearEnMotor(Table& tabla, const QString& nombre, bool temporal, TransaccionPropia& transaccion) {
  try {
    tabla.CreateTable();
    transaccion.Confirmar();
    if (temporal) tabla.Open();
    return true;
  } catch (const std::exception& error) {
    transaccion.Deshacer();
    MensajeError(QStringLiteral("¡ Error creando la tabla ") + nombre + QStringLiteral(" !. Motivo: ") +
                 TextoExcepcion(error));
    return false;
  }
}

bool esTablaEmpresas(const QString& nombre) {
  return nombre.section(u'.', -1).compare(QLatin1String("EMPRESA"),
                                          EsParadox() ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void registrarEmpresaInicial(Table& tabla) {
  try {
    tabla.Open();
    tabla.Append();
    tabla.FieldByName(QStringLiteral("Codigo")).SetAsInteger(1);
    // A name longer than a column is cut to it rather than refused by the server.
    for (const char* campo : {"Nombre", "Abreviatura"}) {
      Field& destino = tabla.FieldByName(QLatin1String(campo));
      destino.SetAsString(destino.Size() > 0 ? NombreEmpresaInicial.left(destino.Size()) : NombreEmpresaInicial);
    }
    tabla.Post();
    tabla.Close();
  } catch (const std::exception&) {
    if (tabla.Active()) tabla.Cancel();
    tabla.Close();
    MensajeError(QStringLiteral("¡ Imposible crear el registro de la empresa 1 !"));
    return;
  }
  // On Paradox the company's database is its data folder.
  if (EsParadox() || (EsSQLServer() && !ExisteBaseDatosSQLServer(AliasBaseDatosEmpresa + u'1'))) CrearBaseDatosEmpresa(1);
}

}  // namespace

bool CrearTabla(Table& tabla, const QString& definicion, int empresa) {
  if (!fGENEINIC) return false;
  TfGENEINIC& servicios = *fGENEINIC;
  tabla.Close();
  const bool temporal = definicion.contains(kTemporal);
  const QString motor = MotorTabla(temporal);

  QStringList lineas;
  try {
    lineas = lineasDefinicion(definicion, temporal);
  } catch (const std::exception&) {
    MensajeError(QStringLiteral("¡ Imposible abrir el fichero de estructuras de la Base de Datos !"));
    return false;
  }

  if (temporal) {
    const QString primera = lineas.isEmpty() ? QString() : lineas.takeFirst();
    const int numero = primera.mid(kTemporal.size()).trimmed().toInt();
    tabla.SetDatabaseName(PathArchivosTemporales);
    tabla.SetTableName(NombreTablaFisica(NombreTablaTemporal(tabla.parent(), numero)));
  }
  // The data layer names tables without the owner "dbo." the server's own
  // name carries: the table keeps its bare name.
  QString nombre = tabla.TableName();
  // "<db>.dbo.T" of a statement names the table T.
  if (nombre.count(u'.') >= 2) nombre = nombre.section(u'.', -1);
  if (EsSQLServer()) nombre = QuitarPrefijoTabla(nombre);

  const Destino destino = destinoDe(servicios, tabla, nombre, temporal, empresa);
  // Named first, so that a caller finds a table that already exists where it is.
  tabla.SetDatabaseName(destino.baseDatos);
  tabla.SetTableName(nombre);
  if (!temporal && existe(destino.baseDatos, nombre)) return false;
  // No definition can name such a table: it is told, rather than looked for in vain.
  if (!temporal && !Cp1252::Holds(nombre)) {
    MensajeAviso(MensajeNombreTablaNoValido(nombre, MotivoNombreTablaNoValido(nombre)));
    return false;
  }

  const CursorEspera cursor;
  const QString tablaDefinida = temporal ? QString() : nombre;
  QStringList trabajo = LineasDeTipo(lineas, tablaDefinida, QStringLiteral("C"), Qt::CaseInsensitive);
  if (!temporal && nombre.compare(QLatin1String("CAMPOUSR"), Qt::CaseInsensitive) != 0)
    trabajo += camposNuevos(trabajo, camposUsuario(servicios, nombre));
  trabajo += LineasDeTipo(lineas, tablaDefinida, QStringLiteral("I"), Qt::CaseInsensitive);

  const bool sql = motor == QLatin1String(kMicrosoftSQLServer) || motor == u"SQL Generica";
  const QString sentencia = sql ? SentenciaCrearTablaSQL(nombre, trabajo, motor, temporal) : QString();
  if (sql && sentencia.isEmpty()) return false;
  if (!sql && trabajo.isEmpty()) {
    MensajeAviso(QStringLiteral("No se ha encontrado la definición de la tabla. Tabla: ") + nombre);
    return false;
  }
  if (!sql) definirEnMotor(tabla, trabajo);

  // A temporary table is nobody's after a crash: its creation does not wait for the disk.
  std::optional<ThrowawayWork> desechable;
  if (temporal) desechable.emplace(destino.baseDatos);
  // The write lock is taken here: a table another running instance made in
  // the meantime is left to it.
  TransaccionPropia transaccion(*destino.conexion, sql || !temporal);
  if (!temporal && existe(destino.baseDatos, nombre)) return false;
  const bool creada = sql ? crearEnSQL(tabla, nombre, sentencia, trabajo, temporal, destino.baseDatos, transaccion)
                          : crearEnMotor(tabla, nombre, temporal, transaccion);
  const QObject* propietario = tabla.parent();
  if (creada && !temporal && esTablaEmpresas(nombre) &&
      !(propietario && propietario->objectName() == u"fGENEACTU"))
    registrarEmpresaInicial(tabla);
  return creada;
}
