#include "core/connections/AperturaTablas.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/connections/RepararTablas.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/system/Incidencias.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

namespace {

RegistroFallosTablas& registroInstalado() {
  static RegistroFallosTablas registro;
  return registro;
}

bool tablaInexistente(const QString& error) {
  return error.contains(QLatin1String("Table does not exist")) ||
         error.contains(QLatin1String("File or directory does not exist")) ||
         error.contains(QLatin1String("Table unknown"));
}

void capturarIncidencia(const Table& tabla, const QString& error, const QString& lugar) {
  CapturarIncidencia(error + QStringLiteral("\r\nTabla: ") + tabla.TableName() + u'(' + tabla.objectName() + u')' +
                         QStringLiteral(" DataBase: ") + tabla.DatabaseName(),
                     lugar);
}

// The database the table opens on; a "?" table is the alternative company's.
bool asignarBaseDatos(TfGENEINIC& servicios, Table& tabla) {
  const TConexiones& conexiones = Conexiones(servicios);
  const QString nombre = tabla.DatabaseName();
  if (EsTablaTemporal(tabla.TableName())) return false;
  if (EsTablaGeneral(tabla.TableName())) {
    tabla.SetDatabaseName(conexiones.DatabaseGeneral->DatabaseName());
    return false;
  }
  if (nombre.startsWith(u'?')) {
    if (EsSQLServer()) {
      ConectarBaseDatosAlternativa(servicios, -1, nombre.mid(1));
      tabla.SetDatabaseName(conexiones.DatabaseAlt->DatabaseName());
    } else {
      tabla.SetDatabaseName(nombre.mid(1));
    }
    return true;
  }
  tabla.SetDatabaseName(conexiones.Database->DatabaseName());
  return false;
}

// The pending work of the company connection is settled after each opening.
class TransaccionAlSalir {
 public:
  explicit TransaccionAlSalir(TfGENEINIC& servicios) : servicios_(servicios) {}
  ~TransaccionAlSalir() {
    try {
      TransaccionVacia(*Conexiones(servicios_).Database);
    } catch (const std::exception&) {
      // A refused commit leaves the connection as the engine left it.
    }
  }
  TransaccionAlSalir(const TransaccionAlSalir&) = delete;
  TransaccionAlSalir& operator=(const TransaccionAlSalir&) = delete;

 private:
  TfGENEINIC& servicios_;
};

}  // namespace

void InstalarRegistroFallosTablas(RegistroFallosTablas registro) { registroInstalado() = std::move(registro); }

bool AbrirTabla(TfGENEINIC& servicios, QObject& llamador, Table& tabla) {
  if (tabla.Active()) return true;
  const TransaccionAlSalir transaccion(servicios);
  bool alternativa = false;
  try {
    alternativa = asignarBaseDatos(servicios, tabla);
    tabla.Open();
    return true;
  } catch (const std::exception& fallo) {
    const QString error = TextoExcepcion(fallo);
    if (tablaInexistente(error)) {
      tabla.Close();
      if (alternativa) tabla.SetDatabaseName(u'?' + tabla.DatabaseName());
      if (CrearTablaSiFalta(tabla, QString(), EmpresaActual)) {
        tabla.Open();
        return true;
      }
      capturarIncidencia(tabla, error,
                         QStringLiteral("Al crear la tabla entrando en ") + llamador.objectName() +
                             QStringLiteral(" (AperturaTablaOK)"));
      return false;
    }
    capturarIncidencia(tabla, error,
                       QStringLiteral("Al entrar en ") + llamador.objectName() + QStringLiteral(" (AperturaTablaOK)"));
    if (registroInstalado().RepararTablas)
      registroInstalado().RepararTablas(tabla, error);
    else
      RepararTablas(servicios, &tabla, error, &llamador);
    MensajeError(QStringLiteral("TRADUCIR: ") + error + QStringLiteral(" Tabla: ") + tabla.TableName());
    return false;
  }
}

QString VersionSQLServer(TfGENEINIC& servicios, QObject* propietario) {
  Query consulta(propietario);
  consulta.SetDatabaseName(CadenaConexionADO(servicios, QStringLiteral("master"), QString()));
  consulta.SQL().SetText(QStringLiteral("SELECT @@VERSION"));
  consulta.Open();
  return consulta.Fields(0).AsString();
}
