#include "app/ProgramaZEM.h"
#include "app/visorweb/VisorWebDiferido.h"
#include "dialogs/Genedoce.h"
#include "platform/Application.h"
#include "shell/Genemenu.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QOpenGLContext>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The engine's view maker, as the module would give it: what it was asked.
struct MotorRegistrado : VisorWeb {
  QWidget* Crear(QWidget& panel) override { return crear(panel, u"Crear"_qs); }
  QWidget* CrearSinScripts(QWidget& panel) override { return crear(panel, u"CrearSinScripts"_qs); }
  void Navegar(QWidget& vista, const QString& direccion) override { pedidos << vista.objectName() + u' ' + direccion; }
  QWidget* crear(QWidget& panel, const QString& como) {
    auto* vista = new QWidget(&panel);
    vista->setObjectName(como + QString::number(pedidos.size()));
    pedidos << vista->objectName();
    return vista;
  }
  QStringList pedidos;
};

struct Cargas {
  MotorRegistrado motor;
  int veces = 0;
  VisorWebDiferido::Cargador cargador() {
    return [this]() -> VisorWeb* {
      ++veces;
      return &motor;
    };
  }
};

}  // namespace

TEST(VisorWebDiferido, TheEngineLoadsWhenTheFirstPageIsShownAndShowsWhatWasAskedBefore) {
  Cargas cargas;
  VisorWebDiferido visor(cargas.cargador());
  QWidget ventana;
  QWidget* primero = new QWidget(&ventana);
  QWidget* segundo = new QWidget(&ventana);
  QWidget* conScripts = visor.Crear(*primero);
  QWidget* sinScripts = visor.CrearSinScripts(*segundo);
  visor.Navegar(*conScripts, u"file:///tmp/a.html"_qs);
  visor.Navegar(*conScripts, u"file:///tmp/b.html"_qs);
  segundo->hide();
  EXPECT_EQ(conScripts->parentWidget(), primero);
  EXPECT_EQ(cargas.veces, 0) << "nothing shown yet";

  ventana.show();
  EXPECT_EQ(cargas.veces, 1);
  EXPECT_EQ(cargas.motor.pedidos, QStringList({u"Crear0"_qs, u"Crear0 file:///tmp/b.html"_qs}));
  visor.Navegar(*conScripts, u"http://zem.es"_qs);
  visor.Navegar(*sinScripts, u"file:///tmp/c.html"_qs);
  segundo->show();
  EXPECT_EQ(cargas.veces, 1) << "loaded once";
  EXPECT_EQ(cargas.motor.pedidos, QStringList({u"Crear0"_qs, u"Crear0 file:///tmp/b.html"_qs,
                                               u"Crear0 http://zem.es"_qs, u"CrearSinScripts3"_qs,
                                               u"CrearSinScripts3 file:///tmp/c.html"_qs}));
  // The real view fills the one the form holds.
  EXPECT_EQ(conScripts->findChild<QWidget*>(u"Crear0"_qs)->parentWidget(), conScripts);
}

TEST(VisorWebDiferido, WithoutTheEngineThePlainViewShowsThePage) {
  VisorWebDiferido visor([]() -> VisorWeb* { return nullptr; });
  TemporaryFolder carpeta;
  const QString pagina = carpeta.File(u"p.html"_qs);
  QFile archivo(pagina);
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write("<p>Hola</p>");
  archivo.close();
  QWidget panel;
  QWidget* vista = visor.CrearSinScripts(panel);
  visor.Navegar(*vista, u"file://"_qs + pagina);
  panel.show();
  auto* texto = vista->findChild<QTextBrowser*>();
  ASSERT_NE(texto, nullptr);
  EXPECT_EQ(texto->toPlainText().trimmed(), u"Hola"_qs);
}

// The forms that hold a view are made at start-up; the engine is not.
TEST(VisorWebDiferido, StartingTheProgramToItsMainWindowLoadsNoEngine) {
  TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  Cargas cargas;
  VisorWebDiferido visor(cargas.cargador());
  VisorWebSeam::Scoped instalado(visor);
  ScriptedPresenter mensajes;
  mensajes.Expect(u"P"_qs, u"ADMIN"_qs);
  ProgramaZEM programa(*Application::Instance(), {u"U=ANA"_qs});
  programa.Iniciar();
  QTimer::singleShot(0, [] { Application::Instance()->Terminate(); });
  EXPECT_EQ(programa.Ejecutar(), 0);
  EXPECT_EQ(cargas.veces, 0);
  ASSERT_NE(fGENEDOCE, nullptr);
  fGENEDOCE->show();
  EXPECT_EQ(cargas.veces, 1);
  EXPECT_EQ(cargas.motor.pedidos.value(0), u"CrearSinScripts0"_qs) << "the documents' view runs no script";
}

// What the program does before its application object asks for no OpenGL:
// the contexts the engine shares are asked for when its first page is shown.
TEST(VisorWebDiferido, PreparingTheProgramAsksForNoOpenGl) {
  const bool compartidos = QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
  const QList<QByteArray> variables{"QTWEBENGINE_CHROMIUM_FLAGS", "QT_LOGGING_RULES", "QTWEBENGINE_DISABLE_SANDBOX"};
  QList<QByteArray> valores;
  for (const QByteArray& variable : variables) valores.append(qgetenv(variable.constData()));

  VisorWebDiferido::Preparar();

  EXPECT_FALSE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
  EXPECT_EQ(QOpenGLContext::globalShareContext(), nullptr);
  for (qsizetype i = 0; i < variables.size(); ++i)
    valores[i].isEmpty() ? qunsetenv(variables[i].constData()) : qputenv(variables[i].constData(), valores[i]);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, compartidos);
}
