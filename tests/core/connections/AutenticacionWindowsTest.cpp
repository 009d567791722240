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
  AutenticacionWindows() { instalacion.Ini(u"Configuración"_qs, u"AutenticacionWindows"_qs, u"SI"_qs); }
};

}  // namespace

TEST_F(AutenticacionWindows, AFreshInstallationStartsAsTheMachinesUserAndConnectsANewCompany) {
  Iniciar();
  EXPECT_EQ(QStringList({ServidorSQL, UsuarioInicioSesion, ClaveInicioSesion}),
            QStringList({u"np:"_qs + instalacion.ServerFolder(), "", ""}));
  const TConexiones& conexiones = Conexiones(Servicios());
  ASSERT_TRUE(conexiones.Database->Connected() && conexiones.DatabaseGeneral->Connected() &&
              conexiones.ADOConnection->Connected());
  // No value is left to the alias: the embedded server gets the user by name.
  const QStringList parametros = conexiones.Database->Params().Lines();
  for (const QString& linea : {u"USER NAME="_qs + UsuarioWindows(), u"HOST NAME="_qs, u"PASSWORD="_qs})
    EXPECT_TRUE(parametros.contains(linea)) << linea.toStdString();
  const QString sesiones = u"SELECT DISTINCT loginame FROM master.dbo.sysprocesses"_qs;
  EXPECT_EQ(QStringList({EjecutarSQL(sesiones, u"Database"_qs), EjecutarSQLADO(sesiones, u"Database"_qs),
                         EjecutarSQLADO(u"SELECT name FROM master.dbo.syslogins"_qs, u"master"_qs)}),
            QStringList(3, UsuarioWindows()));

  ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  ConectarEmpresa(Servicios(), 1);
  EXPECT_EQ(conexiones.Database->Params().Values(u"USER NAME"_qs), UsuarioWindows());
  EXPECT_EQ(EjecutarSQLADO(u"CREATE TABLE CLIENTES (Codigo INTEGER)"_qs, u"Database"_qs), QString());
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, u"Database"_qs), u"0"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(AutenticacionWindows, AServerWithoutALoginForTheMachinesUserRefusesTheStartWithoutAskingAPassword) {
  // A server made under SQL Server authentication knows only its own login.
  instalacion.Write();
  SqlRouting::Login(instalacion.ServerFolder(), u"ZEM"_qs, QString());
  mensajes.Expect(u"E"_qs);
  Iniciar();
  ASSERT_EQ(mensajes.Messages().size(), 1);
  const QString texto = mensajes.Messages()[0].text;
  EXPECT_TRUE(texto.startsWith(u"¡Imposible iniciar la aplicación!. Motivo: Unknown user name or password"_qs))
      << texto.toStdString();
  EXPECT_TRUE(texto.contains(u"Login failed for user '"_qs + UsuarioWindows() + u'\''));
}
