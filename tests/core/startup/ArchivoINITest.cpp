#include "core/startup/ArchivoINI.h"
#include "core/startup/ParametrosInstalacion.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

namespace {

const QString kConf = QStringLiteral("Configuración");
const QString kSQL = QStringLiteral("Microsoft SQL Server");

}  // namespace

class ArchivoINI : public ConfiguracionInicio {
 protected:
  void Leer() {
    instalacion.Write();
    LeerParametrosInstalacion();
    LeerArchivoINI();
  }
};

TEST_F(ArchivoINI, KeysMissingTakeTheirDefaults) {
  Leer();
  EXPECT_EQ(::ArchivoINI, carpeta.File(QStringLiteral("ZEMWIN.INI")));
  EXPECT_EQ(NivelCapturaIncidencias, QStringLiteral("Minimo"));
  EXPECT_TRUE(VisualizacionPreviaActivada);
  EXPECT_TRUE(ArchivosTemporalesEnBD);
  EXPECT_FALSE(ModoAdministradorActivado);
  EXPECT_FALSE(BusquedaAproximadaActivada);
  EXPECT_TRUE(TiempoForzarTerminacionAplicacion.isEmpty());
  EXPECT_EQ(FormatoFechaSQL, QStringLiteral("mm/dd/yyyy"));
  EXPECT_EQ(FechaNulaSQL, QStringLiteral("12/30/1899 00:00:00"));
  EXPECT_EQ(NombreIntercalacionMSSQL, QStringLiteral("SQL_Latin1_General_Cp1_CI_AI"));
  EXPECT_EQ(NivelAislamientoTransaccionesMSSQL, QStringLiteral("READ UNCOMMITTED"));
  EXPECT_EQ(ReplicacionBDActivada, QStringLiteral("NO"));
  EXPECT_EQ(EnviarIncidenciasAZEM, QStringLiteral("NO"));
  EXPECT_EQ(RetardoGrabacionPDF, 5000);
  EXPECT_EQ(AspectoAplicacion, QStringLiteral("evo+"));
  EXPECT_EQ(UsuarioInicioSesion, QStringLiteral("ZEM"));
  EXPECT_TRUE(ClaveInicioSesion.isEmpty());
  EXPECT_EQ(TablasRegistroAccesos.Count(), 0);
}

TEST_F(ArchivoINI, ReadsTheSettingsGiven) {
  instalacion.Ini(kConf, QStringLiteral("ModoAdministradorActivado"), QStringLiteral("SI"))
      .Ini(kConf, QStringLiteral("BusquedaAproximadaActivada"), QStringLiteral("si"))  // only "SI" is on
      .Ini(kConf, QStringLiteral("VisualizacionPreviaActivada"), QStringLiteral("NO"))
      .Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QStringLiteral("5"))
      .Ini(kConf, QStringLiteral("NivelCapturaIncidencias"), QStringLiteral("Maximo"))
      .Ini(kConf, QStringLiteral("RetardoGrabacionPDF"), QStringLiteral("3"))
      .Ini(kConf, QStringLiteral("AspectoAplicacion"), QStringLiteral("Clasico"))
      .Ini(kConf, QStringLiteral("RegistrarAccesoATablas"), QStringLiteral("ARTICULO,CLIENTE"))
      .Ini(kConf, QStringLiteral("ArchivosTemporalesEnBD"), QStringLiteral("NO"))
      .Ini(kSQL, QStringLiteral("PasswordInicioSesion"), QStringLiteral("020011015"))
      .Ini(kSQL, QStringLiteral("NivelAislamientoTransaccionesMSSQL"), QString())
      .Ini(kSQL, QStringLiteral("ReplicacionBDActivada"), QStringLiteral("SI"));
  Leer();
  EXPECT_TRUE(ModoAdministradorActivado);
  EXPECT_FALSE(BusquedaAproximadaActivada);
  EXPECT_FALSE(VisualizacionPreviaActivada);
  EXPECT_EQ(TiempoForzarTerminacionAplicacion, QStringLiteral("5"));
  EXPECT_EQ(NivelCapturaIncidencias, QStringLiteral("Maximo"));
  EXPECT_EQ(RetardoGrabacionPDF, 3000);
  EXPECT_EQ(AspectoAplicacion, QStringLiteral("Clasico"));
  EXPECT_EQ(TablasRegistroAccesos.Lines(), (QStringList{"ARTICULO", "CLIENTE"}));
  EXPECT_FALSE(ArchivosTemporalesEnBD);
  EXPECT_EQ(PathArchivosTemporales, QStringLiteral("ZEMGENERAL"));  // as the settings file gave it
  EXPECT_EQ(ClaveInicioSesion, QStringLiteral("abc"));
  EXPECT_EQ(NivelAislamientoTransaccionesMSSQL, QStringLiteral("READ UNCOMMITTED"));
  EXPECT_EQ(ReplicacionBDActivada, QStringLiteral("SI"));
}

TEST_F(ArchivoINI, TemporaryFilesInTheDatabaseUseTheGeneralAlias) {
  instalacion.Setting(QStringLiteral("PathArchivosTemporales"), QStringLiteral("/datos/temp"));
  Leer();  // the INI key's default "SI" decides
  EXPECT_TRUE(ArchivosTemporalesEnBD);
  EXPECT_EQ(PathArchivosTemporales, QStringLiteral("ZEMGENERAL"));
}

TEST_F(ArchivoINI, ARetardoThatIsNoWholeNumberIsFiveSeconds) {
  instalacion.Ini(kConf, QStringLiteral("RetardoGrabacionPDF"), QStringLiteral("2,5"));
  Leer();
  EXPECT_EQ(RetardoGrabacionPDF, 5000);
}

TEST_F(ArchivoINI, TheSQLDateFormatIsReadOnlyOnSQLServer) {
  struct Caso {
    const char* motor;
    const char* formato;
    const char* esperado;
    const char* fechaNula;
  };
  const Caso casos[] = {
      {"Microsoft SQL Server", "dd/mm/yyyy", "dd/mm/yyyy", "30/12/1899 00:00:00"},
      {"Microsoft SQL Server", "", "mm/dd/yyyy", "12/30/1899 00:00:00"},
      {"Microsoft SQL Server", "yyyy-mm-dd", "yyyy-mm-dd", "12/30/1899 00:00:00"},
      {"Paradox", "dd/mm/yyyy", "mm/dd/yyyy", "12/30/1899 00:00:00"},
  };
  for (const Caso& caso : casos) {
    InstallationBuilder(carpeta.Path())
        .Engine(QLatin1String(caso.motor))
        .Ini(kConf, QStringLiteral("FormatoFechaSQL"), QLatin1String(caso.formato))
        .Write();
    LeerParametrosInstalacion();
    LeerArchivoINI();
    EXPECT_EQ(FormatoFechaSQL, QLatin1String(caso.esperado)) << caso.motor << " " << caso.formato;
    EXPECT_EQ(FechaNulaSQL, QLatin1String(caso.fechaNula)) << caso.motor << " " << caso.formato;
  }
}

TEST_F(ArchivoINI, TheIParameterIsANameInTheProgramFolderOrAPath) {
  instalacion.Write();
  const auto escribir = [](const QString& archivo, const QString& valor) {
    TextFile::Write(archivo, QString());
    IniFile(archivo).WriteString(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), valor);
  };
  QDir().mkdir(carpeta.File(QStringLiteral("CFG")));
  escribir(carpeta.File(QStringLiteral("OTRO.INI")), QStringLiteral("1"));
  escribir(carpeta.File(QStringLiteral("CFG/OTRO.INI")), QStringLiteral("2"));
  escribir(carpeta.File(QStringLiteral("zemwin.ini")), QStringLiteral("3"));
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));

  const std::pair<QString, QString> casos[] = {
      {QStringLiteral("OTRO.INI"), carpeta.File(QStringLiteral("OTRO.INI"))},
      {carpeta.File(QStringLiteral("CFG/OTRO.INI")), carpeta.File(QStringLiteral("CFG/OTRO.INI"))},
      {QStringLiteral("CFG\\OTRO.INI"), QStringLiteral("CFG/OTRO.INI")},
      {QString(), carpeta.File(QStringLiteral("zemwin.ini"))},  // the fixed name in any case
  };
  const QString valores[] = {"1", "2", "2", "3"};
  for (std::size_t i = 0; i < std::size(casos); ++i) {
    ParametroI = casos[i].first;
    LeerArchivoINI();
    EXPECT_EQ(::ArchivoINI, casos[i].second);
    EXPECT_EQ(TiempoForzarTerminacionAplicacion, valores[i]) << casos[i].first.toStdString();
  }
}

TEST_F(ArchivoINI, AnUnreadableFileWarnsAndKeepsTheValuesFromBefore) {
  mensajes.Expect(QStringLiteral("A"));
  instalacion.Write();
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  QDir().mkdir(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  LeerParametrosInstalacion();
  LeerArchivoINI();
  EXPECT_EQ(mensajes.Texts(),
            QStringList{QStringLiteral("No ha sido posible leer los parámetros del archivo ") +
                        carpeta.File(QStringLiteral("ZEMWIN.INI")) +
                        QStringLiteral(". Se utilizarán los parámetros por defecto.")});
  EXPECT_FALSE(VisualizacionPreviaActivada);
  EXPECT_TRUE(NivelCapturaIncidencias.isEmpty());
  EXPECT_TRUE(UsuarioInicioSesion.isEmpty());
  EXPECT_TRUE(AspectoAplicacion.isEmpty());
  EXPECT_EQ(NombreIntercalacionMSSQL, QStringLiteral("SQL_Latin1_General_Cp1_CI_AI"));
  EXPECT_EQ(NivelAislamientoTransaccionesMSSQL, QStringLiteral("READ UNCOMMITTED"));
  EXPECT_EQ(ReplicacionBDActivada, QStringLiteral("NO"));
  EXPECT_EQ(FormatoFechaSQL, QStringLiteral("mm/dd/yyyy"));
  EXPECT_TRUE(ArchivosTemporalesEnBD);  // the settings file's rule stands
}

TEST_F(ArchivoINI, AMissingFileIsNoFailure) {
  instalacion.Write();
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  LeerArchivoINI();
  EXPECT_TRUE(VisualizacionPreviaActivada);
  EXPECT_EQ(NivelCapturaIncidencias, QStringLiteral("Minimo"));
}
