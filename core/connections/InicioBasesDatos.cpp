#include "core/connections/InicioBasesDatos.h"

#include "core/connections/AdjuntoGeneral.h"
#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/Conexiones.h"
#include "core/connections/InicioSesionSQLServer.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/connections/SesionInicio.h"
#include "core/connections/TransaccionesConexion.h"
#include "core/connections/UsuarioServidor.h"
#include "core/connections/VariablesConexion.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Paths.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/sqlite/DatabaseError.h"

#include <QSysInfo>

namespace {

void instalarCaminoSQL() {
  SqlRouting::Install([] { return FormatoFechaSQL; },
                      {Session::Default().NetUserName(), QSysInfo::machineHostName(), Paths::ExecutableName()});
  AdjuntarBaseDatosGeneralAlAbrir();
}

void nombrarConAlias(Database& database, const QString& alias) {
  database.Close();
  database.SetAliasName(alias);
  database.SetDatabaseName(alias);
}

// Opens a connection; on SQL Server a database that does not open is
// created instead (a refused login is no such case).
void abrirOCrear(Database& database, const QString& nombreServidor) {
  try {
    database.Open();
  } catch (const EDatabaseError& error) {
    if (!EsSQLServer() || error.EngineMessage() == QLatin1String(EngineText::UnknownUserName)) throw;
    CrearBaseDatosSQLServer(nombreServidor);
  }
}

void conectarEmpresaInicial(TfGENEINIC& servicios) {
  Database& database = *Conexiones(servicios).Database;
  nombrarConAlias(database, AliasBaseDatos);
  StringList parametros = Session::Default().GetAliasParams(AliasBaseDatos);
  ServidorSQL = parametros.Values(QStringLiteral("SERVER NAME"));
  if (AutenticacionWindows && !ServidorSQL.contains(QLatin1String("np:"))) ServidorSQL.prepend(QStringLiteral("np:"));
  if (EsSQLServer()) {
    if (AutenticacionWindows) {
      UsuarioInicioSesion.clear();
      ClaveInicioSesion.clear();
      EscribirParametroConexion(parametros, QStringLiteral("USER NAME"), UsuarioServidor(ServidorSQL));
      EscribirParametroConexion(parametros, QStringLiteral("HOST NAME"), QString());
      EscribirParametroConexion(parametros, QStringLiteral("PASSWORD"), QString());
    } else {
      if (UsuarioInicioSesion.isEmpty())
        UsuarioInicioSesion = parametros.Values(QStringLiteral("USER NAME"));
      else
        EscribirParametroConexion(parametros, QStringLiteral("USER NAME"), UsuarioInicioSesion);
      EscribirParametroConexion(parametros, QStringLiteral("PASSWORD"), ClaveInicioSesion);
    }
  }
  if (EsParadox() && parametros.Count() > 0) PathBaseDatos = parametros[0].mid(5);
  database.Params() = parametros;
  AbrirBaseDatosEmpresaInicio(database);
  FijarNivelAislamiento(QStringLiteral("Database"));
}

void conectarGeneral(TfGENEINIC& servicios) {
  Database& general = *Conexiones(servicios).DatabaseGeneral;
  nombrarConAlias(general, AliasBaseDatosGeneral);
  StringList parametros = Session::Default().GetAliasParams(AliasBaseDatosGeneral);
  if (EsSQLServer()) {
    EscribirParametroConexion(parametros, QStringLiteral("USER NAME"),
                              UsuarioServidor(parametros.Values(QStringLiteral("SERVER NAME"))));
    EscribirParametroConexion(parametros, QStringLiteral("HOST NAME"), UsuarioInicioSesion);
    EscribirParametroConexion(parametros, QStringLiteral("PASSWORD"), ClaveInicioSesion);
  }
  general.Params() = parametros;
  abrirOCrear(general, AliasBaseDatosGeneral);
  FijarNivelAislamiento(QStringLiteral("DatabaseGeneral"));
  if (EsSQLServer())
    IntercalacionTraduccion = EjecutarSQL(
        QStringLiteral("SELECT TOP 1 collation_name   FROM information_schema.columns   WHERE table_name = 'TXIDIOMA'"),
        QStringLiteral("DatabaseGeneral"));
}

}  // namespace

bool PrepararBasesDatosInicio(TfGENEINIC& servicios) {
  // The SQL routines reach the connections through the global, which is the
  // object being created from its creation on.
  fGENEINIC = &servicios;
  if (!PrepararSesionInicio(servicios)) return false;
  instalarCaminoSQL();
  conectarEmpresaInicial(servicios);
  conectarGeneral(servicios);
  TConexiones& conexiones = Conexiones(servicios);
  // The company connection opened before the general database may have existed.
  AdjuntarBaseDatosGeneral(servicios, *conexiones.Database->SharedConnection());
  if (EsSQLServer()) {
    conexiones.ADOConnection->SetConnectionString(CadenaConexionADO(servicios, QStringLiteral("Database"), ServidorSQL));
    conexiones.ADOConnection->Open();
    VersionServidorSQL = VersionSQLServer(servicios, &servicios);
  }
  return true;
}
