#include "core/startup/ParametrosInstalacion.h"
#include "platform/StringList.h"
#include "platform/data/Session.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

using ParametrosInstalacion = ConfiguracionInicio;

TEST_F(ParametrosInstalacion, ReadsTheFileNamedOnTheCommandLine) {
  instalacion.Write();
  QDir().mkdir(carpeta.File(QStringLiteral("OTRA")));
  StringList({"TipoBaseDatos=", "AliasBaseDatosGeneral=GENPDX", "PathBaseDatosGeneral=/datos/general/",
              "AliasBaseDatos=EMPPDX", "PathArchivosTemporales=/datos/temp", "CodigoAdministrador=JEFE",
              "NombreEmpresaInicial=Mi Empresa, S.L."})
      .SaveToFile(carpeta.File(QStringLiteral("OTRA/INST.CFG")));
  ParametroL = QStringLiteral("OTRA\\INST.CFG");
  ParametroT = QStringLiteral("ENG");
  LeerParametrosInstalacion();
  EXPECT_EQ(ArchivoInstalacion, QStringLiteral("OTRA\\INST.CFG"));
  EXPECT_EQ(TipoBaseDatos, QStringLiteral("Paradox"));  // empty means Paradox
  EXPECT_EQ(AliasBaseDatosGeneral, QStringLiteral("GENPDX"));
  EXPECT_EQ(PathBaseDatosGeneral, QStringLiteral("/datos/general/"));
  EXPECT_EQ(PathBaseDatos, PathBaseDatosGeneral);
  EXPECT_EQ(AliasBaseDatos, QStringLiteral("EMPPDX"));
  EXPECT_EQ(AliasBaseDatosEmpresa, QStringLiteral("EMPPDX"));
  EXPECT_EQ(PathArchivosTemporales, QStringLiteral("/datos/temp"));
  EXPECT_FALSE(ArchivosTemporalesEnBD);
  EXPECT_EQ(CodigoAdministrador, QStringLiteral("JEFE"));
  EXPECT_EQ(NombreEmpresaInicial, QStringLiteral("Mi Empresa, S.L."));
  EXPECT_EQ(LogotipoEmpresa, QStringLiteral("LOGO.BMP"));
  EXPECT_EQ(IdiomaActual, QStringLiteral("ENG"));
  EXPECT_EQ(EmpresaActual, 0);
}

TEST_F(ParametrosInstalacion, FallsBackToTheFixedNameInTheProgramFolder) {
  instalacion.Write();
  ParametroL = carpeta.File(QStringLiteral("NOEXISTE.CFG"));
  LeerParametrosInstalacion();
  EXPECT_EQ(ArchivoInstalacion, carpeta.File(QStringLiteral("INSTALACION.CFG")));
  EXPECT_EQ(TipoBaseDatos, QStringLiteral("Microsoft SQL Server"));
  EXPECT_EQ(AliasBaseDatosGeneral, QStringLiteral("ZEMGENERAL"));
  EXPECT_EQ(CodigoAdministrador, QStringLiteral("ADMIN"));
  EXPECT_EQ(NombreEmpresaInicial, QStringLiteral("EMPRESA 1"));
  // A temporary-files path that is no folder puts temporary tables in the database.
  EXPECT_EQ(PathArchivosTemporales, QStringLiteral("ZEMGENERAL"));
  EXPECT_TRUE(ArchivosTemporalesEnBD);
}

TEST_F(ParametrosInstalacion, TheFixedNameIsFoundWithoutRegardToCase) {
  StringList({"TipoBaseDatos=Paradox"}).SaveToFile(carpeta.File(QStringLiteral("instalacion.cfg")));
  LeerParametrosInstalacion();  // no L= at all
  EXPECT_EQ(ArchivoInstalacion, carpeta.File(QStringLiteral("instalacion.cfg")));
  EXPECT_EQ(TipoBaseDatos, QStringLiteral("Paradox"));
}

TEST_F(ParametrosInstalacion, NeitherFileReadableWarnsAndLeavesTheValuesEmpty) {
  mensajes.Expect(QStringLiteral("A"));
  ParametroL = carpeta.File(QStringLiteral("NOEXISTE.CFG"));
  ParametroT = QStringLiteral("ENG");
  LeerParametrosInstalacion();
  EXPECT_EQ(mensajes.Texts(), QStringList{QStringLiteral(
                                  "No ha sido posible leer los parámetros de instalación. Se utilizarán los "
                                  "parámetros por defecto.")});
  EXPECT_TRUE(ArchivoInstalacion.isEmpty());
  EXPECT_TRUE(TipoBaseDatos.isEmpty());
  EXPECT_TRUE(AliasBaseDatosGeneral.isEmpty());
  EXPECT_TRUE(PathBaseDatos.isEmpty());
  EXPECT_TRUE(LogotipoEmpresa.isEmpty());
  EXPECT_TRUE(IdiomaActual.isEmpty());
  EXPECT_EQ(CodigoAdministrador, QStringLiteral("ADMIN"));
}

TEST_F(ParametrosInstalacion, AFolderInPlaceOfTheFileCannotBeRead) {
  mensajes.Expect(QStringLiteral("A"));
  QDir().mkdir(carpeta.File(QStringLiteral("INSTALACION.CFG")));
  LeerParametrosInstalacion();
  EXPECT_TRUE(ArchivoInstalacion.isEmpty());
}

TEST_F(ParametrosInstalacion, PrivateDirNamesTheSessionsPrivateFolder) {
  instalacion.Setting(QStringLiteral("PathArchivosTemporales"), QStringLiteral("PrivateDir")).Write();
  LeerParametrosInstalacion();
  EXPECT_EQ(PathArchivosTemporales, QDir::currentPath());  // no private folder set yet
  EXPECT_TRUE(ArchivosTemporalesEnBD);                     // the INI file decides finally

  const QString privada = carpeta.File(QStringLiteral("PRIVDIR"));
  ASSERT_TRUE(QDir().mkdir(privada));
  Session::Default().SetPrivateDir(privada);
  LeerParametrosInstalacion();
  EXPECT_EQ(PathArchivosTemporales, QDir(privada).absolutePath());
}
