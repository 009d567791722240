#include "core/connections/NombresBaseDatos.h"
#include "core/connections/VariablesConexion.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Paths.h"
#include "platform/data/Session.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// The services object without its databases: names need none.
class NombresBaseDatos : public ConexionesFixture {
 protected:
  NombresBaseDatos() {
    TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) { return true; });
    Iniciar();
    AliasBaseDatosEmpresa = QStringLiteral("EMP");
  }
  ~NombresBaseDatos() override { TfGENEINIC::InstalarPreparacionBasesDatos({}); }
};

}  // namespace

TEST_F(NombresBaseDatos, CompanyDatabasesByEngine) {
  PathBaseDatosGeneral = QStringLiteral("/datos/zem");
  const struct {
    const char* motor;
    int empresa;
    QString esperado;
  } casos[] = {
      {"Microsoft SQL Server", 12, QStringLiteral("EMP12")},
      {"Microsoft SQL Server", 0, QStringLiteral("EMP")},
      {"SQL Generica", 3, QStringLiteral("EMP3")},
      {"", 3, QStringLiteral("EMP3")},
      {"Paradox", 12, QStringLiteral("/datos/zem/12")},
      {"Paradox", 0, QStringLiteral("/datos/zem")},
  };
  for (const auto& caso : casos) {
    TipoBaseDatos = QLatin1String(caso.motor);
    EXPECT_EQ(NombreBaseDatosEmpresa(Servicios(), caso.empresa), caso.esperado) << caso.motor << caso.empresa;
  }
  PathBaseDatosGeneral = QStringLiteral("C:\\DATOS\\");
  EXPECT_EQ(NombreBaseDatosEmpresa(Servicios(), 4), QStringLiteral("C:/DATOS/4"));
}

TEST_F(NombresBaseDatos, ConnectionStringsOfLogicalNames) {
  ServidorSQL = QStringLiteral("np:SRV1");
  UsuarioInicioSesion = QStringLiteral("ZEM");
  ClaveInicioSesion = QStringLiteral("x");
  CodigoUsuarioActual = QStringLiteral("ANA");
  EmpresaActual = 5;
  const QString programa = Paths::ExecutableName();
  const auto cadena = [&](const QString& catalogo, const QString& servidor) {
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ZEM;Password=x;Connect Timeout=0;"
                          "Initial Catalog=") +
           catalogo + QStringLiteral(";Data Source=") + servidor + QStringLiteral(";Application Name=") + programa +
           QStringLiteral("|ANA");
  };
  EXPECT_EQ(CadenaConexionADO(Servicios(), QStringLiteral("?EMP3"), QString()), cadena("EMP3", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), QString(), QString()), cadena("EMP5", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), QStringLiteral("Database"), QString()), cadena("EMP5", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), QStringLiteral("msdb"), QStringLiteral("np:OTRO")), cadena("msdb", "OTRO"));
  AutenticacionWindows = true;
  EXPECT_EQ(CadenaConexionADO(Servicios(), QStringLiteral("master"), QString()),
            QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                           "Initial Catalog=master;Data Source=SRV1;Application Name=") +
                programa + QStringLiteral("|ANA"));
  // A real server takes the Windows identity from its driver: no user is named.
  UsuarioInicioSesion.clear();
  ClaveInicioSesion.clear();
  const QStringList parametros = ParametrosConexionEmpresa(QStringLiteral("EMP5")).Lines();
  for (const char* linea : {"USER NAME=", "HOST NAME=", "PASSWORD="})
    EXPECT_TRUE(parametros.contains(QLatin1String(linea))) << linea;
}

TEST_F(NombresBaseDatos, TheApplicationNameIsCutOnlyInTheEngineParameters) {
  ServidorSQL = QStringLiteral("SRV1");
  UsuarioInicioSesion = QStringLiteral("ZEM");
  ClaveInicioSesion = QStringLiteral("secreta");
  CodigoUsuarioActual = QStringLiteral("USUARIO-CON-UN-CODIGO-MUY-LARGO-DE-VERDAD");
  const QString programa = Paths::ExecutableName();
  EXPECT_EQ(ParametrosConexionEmpresa(QStringLiteral("EMP7")).Lines(),
            QStringList({"SERVER NAME=SRV1", "DATABASE NAME=EMP7", "USER NAME=ZEM", "HOST NAME=ZEM",
                         "APPLICATION NAME=USUARIO-CON-UN-CODIGO-MUY-LARG|" + programa, "OPEN MODE=READ/WRITE",
                         "SCHEMA CACHE SIZE=8", "LANGDRIVER=", "SQLQRYMODE=", "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
                         "SCHEMA CACHE TIME=-1", "PASSWORD=secreta"}));
  EXPECT_TRUE(CadenaConexionADO(Servicios(), QStringLiteral("EMP7"), QString())
                  .endsWith(programa + u'|' + CodigoUsuarioActual));
}

TEST(ErrorTablaInexistente, RecognisesTheEngineTextsInAnyCase) {
  EXPECT_TRUE(ErrorTablaInexistente(QStringLiteral("Table does not exist\nno such table: X")));
  EXPECT_TRUE(ErrorTablaInexistente(QStringLiteral("error: table unknown")));
  EXPECT_FALSE(ErrorTablaInexistente(QStringLiteral("File or directory does not exist")));
  EXPECT_FALSE(ErrorTablaInexistente(QStringLiteral("Key violation")));
}

TEST_F(NombresBaseDatos, APasswordWithSemicolonsSetsNoOtherKey) {
  ServidorSQL = QStringLiteral("SRV1");
  UsuarioInicioSesion = QStringLiteral("ZEM;Initial Catalog=OTRO");
  ClaveInicioSesion = QStringLiteral("x;Initial Catalog=OTRO;Data Source=MALO");
  const StringList parametros =
      Session::ConnectionStringParams(CadenaConexionADO(Servicios(), QStringLiteral("?EMP3"), QString()));
  EXPECT_EQ(parametros.Lines(), QStringList({"USER NAME=ZEM;Initial Catalog=OTRO",
                                             "PASSWORD=x;Initial Catalog=OTRO;Data Source=MALO",
                                             "DATABASE NAME=EMP3", "SERVER NAME=SRV1"}));
}
