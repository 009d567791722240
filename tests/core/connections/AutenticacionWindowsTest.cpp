#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/sql/EjecucionSQL.h"
#include "core/system/Equipo.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/SqlRouting.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// A fresh installation on the embedded server that logs in with Windows
// authentication: the login is this machine's user on every road.
class AutenticacionWindows : public ConexionesFixture {
 protected:
  AutenticacionWindows() {
    instalacion.Ini(QStringLiteral("Configuración"), QStringLiteral("AutenticacionWindows"), QStringLiteral("SI"));
  }
};

}  // namespace

TEST_F(AutenticacionWindows, AFreshInstallationStartsAsTheMachinesUserAndConnectsANewCompany) {
  Iniciar();
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(ServidorSQL, QStringLiteral("np:") + instalacion.ServerFolder());
  EXPECT_TRUE(UsuarioInicioSesion.isEmpty());
  EXPECT_TRUE(ClaveInicioSesion.isEmpty());
  const TConexiones& conexiones = Conexiones(Servicios());
  ASSERT_TRUE(conexiones.Database->Connected());
  ASSERT_TRUE(conexiones.DatabaseGeneral->Connected());
  ASSERT_TRUE(conexiones.ADOConnection->Connected());
  // No value is left to the alias: the embedded server gets the user by name.
  const QStringList parametros = conexiones.Database->Params().Lines();
  for (const QString& linea : {QStringLiteral("USER NAME=") + UsuarioWindows(), QStringLiteral("HOST NAME="),
                               QStringLiteral("PASSWORD=")})
    EXPECT_TRUE(parametros.contains(linea)) << linea.toStdString();
  const QString sesiones = QStringLiteral("SELECT DISTINCT loginame FROM master.dbo.sysprocesses");
  EXPECT_EQ(EjecutarSQL(sesiones, QStringLiteral("Database")), UsuarioWindows());
  EXPECT_EQ(EjecutarSQLADO(sesiones, QStringLiteral("Database")), UsuarioWindows());
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("SELECT name FROM master.dbo.syslogins"), QStringLiteral("master")),
            UsuarioWindows());

  ASSERT_TRUE(CrearBaseDatosSQLServer(QStringLiteral("ZEMEMP1")));
  ConectarEmpresa(Servicios(), 1);
  EXPECT_EQ(conexiones.Database->Params().Values(QStringLiteral("USER NAME")), UsuarioWindows());
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER)"), QStringLiteral("Database")), QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM CLIENTES"), QStringLiteral("Database")), QStringLiteral("0"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(AutenticacionWindows, AServerWithoutALoginForTheMachinesUserRefusesTheStartWithoutAskingAPassword) {
  // A server made under SQL Server authentication knows only its own login.
  instalacion.Write();
  SqlRouting::Login(instalacion.ServerFolder(), QStringLiteral("ZEM"), QString());
  mensajes.Expect(QStringLiteral("E"));
  Iniciar();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  const QString texto = mensajes.Messages()[0].text;
  const QString motivo = QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: Unknown user name or password");
  EXPECT_TRUE(texto.startsWith(motivo)) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Login failed for user '") + UsuarioWindows() + u'\''));
}
