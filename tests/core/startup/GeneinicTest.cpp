#include "core/startup/DireccionDistribuidor.h"
#include "core/startup/Geneinic.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "tests/core/startup/ConfiguracionFixture.h"
#include "tests/fixtures/ManualClock.h"

#include <stdexcept>

namespace {

const QString kConf = QStringLiteral("Configuración");

}  // namespace

class Geneinic : public ConfiguracionInicio {
 protected:
  bool Terminado() const { return Application::Instance()->Terminated(); }

  ManualClock reloj;
};

TEST_F(Geneinic, CreationReadsTheWholeConfiguration) {
  instalacion.Ini(kConf, QStringLiteral("RegistrarAccesoATablas"), QStringLiteral("ARTICULO"));
  instalacion.Write();
  TextFile::Write(carpeta.File(QStringLiteral("ZEMWIN.MAP")), QStringLiteral("X Ayuda 1\r\n"));
  QString visto;
  TfGENEINIC::InstalarPreparacionBasesDatos([&visto](TfGENEINIC&) {
    visto = TipoBaseDatos + u'|' + UsuarioInicioSesion;  // runs once both files are read
    return true;
  });
  {
    const TfGENEINIC servicios({QStringLiteral("U=ANA"), QStringLiteral("T=ENG")});
    EXPECT_EQ(servicios.objectName(), QStringLiteral("fGENEINIC"));
    EXPECT_EQ(servicios.Caption(), QStringLiteral("Inicialización (General)"));
    EXPECT_FALSE(servicios.isVisible());
    EXPECT_EQ(visto, QStringLiteral("Microsoft SQL Server|ZEM"));
    EXPECT_EQ(ParametroU, QStringLiteral("ANA"));
    EXPECT_EQ(IdiomaActual, QStringLiteral("ENG"));
    EXPECT_EQ(CarpetaPrograma, carpeta.Path() + u'/');
    EXPECT_EQ(ArchivoInstalacion, carpeta.File(QStringLiteral("INSTALACION.CFG")));
    EXPECT_EQ(ArchivoINI, carpeta.File(QStringLiteral("ZEMWIN.INI")));
    EXPECT_EQ(Plataforma, QStringLiteral("Desconocida"));
    EXPECT_EQ(AjusteAlturaFormulario, 27);
    EXPECT_EQ(UltimaActividad, reloj.Now());
    EXPECT_EQ(TablasRegistroAccesos.Lines(), QStringList{"ARTICULO"});
    EXPECT_EQ(MapaAyuda.Lines(), QStringList{"Ayuda=1"});
    EXPECT_TRUE(ControlesNoVisibles.Sorted());
    EXPECT_TRUE(CamposPlantillasNumericas[5].Sorted());
    ASSERT_TRUE(FuenteAplicacion.has_value());
    EXPECT_EQ(FuenteAplicacion->family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(URLAccesoMenuWebDistribuidor, QLatin1String(kURLDistribuidorPorDefecto));
    EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
    EXPECT_FALSE(Terminado());
  }
  // Its destruction frees what it made.
  EXPECT_EQ(MapaAyuda.Count(), 0);
  EXPECT_EQ(TablasRegistroAccesos.Count(), 0);
  EXPECT_FALSE(FuenteAplicacion.has_value());
}

TEST_F(Geneinic, AFailingDatabaseSetUpEndsTheProgramWithOneErrorMessage) {
  instalacion.Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QStringLiteral("5"));
  instalacion.Write();
  TextFile::Write(carpeta.File(QStringLiteral("ZEMWIN.MAP")), QStringLiteral("X Ayuda 1\r\n"));
  TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) -> bool {
    throw Exception(QStringLiteral("No se encuentra el servidor"));
  });
  mensajes.Expect(QStringLiteral("E"));
  const TfGENEINIC servicios({});
  EXPECT_EQ(mensajes.Texts(),
            QStringList{QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: No se encuentra el servidor")});
  EXPECT_TRUE(Terminado());
  // The steps after the database set-up still run.
  EXPECT_EQ(MapaAyuda.Lines(), QStringList{"Ayuda=1"});
  EXPECT_TRUE(servicios.TimerAplicacion.Enabled());
  EXPECT_FALSE(URLAccesoMenuWebDistribuidor.isEmpty());
}

TEST_F(Geneinic, AnyExceptionOfTheSetUpIsReported) {
  instalacion.Write();
  TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) -> bool { throw std::runtime_error("sin memoria"); });
  mensajes.Expect(QStringLiteral("E"));
  const TfGENEINIC servicios({});
  EXPECT_EQ(mensajes.Texts(), QStringList{QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: sin memoria")});
  EXPECT_TRUE(Terminado());
}

TEST_F(Geneinic, ASetUpThatEndsTheCreationSkipsTheRestWithoutEndingTheProgram) {
  instalacion.Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QStringLiteral("5"));
  instalacion.Write();
  TextFile::Write(carpeta.File(QStringLiteral("ZEMWIN.MAP")), QStringLiteral("X Ayuda 1\r\n"));
  TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) { return false; });
  const TfGENEINIC servicios({});
  EXPECT_FALSE(Terminado());
  EXPECT_EQ(MapaAyuda.Count(), 0);
  EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
  EXPECT_TRUE(URLAccesoMenuWebDistribuidor.isEmpty());
}

TEST_F(Geneinic, AnEmptyIdleTimeNeverEndsTheProgram) {
  instalacion.Write();
  const TfGENEINIC servicios({});
  EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
  reloj.Advance(48LL * 3600 * 1000);
  EXPECT_FALSE(Terminado());
}

TEST_F(Geneinic, TheProgramEndsAtTheFirstTickAfterMoreThanTheIdleTime) {
  instalacion.Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QStringLiteral("5"));
  instalacion.Write();
  const TfGENEINIC servicios({});
  ASSERT_TRUE(servicios.TimerAplicacion.Enabled());
  EXPECT_EQ(servicios.TimerAplicacion.Interval(), 15000);
  reloj.Advance(300000);  // the tick at exactly five minutes
  EXPECT_FALSE(Terminado());
  reloj.Advance(14999);
  EXPECT_FALSE(Terminado());
  reloj.Advance(1);
  EXPECT_TRUE(Terminado());
  EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
}

TEST_F(Geneinic, ActivityPutsOffTheEnd) {
  instalacion.Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QStringLiteral("5"));
  instalacion.Write();
  const TfGENEINIC servicios({});
  reloj.Advance(200000);
  RegistrarActividadTeclado();
  reloj.Advance(295000);  // 495 s: 295 s idle
  EXPECT_FALSE(Terminado());
  RegistrarActividadRaton();
  reloj.Advance(300000);
  EXPECT_FALSE(Terminado());
  reloj.Advance(15000);
  EXPECT_TRUE(Terminado());
}

TEST_F(Geneinic, AnIdleTimeThatIsNoWholeNumberEndsAtTheFirstTick) {
  for (const char* valor : {"0", "cinco"}) {
    Application::Instance()->ResetTerminated();
    instalacion.Ini(kConf, QStringLiteral("TiempoForzarTerminacionAplicacion"), QLatin1String(valor));
    instalacion.Write();
    const TfGENEINIC servicios({});
    reloj.Advance(14999);
    EXPECT_FALSE(Terminado()) << valor;
    reloj.Advance(1);
    EXPECT_TRUE(Terminado()) << valor;
  }
}

TEST_F(Geneinic, LoNuevoDeLaVersionIsNotAvailableYet) {
  mensajes.Expect(QStringLiteral("I"));
  LoNuevoDeLaVersion(QString());
  EXPECT_EQ(mensajes.Texts(), QStringList{QStringLiteral("Está opción estará disponible en próximas versiones.")});
}
