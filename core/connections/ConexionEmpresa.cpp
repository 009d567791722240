#include "core/connections/ConexionEmpresa.h"

#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/connections/VariablesConexion.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Paths.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sqlite/DatabaseError.h"

#include <QDir>

namespace {

BusquedaDato& busquedaInstalada() {
  static BusquedaDato busqueda;
  return busqueda;
}

void conectarADO(AdoConnection& conexion, TfGENEINIC& servicios, const QString& baseDatos) {
  conexion.Close();
  conexion.SetConnectionString(CadenaConexionADO(servicios, baseDatos, ServidorSQL));
  conexion.Open();
}

// The company's connection parameters: its folder on Paradox, its server
// database on any other engine.
void escribirParametros(Database& database, const QString& nombre) {
  database.Params().Clear();
  if (EsParadox())
    database.Params().Add(QStringLiteral("PATH=") + nombre);
  else
    database.Params() = ParametrosConexionEmpresa(nombre);
}

void registrarAlias(const QString& nombre, const StringList& parametros) {
  Session& sesion = Session::Default();
  if (!EsParadox() && !sesion.IsAlias(nombre)) sesion.AddAlias(nombre, QLatin1String(Session::kSqlServerDriver), parametros);
}

// The company connection and its ADO twin as they were before a switch, put
// back when the switch fails so that the previous company stays connected.
class ConexionAnterior {
 public:
  explicit ConexionAnterior(TConexiones& conexiones)
      : database_(*conexiones.Database),
        ado_(*conexiones.ADOConnection),
        parametros_(database_.Params()),
        conectada_(database_.Connected()),
        cadena_(ado_.ConnectionString()),
        adoConectada_(ado_.Connected()) {}

  // The failure of the switch is the one that rises: a failure here is not.
  void Restaurar() noexcept {
    try {
      database_.Close();
      database_.Params() = parametros_;
      if (conectada_) database_.Open();
    } catch (const std::exception&) {
    }
    try {
      ado_.Close();
      ado_.SetConnectionString(cadena_);
      if (adoConectada_) ado_.Open();
    } catch (const std::exception&) {
    }
  }

 private:
  Database& database_;
  AdoConnection& ado_;
  const StringList parametros_;
  const bool conectada_;
  const QString cadena_;
  const bool adoConectada_;
};

void conectarEmpresa(TConexiones& conexiones, TfGENEINIC& servicios, const QString& nombre) {
  Database& database = *conexiones.Database;
  database.Close();
  escribirParametros(database, nombre);
  database.Open();
  registrarAlias(nombre, database.Params());
  if (!EsSQLServer()) return;
  FijarNivelAislamiento(QStringLiteral("Database"));
  TransaccionVacia(database);
  conectarADO(*conexiones.ADOConnection, servicios, nombre);
}

}  // namespace

void InstalarBusquedaDato(BusquedaDato busqueda) { busquedaInstalada() = std::move(busqueda); }

Variant BuscarDato(const QString& tabla, int indice) {
  const BusquedaDato& busqueda = busquedaInstalada();
  return busqueda ? busqueda(tabla, indice) : Variant::Null();
}

QString CarpetaOBaseDatosEmpresa(TfGENEINIC& servicios, int empresa) {
  const QString nombre = NombreBaseDatosEmpresa(servicios, empresa);
  if (EsParadox() && !QDir().mkpath(Paths::Internal(nombre)))
    throw EDatabaseError(EngineText::PathNotFound, Paths::Internal(nombre));
  return nombre;
}

void SeleccionarEmpresa(TfGENEINIC& servicios) {
  const Variant clave = BuscarDato(QStringLiteral("EMPRESA"), 0);
  const QList<Variant>& valores = clave.Elements();
  if (clave.IsNullOrEmpty() || (clave.Type() == VarType::Array && valores.isEmpty())) {
    EmpresaActual = 0;
    return;
  }
  const int empresa = static_cast<int>((clave.Type() == VarType::Array ? valores.first() : clave).AsInt64());
  // The current company changes only once its database is connected.
  ConectarEmpresa(servicios, empresa);
  EmpresaActual = empresa;
}

void ConectarEmpresa(TfGENEINIC& servicios, int empresa) {
  TConexiones& conexiones = Conexiones(servicios);
  const QString nombre = CarpetaOBaseDatosEmpresa(servicios, empresa);
  ConexionAnterior anterior(conexiones);
  try {
    conectarEmpresa(conexiones, servicios, nombre);
  } catch (...) {
    anterior.Restaurar();
    throw;
  }
}

void ConectarBaseDatosAlternativa(TfGENEINIC& servicios, int empresa, const QString& nombre) {
  TConexiones& conexiones = Conexiones(servicios);
  Database& alternativa = *conexiones.DatabaseAlt;
  const QString pedida = nombre.isEmpty() ? NombreBaseDatosEmpresa(servicios, empresa) : nombre;
  if (alternativa.Connected() && alternativa.DatabaseName() == pedida) return;

  const QString baseDatos = empresa != -1 ? CarpetaOBaseDatosEmpresa(servicios, empresa) : pedida;
  alternativa.Close();
  if (EsParadox()) {
    alternativa.SetDriverName(QLatin1String(Session::kStandardDriver));
  } else {
    const QString alias = empresa != -1 ? baseDatos : AliasBaseDatos;
    // The alias gets the parameters of its own database, so a dataset that
    // names it later reaches that company and no other.
    registrarAlias(baseDatos, ParametrosConexionEmpresa(baseDatos));
    alternativa.SetAliasName(alias);
  }
  alternativa.SetDatabaseName(baseDatos);
  escribirParametros(alternativa, baseDatos);
  alternativa.Open();
  if (!EsSQLServer()) return;
  FijarNivelAislamiento(QStringLiteral("DatabaseAlt"));
  TransaccionVacia(*conexiones.Database);
  conectarADO(*conexiones.ADOConnectionAlt, servicios, baseDatos);
}

void PrepararDataSetEmpresa(TfGENEINIC& servicios, Dataset& dataSet, int empresa) {
  if (!qobject_cast<Table*>(&dataSet) && !qobject_cast<Query*>(&dataSet)) return;
  if (empresa == 0) empresa = EmpresaActual;
  if (EsSQLServer()) {
    ConectarBaseDatosAlternativa(servicios, empresa, QString());
    dataSet.SetDatabaseName(u'?' + Conexiones(servicios).DatabaseAlt->DatabaseName());
  } else {
    dataSet.SetDatabaseName(u'?' + CarpetaOBaseDatosEmpresa(servicios, empresa));
  }
}
