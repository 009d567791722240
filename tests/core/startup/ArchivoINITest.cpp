#include "core/startup/ArchivoINI.h"
#include "core/startup/ParametrosInstalacion.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

namespace {

const QString kConf = u"Configuración"_qs;
const QString kSQL = u"Microsoft SQL Server"_qs;

QString si(bool valor) { return valor ? u"SI"_qs : u"NO"_qs; }

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
  instalacion.Setting(u"PathArchivosTemporales"_qs, u"/datos/temp"_qs);
  Leer();  // the INI key's default "SI" puts the temporary files in the general database
  EXPECT_EQ(ajustes(), carpeta.File(u"ZEMWIN.INI"_qs) +
                           u"|Minimo|SI|SI|NO|NO||mm/dd/yyyy|12/30/1899 00:00:00|SQL_Latin1_General_Cp1_CI_AI|"
                           "READ UNCOMMITTED|NO|NO|5000|evo+|ZEM|||ZEMGENERAL"_qs);
  QFile::remove(carpeta.File(u"ZEMWIN.INI"_qs));  // a missing file is no failure
  LeerArchivoINI();
  EXPECT_EQ(NivelCapturaIncidencias, u"Minimo"_qs);
}

TEST_F(ArchivoINI, ReadsTheSettingsGiven) {
  for (const auto& [clave, valor] :
       {std::pair{"ModoAdministradorActivado", "SI"}, {"BusquedaAproximadaActivada", "si"},  // only "SI" is on
        {"VisualizacionPreviaActivada", "NO"}, {"TiempoForzarTerminacionAplicacion", "5"},
        {"NivelCapturaIncidencias", "Maximo"}, {"RetardoGrabacionPDF", "3"}, {"AspectoAplicacion", "Clasico"},
        {"RegistrarAccesoATablas", "ARTICULO,CLIENTE"}, {"ArchivosTemporalesEnBD", "NO"}})
    instalacion.Ini(kConf, QLatin1String(clave), QLatin1String(valor));
  instalacion.Ini(kSQL, u"PasswordInicioSesion"_qs, u"020011015"_qs)
      .Ini(kSQL, u"NivelAislamientoTransaccionesMSSQL"_qs, QString())
      .Ini(kSQL, u"ReplicacionBDActivada"_qs, u"SI"_qs);
  Leer();
  // The temporary folder stays as the settings file gave it.
  EXPECT_EQ(ajustes(), carpeta.File(u"ZEMWIN.INI"_qs) +
                           u"|Maximo|NO|NO|SI|NO|5|mm/dd/yyyy|12/30/1899 00:00:00|SQL_Latin1_General_Cp1_CI_AI|"
                           "READ UNCOMMITTED|SI|NO|3000|Clasico|ZEM|abc|ARTICULO,CLIENTE|ZEMGENERAL"_qs);
  instalacion.Ini(kConf, u"RetardoGrabacionPDF"_qs, u"2,5"_qs);
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
    InstallationBuilder(carpeta.Path()).Engine(QLatin1String(motor)).Ini(kConf, u"FormatoFechaSQL"_qs,
                                                                        QLatin1String(formato)).Write();
    LeerParametrosInstalacion();
    LeerArchivoINI();
    EXPECT_EQ(FormatoFechaSQL + u'|' + FechaNulaSQL, QLatin1String(esperado) + u'|' + QLatin1String(fechaNula))
        << motor << " " << formato;
  }
}

TEST_F(ArchivoINI, TheIParameterIsANameInTheProgramFolderOrAPath) {
  instalacion.Write();
  QDir().mkdir(u"CFG"_qs);
  const std::tuple<const char*, QString, const char*> casos[] = {
      {"OTRO.INI", carpeta.File(u"OTRO.INI"_qs), "1"},
      {"", carpeta.File(u"zemwin.ini"_qs), "3"},  // the fixed name in any case
      {"CFG\\OTRO.INI", u"CFG/OTRO.INI"_qs, "2"},
  };
  for (const auto& [parametro, archivo, valor] : casos) {
    TextFile::Write(archivo, QString());
    IniFile(archivo).WriteString(kConf, u"TiempoForzarTerminacionAplicacion"_qs, QLatin1String(valor));
  }
  QFile::remove(carpeta.File(u"ZEMWIN.INI"_qs));
  for (const auto& [parametro, archivo, valor] : casos) {
    ParametroI = QLatin1String(parametro);
    LeerArchivoINI();
    EXPECT_EQ(::ArchivoINI + u'|' + TiempoForzarTerminacionAplicacion, archivo + u'|' + QLatin1String(valor));
  }
  ParametroI = carpeta.File(u"CFG/OTRO.INI"_qs);
  LeerArchivoINI();
  EXPECT_EQ(TiempoForzarTerminacionAplicacion, u"2"_qs);
}

TEST_F(ArchivoINI, AnUnreadableFileWarnsAndKeepsTheValuesFromBefore) {
  mensajes.Expect(u"A"_qs);
  instalacion.Write();
  QFile::remove(carpeta.File(u"ZEMWIN.INI"_qs));
  QDir().mkdir(carpeta.File(u"ZEMWIN.INI"_qs));
  LeerParametrosInstalacion();
  LeerArchivoINI();
  EXPECT_EQ(mensajes.Texts(),
            QStringList{u"No ha sido posible leer los parámetros del archivo "_qs + carpeta.File(u"ZEMWIN.INI"_qs) +
                        u". Se utilizarán los parámetros por defecto."_qs});
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
    instalacion.Engine(QLatin1String(motor)).Ini(kConf, u"BDENetDir"_qs, QLatin1String(valor));
    Session::ResetDefault();
    Leer();
    const QString vista = Session::Default().NetFileDir();
    EXPECT_EQ(*carpetaRed == '-' ? QString::number(vista.startsWith(carpeta.Path())) : vista,
              *carpetaRed == '-' ? u"0"_qs : carpeta.Path() + QLatin1String(carpetaRed))
        << valor;
  }
}
