#include "core/startup/ParametrosInstalacion.h"
#include "platform/StringList.h"
#include "platform/data/Session.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

using ParametrosInstalacion = ConfiguracionInicio;

namespace {

QStringList leidos() {
  return {ArchivoInstalacion, TipoBaseDatos,         AliasBaseDatosGeneral,  PathBaseDatosGeneral, PathBaseDatos,
          AliasBaseDatos,     AliasBaseDatosEmpresa, PathArchivosTemporales, CodigoAdministrador,  NombreEmpresaInicial,
          LogotipoEmpresa,    IdiomaActual,          QString::number(EmpresaActual), ArchivosTemporalesEnBD ? "SI" : "NO"};
}

}  // namespace

TEST_F(ParametrosInstalacion, ReadsTheFileNamedOnTheCommandLineOrTheFixedName) {
  instalacion.Write();
  QDir().mkdir(QStringLiteral("OTRA"));
  StringList({"TipoBaseDatos=", "AliasBaseDatosGeneral=GENPDX", "PathBaseDatosGeneral=/datos/general/",
              "AliasBaseDatos=EMPPDX", "PathArchivosTemporales=/datos/temp", "CodigoAdministrador=JEFE",
              "NombreEmpresaInicial=Mi Empresa, S.L."})
      .SaveToFile(QStringLiteral("OTRA/INST.CFG"));
  ParametroL = QStringLiteral("OTRA\\INST.CFG");
  ParametroT = QStringLiteral("ENG");
  LeerParametrosInstalacion();  // an empty engine means Paradox
  EXPECT_EQ(leidos(), QStringList({"OTRA\\INST.CFG", "Paradox", "GENPDX", "/datos/general/", "/datos/general/", "EMPPDX",
                                   "EMPPDX", "/datos/temp", "JEFE", "Mi Empresa, S.L.", "LOGO.BMP", "ENG", "0", "NO"}));

  // A temporary-files path that is no folder puts temporary tables in the database.
  ParametroL = carpeta.File(QStringLiteral("NOEXISTE.CFG"));
  LeerParametrosInstalacion();
  const QStringList fijo = leidos();
  EXPECT_EQ(fijo.mid(0, 3), QStringList({carpeta.File(QStringLiteral("INSTALACION.CFG")), "Microsoft SQL Server", "ZEMGENERAL"}));
  EXPECT_EQ(fijo.mid(7, 3), QStringList({"ZEMGENERAL", "ADMIN", "EMPRESA 1"}));
  EXPECT_EQ(fijo.last(), QStringLiteral("SI"));

  QFile::remove(QStringLiteral("INSTALACION.CFG"));
  StringList({"TipoBaseDatos=Paradox"}).SaveToFile(QStringLiteral("instalacion.cfg"));
  ParametroL.clear();
  LeerParametrosInstalacion();  // found without regard to case
  EXPECT_EQ(ArchivoInstalacion + TipoBaseDatos, carpeta.File(QStringLiteral("instalacion.cfg")) + "Paradox");
}

TEST_F(ParametrosInstalacion, NeitherFileReadableWarnsAndLeavesTheValuesEmpty) {
  for (const bool carpetaEnSuLugar : {false, true}) {
    mensajes.Expect(QStringLiteral("A"));
    if (carpetaEnSuLugar) QDir().mkdir(QStringLiteral("INSTALACION.CFG"));
    ParametroL = carpeta.File(QStringLiteral("NOEXISTE.CFG"));
    ParametroT = QStringLiteral("ENG");
    LeerParametrosInstalacion();
    EXPECT_EQ(mensajes.Texts().last(), QStringLiteral("No ha sido posible leer los parámetros de instalación. Se "
                                                      "utilizarán los parámetros por defecto."));
    const QStringList vacios = leidos();
    EXPECT_EQ(vacios.mid(0, 5) + vacios.mid(10, 2), QStringList(7, QString()));
    EXPECT_EQ(CodigoAdministrador, QStringLiteral("ADMIN"));
  }
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
