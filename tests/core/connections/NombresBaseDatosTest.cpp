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
    AliasBaseDatosEmpresa = u"EMP"_qs;
  }
  ~NombresBaseDatos() override { TfGENEINIC::InstalarPreparacionBasesDatos({}); }
};

}  // namespace

TEST_F(NombresBaseDatos, CompanyDatabasesByEngine) {
  PathBaseDatosGeneral = u"/datos/zem"_qs;
  const std::tuple<const char*, int, QString> casos[] = {
      {"Microsoft SQL Server", 12, u"EMP12"_qs}, {"Microsoft SQL Server", 0, u"EMP"_qs},
      {"SQL Generica", 3, u"EMP3"_qs},           {"", 3, u"EMP3"_qs},
      {"Paradox", 12, u"/datos/zem/12"_qs},      {"Paradox", 0, u"/datos/zem"_qs},
  };
  for (const auto& [motor, empresa, esperado] : casos) {
    TipoBaseDatos = QLatin1String(motor);
    EXPECT_EQ(NombreBaseDatosEmpresa(Servicios(), empresa), esperado) << motor << empresa;
  }
  PathBaseDatosGeneral = u"C:\\DATOS\\"_qs;
  EXPECT_EQ(NombreBaseDatosEmpresa(Servicios(), 4), u"C:/DATOS/4"_qs);
}

TEST_F(NombresBaseDatos, ConnectionStringsOfLogicalNames) {
  ServidorSQL = u"np:SRV1"_qs;
  UsuarioInicioSesion = u"ZEM"_qs;
  ClaveInicioSesion = u"x"_qs;
  CodigoUsuarioActual = u"ANA"_qs;
  EmpresaActual = 5;
  const QString programa = Paths::ExecutableName();
  const auto cadena = [&](const QString& catalogo, const QString& servidor) {
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ZEM;Password=x;Connect Timeout=0;"
                          "Initial Catalog=") +
           catalogo + u";Data Source="_qs + servidor + u";Application Name="_qs + programa + u"|ANA"_qs;
  };
  EXPECT_EQ(CadenaConexionADO(Servicios(), u"?EMP3"_qs, QString()), cadena("EMP3", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), QString(), QString()), cadena("EMP5", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), u"Database"_qs, QString()), cadena("EMP5", "SRV1"));
  EXPECT_EQ(CadenaConexionADO(Servicios(), u"msdb"_qs, u"np:OTRO"_qs), cadena("msdb", "OTRO"));
  AutenticacionWindows = true;
  EXPECT_EQ(CadenaConexionADO(Servicios(), u"master"_qs, QString()),
            u"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
            "Initial Catalog=master;Data Source=SRV1;Application Name="_qs + programa + u"|ANA"_qs);
  // A real server takes the Windows identity from its driver: no user is named.
  UsuarioInicioSesion.clear();
  ClaveInicioSesion.clear();
  const QStringList parametros = ParametrosConexionEmpresa(u"EMP5"_qs).Lines();
  for (const char* linea : {"USER NAME=", "HOST NAME=", "PASSWORD="})
    EXPECT_TRUE(parametros.contains(QLatin1String(linea))) << linea;
}

TEST_F(NombresBaseDatos, TheApplicationNameIsCutOnlyInTheEngineParameters) {
  ServidorSQL = u"SRV1"_qs;
  UsuarioInicioSesion = u"ZEM"_qs;
  ClaveInicioSesion = u"secreta"_qs;
  CodigoUsuarioActual = u"USUARIO-CON-UN-CODIGO-MUY-LARGO-DE-VERDAD"_qs;
  const QString programa = Paths::ExecutableName();
  EXPECT_EQ(ParametrosConexionEmpresa(u"EMP7"_qs).Lines(),
            QStringList({"SERVER NAME=SRV1", "DATABASE NAME=EMP7", "USER NAME=ZEM", "HOST NAME=ZEM",
                         "APPLICATION NAME=USUARIO-CON-UN-CODIGO-MUY-LARG|" + programa, "OPEN MODE=READ/WRITE",
                         "SCHEMA CACHE SIZE=8", "LANGDRIVER=", "SQLQRYMODE=", "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
                         "SCHEMA CACHE TIME=-1", "PASSWORD=secreta"}));
  EXPECT_TRUE(CadenaConexionADO(Servicios(), u"EMP7"_qs, QString()).endsWith(programa + u'|' + CodigoUsuarioActual));
}

TEST(ErrorTablaInexistente, RecognisesTheEngineTextsInAnyCase) {
  EXPECT_TRUE(ErrorTablaInexistente(u"Table does not exist\nno such table: X"_qs));
  EXPECT_TRUE(ErrorTablaInexistente(u"error: table unknown"_qs));
  EXPECT_FALSE(ErrorTablaInexistente(u"File or directory does not exist"_qs));
  EXPECT_FALSE(ErrorTablaInexistente(u"Key violation"_qs));
}

TEST_F(NombresBaseDatos, APasswordWithSemicolonsSetsNoOtherKey) {
  ServidorSQL = u"SRV1"_qs;
  UsuarioInicioSesion = u"ZEM;Initial Catalog=OTRO"_qs;
  ClaveInicioSesion = u"x;Initial Catalog=OTRO;Data Source=MALO"_qs;
  const StringList parametros = Session::ConnectionStringParams(CadenaConexionADO(Servicios(), u"?EMP3"_qs, QString()));
  EXPECT_EQ(parametros.Lines(),
            QStringList({"USER NAME=ZEM;Initial Catalog=OTRO", "PASSWORD=x;Initial Catalog=OTRO;Data Source=MALO",
                         "DATABASE NAME=EMP3", "SERVER NAME=SRV1"}));
}
