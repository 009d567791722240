#include "core/startup/DireccionDistribuidor.h"
#include "core/startup/Geneinic.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/data/Query.h"
#include "tests/core/startup/ConfiguracionFixture.h"
#include "tests/fixtures/ManualClock.h"

#include <QFileDialog>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

class Geneinic : public ConfiguracionInicio {
 protected:
  bool Terminado() const { return Application::Instance()->Terminated(); }
  void Inactividad(const char* minutos) {
    Application::Instance()->ResetTerminated();
    instalacion.Ini(u"Configuración"_qs, u"TiempoForzarTerminacionAplicacion"_qs, QLatin1String(minutos));
    instalacion.Write();
    TextFile::Write(carpeta.File(u"ZEMWIN.MAP"_qs), u"X Ayuda 1\r\n"_qs);
  }

  ManualClock reloj;
};

TEST_F(Geneinic, CreationReadsTheWholeConfigurationAndMakesItsComponents) {
  instalacion.Ini(u"Configuración"_qs, u"RegistrarAccesoATablas"_qs, u"ARTICULO"_qs);
  Inactividad("");
  QString visto;
  TfGENEINIC::InstalarPreparacionBasesDatos([&visto](TfGENEINIC&) {
    visto = TipoBaseDatos + u'|' + UsuarioInicioSesion;  // runs once both files are read
    return true;
  });
  {
    const TfGENEINIC servicios({u"U=ANA"_qs, u"T=ENG"_qs});
    EXPECT_FALSE(servicios.isVisible());
    EXPECT_EQ(QStringList({servicios.objectName(), servicios.Caption(), visto, ParametroU, IdiomaActual,
                           CarpetaPrograma, ArchivoInstalacion, ArchivoINI, Plataforma}),
              QStringList({"fGENEINIC", "Inicialización (General)", "Microsoft SQL Server|ZEM", "ANA", "ENG",
                           carpeta.Path() + u'/', carpeta.File(u"INSTALACION.CFG"_qs), carpeta.File(u"ZEMWIN.INI"_qs),
                           "Desconocida"}));
    EXPECT_EQ(AjusteAlturaFormulario, 27);
    EXPECT_EQ(UltimaActividad, reloj.Now());
    EXPECT_EQ(TablasRegistroAccesos.Lines(), QStringList{"ARTICULO"});
    EXPECT_EQ(MapaAyuda.Lines(), QStringList{"Ayuda=1"});
    EXPECT_TRUE(ControlesNoVisibles.Sorted() && CamposPlantillasNumericas[5].Sorted());
    ASSERT_TRUE(FuenteAplicacion.has_value());
    EXPECT_EQ(FuenteAplicacion->family(), u"Segoe UI"_qs);
    EXPECT_EQ(URLAccesoMenuWebDistribuidor, QLatin1String(kURLDistribuidorPorDefecto));
    EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
    EXPECT_EQ(servicios.findChild<Query*>(u"Query1"_qs), servicios.Query1);
    EXPECT_EQ(servicios.findChild<QFileDialog*>(u"SaveDialog1"_qs), servicios.SaveDialog1);
    EXPECT_EQ(servicios.SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(servicios.TimerKeyPad.Interval(), 100);
    EXPECT_FALSE(servicios.TimerKeyPad.Enabled() || Terminado());
  }
  // Its destruction frees what it made.
  EXPECT_EQ(MapaAyuda.Count() + TablasRegistroAccesos.Count(), 0);
  EXPECT_FALSE(FuenteAplicacion.has_value());
}

TEST_F(Geneinic, TheRandomGeneratorIsSeededFromTheClockAtCreation) {
  Inactividad("");
  const auto primeros = [] {
    const TfGENEINIC servicios({});
    return std::vector<int>{std::rand(), std::rand(), std::rand()};
  };
  const std::vector<int> ahora = primeros();
  EXPECT_EQ(primeros(), ahora);
  reloj.Advance(1);
  EXPECT_NE(primeros(), ahora);
}

TEST_F(Geneinic, AFailingDatabaseSetUpEndsTheProgramWithOneErrorMessageAndTheRestStillRuns) {
  const std::pair<std::function<bool(TfGENEINIC&)>, const char*> casos[] = {
      {[](TfGENEINIC&) -> bool { throw Exception(u"No se encuentra el servidor"_qs); }, "No se encuentra el servidor"},
      {[](TfGENEINIC&) -> bool { throw std::runtime_error("sin memoria"); }, "sin memoria"},
  };
  for (const auto& [preparacion, motivo] : casos) {
    Inactividad("5");
    TfGENEINIC::InstalarPreparacionBasesDatos(preparacion);
    mensajes.Expect(u"E"_qs);
    const TfGENEINIC servicios({});
    EXPECT_EQ(mensajes.Texts().last(), u"¡Imposible iniciar la aplicación!. Motivo: "_qs + motivo);
    EXPECT_TRUE(Terminado());
    EXPECT_EQ(MapaAyuda.Lines(), QStringList{"Ayuda=1"});
    EXPECT_TRUE(servicios.TimerAplicacion.Enabled());
    EXPECT_FALSE(URLAccesoMenuWebDistribuidor.isEmpty());
  }
}

TEST_F(Geneinic, ASetUpThatEndsTheCreationSkipsTheRestWithoutEndingTheProgram) {
  Inactividad("5");
  TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) { return false; });
  const TfGENEINIC servicios({});
  EXPECT_FALSE(Terminado());
  EXPECT_EQ(MapaAyuda.Count(), 0);
  EXPECT_FALSE(servicios.TimerAplicacion.Enabled());
  EXPECT_TRUE(URLAccesoMenuWebDistribuidor.isEmpty());
}

TEST_F(Geneinic, TheProgramEndsAtTheFirstTickAfterMoreThanTheIdleTime) {
  // The idle minutes, how long it still runs, and the tick that ends it (0: none); ticks come every 15 s,
  // and one at exactly the limit does not end it.
  const std::tuple<const char*, qint64, qint64> casos[] = {
      {"", 48LL * 3600 * 1000, 0}, {"0", 14999, 15000}, {"cinco", 14999, 15000}, {"5", 314999, 315000}};
  for (const auto& [valor, sigue, termina] : casos) {
    Inactividad(valor);
    const TfGENEINIC servicios({});
    EXPECT_EQ(servicios.TimerAplicacion.Enabled(), *valor != 0) << valor;
    reloj.Advance(sigue);
    EXPECT_FALSE(Terminado()) << valor;
    if (!termina) continue;
    reloj.Advance(termina - sigue);
    EXPECT_TRUE(Terminado() && !servicios.TimerAplicacion.Enabled()) << valor;
  }
}

TEST_F(Geneinic, ActivityPutsOffTheEnd) {
  Inactividad("5");
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

TEST_F(Geneinic, LoNuevoDeLaVersionIsNotAvailableYet) {
  mensajes.Expect(u"I"_qs);
  LoNuevoDeLaVersion(QString());
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Está opción estará disponible en próximas versiones."_qs});
}
