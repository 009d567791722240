#include "app/ProgramaZEM.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/GanchosFormulario.h"
#include "core/messages/Genemens.h"
#include "core/services/DocumentacionElectronica.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/Genepant.h"
#include "dialogs/Genebusa.h"
#include "dialogs/Genebusq.h"
#include "dialogs/Genedeta.h"
#include "dialogs/Genedoce.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/VisorWeb.h"
#include "shell/Genemenu.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QTranslator>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kConf = u"Configuración"_qs;

const QStringList kFormulariosConBusqueda = {"fGENEMENU", "fGENEMENS", "fGENEDETA",  "fGENEINIC",
                                             "fGENEVMEM", "fGENECOPI", "fGENEFILT",  "fGENEDOCE",
                                             "fGENECPRO", "fGENEBUSQ", "ModuloDatos"};

}  // namespace

class ProgramaZEMTest : public ::testing::Test {
 protected:
  Application& Aplicacion() { return *Application::Instance(); }

  TemporaryFolder carpeta;
  InstallationBuilder instalacion{carpeta.Path()};
};

TEST_F(ProgramaZEMTest, CreatesTheFormsInTheirOrderAndRunsTheMainWindow) {
  instalacion.Write();
  ScriptedPresenter mensajes;
  mensajes.Expect(QStringLiteral("P"), QStringLiteral("ADMIN"));  // the login, the only message
  {
    ProgramaZEM programa(Aplicacion(), {u"U=ANA"_qs});
    programa.Iniciar();
    EXPECT_EQ(programa.FormulariosCreados(), kFormulariosConBusqueda);
    EXPECT_EQ(fGENEBUSA, nullptr);
    ASSERT_NE(fGENEPANT, nullptr);
    EXPECT_TRUE(fGENEPANT->isVisible());
    // The look is the main window's default, set before the INI file was read.
    EXPECT_EQ(QStringList({fGENEPANT->Version()->text(), Aplicacion().Title(), Aplicacion().HelpFile(), ParametroU,
                           AspectoAplicacion, fGENEBUSQ->Caption()}),
              QStringList({"Versión 2024b", "Gestor de Aplicaciones ZEM", "ZEMWIN.HLP", "ANA", "evo+", "Buscar"}));
    EXPECT_EQ(&MessagePresenterSeam::Get(), &mensajes);  // a presenter already in place keeps the messages
    // The maintenance tools that lower layers open by name, and the masters' copy.
    for (const char* clase : {"TfGENEDIAG", "TfGENEBSQL", "TfGENETEST"})
      EXPECT_TRUE(FormRegistry::IsRegistered(QLatin1String(clase))) << clase;
    EXPECT_TRUE(Ganchos().CopiarRegistrosAOtrasEmpresas);

    bool mostrada = false;
    QTimer::singleShot(0, [&] {
      mostrada = fGENEMENU->isVisible();
      EXPECT_EQ(fGENEPANT, nullptr);  // the main window's first show frees the splash
      Aplicacion().Terminate();
    });
    EXPECT_EQ(programa.Ejecutar(), 0);
    EXPECT_TRUE(mostrada);
  }
  EXPECT_EQ(fGENEMENU, nullptr);
  EXPECT_EQ(fGENEINIC, nullptr);
  EXPECT_EQ(ModuloDatos, nullptr);
}

TEST_F(ProgramaZEMTest, TheApproximateSearchReplacesTheSearchForm) {
  instalacion.Ini(kConf, u"BusquedaAproximadaActivada"_qs, u"SI"_qs).Write();
  ScriptedPresenter mensajes;
  ProgramaZEM programa(Aplicacion(), {});
  programa.Iniciar();
  QStringList esperados = kFormulariosConBusqueda;
  esperados.replace(esperados.indexOf(u"fGENEBUSQ"_qs), u"fGENEBUSA"_qs);
  EXPECT_EQ(programa.FormulariosCreados(), esperados);
  EXPECT_NE(fGENEBUSA, nullptr);
  EXPECT_EQ(fGENEBUSQ, nullptr);
}

TEST_F(ProgramaZEMTest, TheDetailViewersPagesRunNoScript) {
  struct Visor : VisorWeb {
    QWidget* Crear(QWidget& panel) override { return crear(panel, u"Crear"_qs); }
    QWidget* CrearSinScripts(QWidget& panel) override { return crear(panel, u"CrearSinScripts"_qs); }
    void Navegar(QWidget&, const QString&) override {}
    QWidget* crear(QWidget& panel, const QString& como) {
      if (panel.objectName() == u"WebBrowserDetalle") creadas << como;  // the detail viewer's panel
      return new QWidget(&panel);
    }
    QStringList creadas;
    VisorWebSeam::Scoped instalado{*this};
  } visor;
  instalacion.Write();
  ScriptedPresenter mensajes;
  ProgramaZEM programa(Aplicacion(), {});
  programa.Iniciar();
  visor.creadas.clear();
  const QByteArray temporal = qgetenv("TMPDIR");
  qputenv("TMPDIR", carpeta.Path().toLocal8Bit());
  QTimer::singleShot(0, [] {
    if (QWidget* detalle = QApplication::activeModalWidget()) detalle->close();
  });
  MostrarDetalle(u"<p onclick=\"x()\">Texto</p>"_qs, u"T"_qs, u"Interprete=HTML"_qs);
  if (temporal.isEmpty())
    qunsetenv("TMPDIR");
  else
    qputenv("TMPDIR", temporal);
  EXPECT_EQ(visor.creadas, QStringList{u"CrearSinScripts"_qs});
}

TEST_F(ProgramaZEMTest, AStartUpFailureShowsOneErrorAndNeverRunsTheLoop) {
  instalacion.Write();
  TfGENEINIC::InstalarPreparacionBasesDatos(
      [](TfGENEINIC&) -> bool { throw Exception(u"Unknown database 'ZEMEMP'"_qs); });
  ScriptedPresenter mensajes;
  mensajes.Expect(u"E"_qs);
  ProgramaZEM programa(Aplicacion(), {});
  programa.Iniciar();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡Imposible iniciar la aplicación!. Motivo: Unknown database 'ZEMEMP'"_qs});
  EXPECT_EQ(programa.FormulariosCreados(), kFormulariosConBusqueda);  // the main block still creates them all

  bool bucle = false;
  QObject alcance;  // the call queued for a loop that never runs dies with the test
  QTimer::singleShot(0, &alcance, [&] {
    bucle = true;
    Aplicacion().quit();
  });
  EXPECT_EQ(programa.Ejecutar(), 0);
  EXPECT_FALSE(bucle);
  EXPECT_FALSE(fGENEMENU->isVisible());
}

TEST_F(ProgramaZEMTest, WithoutAnotherPresenterTheMessageBoxShowsTheMessages) {
  instalacion.Write();
  {
    ProgramaZEM programa(Aplicacion(), {});
    programa.Iniciar();
    EXPECT_EQ(&MessagePresenterSeam::Get(), static_cast<MessagePresenter*>(fGENEMENS));
  }
  EXPECT_EQ(&MessagePresenterSeam::Get(), &MessagePresenter::Default());
}

// The documentation window made at start-up is the one the main window shows
// first; once closed, the next showing makes a new one.
TEST_F(ProgramaZEMTest, TheStartUpDocumentationWindowIsTheFirstShownInTheMainWindow) {
  instalacion.Write();
  ScriptedPresenter mensajes;
  ProgramaZEM programa(Aplicacion(), {});
  programa.Iniciar();
  TfGENEDOCE* inicial = fGENEDOCE;
  ASSERT_NE(inicial, nullptr);
  EXPECT_FALSE(inicial->isVisible());
  Ganchos().VentanaPrincipal = []() -> QWidget* { return fGENEMENU; };
  MostrarDocumentacionElectronica(u"PEDIDO"_qs, u"7"_qs);
  QMdiArea* area = fGENEMENU->AreaMDI();
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList().first()->widget(), inicial);
  EXPECT_FALSE(programa.FormulariosCreados().contains(u"fGENEDOCE"_qs)) << "the main window owns it now";
  area->subWindowList().first()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(fGENEDOCE, nullptr);
  MostrarDocumentacionElectronica(u"PEDIDO"_qs, u"8"_qs);
  ASSERT_EQ(area->subWindowList().size(), 1);
  EXPECT_EQ(area->subWindowList().first()->widget()->property("ClaveTabla").toString(), u"8"_qs);
  RestablecerGanchosFormulario();
}

TEST_F(ProgramaZEMTest, QtsOwnDialogsSpeakSpanishFromTheStart) {
  instalacion.Write();
  ScriptedPresenter mensajes;
  ProgramaZEM programa(Aplicacion(), {});
  programa.Iniciar();
  QFileDialog guardar;
  guardar.setAcceptMode(QFileDialog::AcceptSave);
  EXPECT_EQ(guardar.windowTitle(), u"Guardar como"_qs);
  for (QTranslator* traductor : Aplicacion().findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(traductor);
    delete traductor;
  }
}
