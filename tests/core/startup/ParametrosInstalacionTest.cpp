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
  QDir().mkdir(u"OTRA"_qs);
  StringList({"TipoBaseDatos=", "AliasBaseDatosGeneral=GENPDX", "PathBaseDatosGeneral=/datos/general/",
              "AliasBaseDatos=EMPPDX", "PathArchivosTemporales=/datos/temp", "CodigoAdministrador=JEFE",
              "NombreEmpresaInicial=Mi Empresa, S.L."})
      .SaveToFile(u"OTRA/INST.CFG"_qs);
  ParametroL = u"OTRA\\INST.CFG"_qs;
  ParametroT = u"ENG"_qs;
  LeerParametrosInstalacion();  // an empty engine means Paradox
  EXPECT_EQ(leidos(), QStringList({"OTRA\\INST.CFG", "Paradox", "GENPDX", "/datos/general/", "/datos/general/", "EMPPDX",
                                   "EMPPDX", "/datos/temp", "JEFE", "Mi Empresa, S.L.", "LOGO.BMP", "ENG", "0", "NO"}));

  // A temporary-files path that is no folder puts temporary tables in the database.
  ParametroL = carpeta.File(u"NOEXISTE.CFG"_qs);
  LeerParametrosInstalacion();
  const QStringList fijo = leidos();
  EXPECT_EQ(fijo.mid(0, 3), QStringList({carpeta.File(u"INSTALACION.CFG"_qs), "Microsoft SQL Server", "ZEMGENERAL"}));
  EXPECT_EQ(fijo.mid(7, 3), QStringList({"ZEMGENERAL", "ADMIN", "EMPRESA 1"}));
  EXPECT_EQ(fijo.last(), u"SI"_qs);

  QFile::remove(u"INSTALACION.CFG"_qs);
  StringList({"TipoBaseDatos=Paradox"}).SaveToFile(u"instalacion.cfg"_qs);
  ParametroL.clear();
  LeerParametrosInstalacion();  // found without regard to case
  EXPECT_EQ(ArchivoInstalacion + TipoBaseDatos, carpeta.File(u"instalacion.cfg"_qs) + "Paradox");
}

TEST_F(ParametrosInstalacion, NeitherFileReadableWarnsAndLeavesTheValuesEmpty) {
  for (const bool carpetaEnSuLugar : {false, true}) {
    mensajes.Expect(u"A"_qs);
    if (carpetaEnSuLugar) QDir().mkdir(u"INSTALACION.CFG"_qs);
    ParametroL = carpeta.File(u"NOEXISTE.CFG"_qs);
    ParametroT = u"ENG"_qs;
    LeerParametrosInstalacion();
    EXPECT_EQ(mensajes.Texts().last(), u"No ha sido posible leer los parámetros de instalación. Se "
                                       "utilizarán los parámetros por defecto."_qs);
    const QStringList vacios = leidos();
    EXPECT_EQ(vacios.mid(0, 5) + vacios.mid(10, 2), QStringList(7, QString()));
    EXPECT_EQ(CodigoAdministrador, u"ADMIN"_qs);
  }
}

TEST_F(ParametrosInstalacion, PrivateDirNamesTheSessionsPrivateFolder) {
  instalacion.Setting(u"PathArchivosTemporales"_qs, u"PrivateDir"_qs).Write();
  LeerParametrosInstalacion();
  EXPECT_EQ(PathArchivosTemporales, QDir::currentPath());  // no private folder set yet
  EXPECT_TRUE(ArchivosTemporalesEnBD);                     // the INI file decides finally
  const QString privada = carpeta.File(u"PRIVDIR"_qs);
  ASSERT_TRUE(QDir().mkdir(privada));
  Session::Default().SetPrivateDir(privada);
  LeerParametrosInstalacion();
  EXPECT_EQ(PathArchivosTemporales, QDir(privada).absolutePath());
}
