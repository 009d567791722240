#include "core/startup/ArchivoINI.h"
#include "core/startup/ParametrosInstalacion.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

namespace {

const QString kConf = QStringLiteral("Configuración");
const QString kSQL = QStringLiteral("Microsoft SQL Server");

QString si(bool valor) { return valor ? QStringLiteral("SI") : QStringLiteral("NO"); }

// The settings that have defaults, in one line to compare.
QString ajustes() {
  return QStringList({::ArchivoINI, NivelCapturaIncidencias, si(VisualizacionPreviaActivada),
                      si(ArchivosTemporalesEnBD), si(ModoAdministradorActivado), si(BusquedaAproximadaActivada),
                      TiempoForzarTerminacionAplicacion, FormatoFechaSQL, FechaNulaSQL, NombreIntercalacionMSSQL,
                      NivelAislamientoTransaccionesMSSQL, ReplicacionBDActivada, EnviarIncidenciasAZEM,
                      QString::number(RetardoGrabacionPDF), AspectoAplicacion, UsuarioInicioSesion, ClaveInicioSesion,
                      TablasRegistroAccesos.Lines().join(u','), PathArchivosTemporales})
      .join(u'|');
}

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
  instalacion.Setting(QStringLiteral("PathArchivosTemporales"), QStringLiteral("/datos/temp"));
  Leer();  // the INI key's default "SI" puts the temporary files in the general database
  EXPECT_EQ(ajustes(), carpeta.File(QStringLiteral("ZEMWIN.INI")) +
                           QStringLiteral("|Minimo|SI|SI|NO|NO||mm/dd/yyyy|12/30/1899 00:00:00|"
                                          "SQL_Latin1_General_Cp1_CI_AI|READ UNCOMMITTED|NO|NO|5000|evo+|ZEM|||ZEMGENERAL"));
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));  // a missing file is no failure
  LeerArchivoINI();
  EXPECT_EQ(NivelCapturaIncidencias, QStringLiteral("Minimo"));
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
  // The temporary folder stays as the settings file gave it.
  EXPECT_EQ(ajustes(), carpeta.File(QStringLiteral("ZEMWIN.INI")) +
                           QStringLiteral("|Maximo|NO|NO|SI|NO|5|mm/dd/yyyy|12/30/1899 00:00:00|"
                                          "SQL_Latin1_General_Cp1_CI_AI|READ UNCOMMITTED|SI|NO|3000|Clasico|ZEM|abc|"
                                          "ARTICULO,CLIENTE|ZEMGENERAL"));
  instalacion.Ini(kConf, QStringLiteral("RetardoGrabacionPDF"), QStringLiteral("2,5"));
  Leer();
  EXPECT_EQ(RetardoGrabacionPDF, 5000);  // no whole number
}

TEST_F(ArchivoINI, TheSQLDateFormatIsReadOnlyOnSQLServer) {
  const std::tuple<const char*, const char*, const char*, const char*> casos[] = {
      {"Microsoft SQL Server", "dd/mm/yyyy", "dd/mm/yyyy", "30/12/1899 00:00:00"},
      {"Microsoft SQL Server", "", "mm/dd/yyyy", "12/30/1899 00:00:00"},
      {"Microsoft SQL Server", "yyyy-mm-dd", "yyyy-mm-dd", "12/30/1899 00:00:00"},
      {"Paradox", "dd/mm/yyyy", "mm/dd/yyyy", "12/30/1899 00:00:00"},
  };
  for (const auto& [motor, formato, esperado, fechaNula] : casos) {
    InstallationBuilder(carpeta.Path())
        .Engine(QLatin1String(motor))
        .Ini(kConf, QStringLiteral("FormatoFechaSQL"), QLatin1String(formato))
        .Write();
    LeerParametrosInstalacion();
    LeerArchivoINI();
    EXPECT_EQ(FormatoFechaSQL + u'|' + FechaNulaSQL, QLatin1String(esperado) + u'|' + QLatin1String(fechaNula))
        << motor << " " << formato;
  }
}

TEST_F(ArchivoINI, TheIParameterIsANameInTheProgramFolderOrAPath) {
  instalacion.Write();
  QDir().mkdir(QStringLiteral("CFG"));
  const std::tuple<const char*, QString, const char*> casos[] = {
      {"OTRO.INI", carpeta.File(QStringLiteral("OTRO.INI")), "1"},
      {"", carpeta.File(QStringLiteral("zemwin.ini")), "3"},  // the fixed name in any case
      {"CFG\\OTRO.INI", QStringLiteral("CFG/OTRO.INI"), "2"},
  };
  for (const auto& [parametro, archivo, valor] : casos) {
    TextFile::Write(archivo, QString());
    IniFile(archivo).WriteString(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QLatin1String(valor));
  }
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  for (const auto& [parametro, archivo, valor] : casos) {
    ParametroI = QLatin1String(parametro);
    LeerArchivoINI();
    EXPECT_EQ(::ArchivoINI + u'|' + TiempoForzarTerminacionAplicacion, archivo + u'|' + QLatin1String(valor));
  }
  ParametroI = carpeta.File(QStringLiteral("CFG/OTRO.INI"));
  LeerArchivoINI();
  EXPECT_EQ(TiempoForzarTerminacionAplicacion, QStringLiteral("2"));
}

TEST_F(ArchivoINI, AnUnreadableFileWarnsAndKeepsTheValuesFromBefore) {
  mensajes.Expect(QStringLiteral("A"));
  instalacion.Write();
  QFile::remove(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  QDir().mkdir(carpeta.File(QStringLiteral("ZEMWIN.INI")));
  LeerParametrosInstalacion();
  LeerArchivoINI();
  EXPECT_EQ(mensajes.Texts(), QStringList{QStringLiteral("No ha sido posible leer los parámetros del archivo ") +
                                          carpeta.File(QStringLiteral("ZEMWIN.INI")) +
                                          QStringLiteral(". Se utilizarán los parámetros por defecto.")});
  EXPECT_EQ(QStringList({si(VisualizacionPreviaActivada), NivelCapturaIncidencias, UsuarioInicioSesion,
                         AspectoAplicacion, NombreIntercalacionMSSQL, NivelAislamientoTransaccionesMSSQL,
                         ReplicacionBDActivada, FormatoFechaSQL, si(ArchivosTemporalesEnBD)}),
            QStringList({"NO", "", "", "", "SQL_Latin1_General_Cp1_CI_AI", "READ UNCOMMITTED", "NO", "mm/dd/yyyy",
                         "SI"}));  // the settings file's rule for the temporary files stands
}

TEST_F(ArchivoINI, BDENetDirMovesTheSessionsNetworkControlFolder) {
  // The engine, BDENetDir, the network control folder below the program folder ("-": outside it).
  const std::tuple<const char*, const char*, const char*> casos[] = {
      {"Microsoft SQL Server", "", ""},  // the engine configuration's NET DIR
      {"Microsoft SQL Server", "red", "/red"}, {"Paradox", "LOCAL", "/LOCAL"}, {"Microsoft SQL Server", "local", "-"}};
  for (const auto& [motor, valor, carpetaRed] : casos) {
    instalacion.Engine(QLatin1String(motor)).Ini(kConf, QStringLiteral("BDENetDir"), QLatin1String(valor));
    Session::ResetDefault();
    Leer();
    const QString vista = Session::Default().NetFileDir();
    EXPECT_EQ(*carpetaRed == '-' ? QString::number(vista.startsWith(carpeta.Path())) : vista,
              *carpetaRed == '-' ? QStringLiteral("0") : carpeta.Path() + QLatin1String(carpetaRed))
        << valor;
  }
}
