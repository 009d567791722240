#include "app/ProgramaZEM.h"
#include "core/datamodule/Genemodu.h"
#include "platform/Application.h"
#include "platform/Paths.h"
#include "shell/Genemenu.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>
#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class InicioSesion : public ::testing::Test {
 protected:
  InicioSesion() { instalacion.Write(); }

  // Runs the program to its first loop turn; true when the loop ran.
  static bool Ejecutar(ProgramaZEM& programa) {
    bool bucle = false;
    QObject alcance;
    QTimer::singleShot(0, &alcance, [&] {
      bucle = true;
      Application::Instance()->Terminate();
    });
    EXPECT_EQ(programa.Ejecutar(), 0);
    return bucle;
  }

  TemporaryFolder carpeta;
  InstallationBuilder instalacion{carpeta.Path()};
  ScriptedPresenter mensajes;
};

}  // namespace

TEST_F(InicioSesion, ARefusedLoginClosesTheMainWindowAndEndsTheProgram) {
  mensajes.Expect(u"P"_qs, u"NADIE"_qs).Expect(u"A"_qs);
  ProgramaZEM programa(*Application::Instance(), {});
  programa.Iniciar();
  EXPECT_FALSE(Ejecutar(programa));
  EXPECT_FALSE(fGENEMENU->isVisible());
}

TEST_F(InicioSesion, AUserTableThatCannotBeMadeEndsTheProgramWithAnError) {
  // Definitions without USUARIO: the table cannot be made.
  QFile definiciones(Paths::FindFile(carpeta.Path(), QString::fromLatin1(InstallationBuilder::kDefinitionsFile)));
  ASSERT_TRUE(definiciones.open(QIODevice::ReadOnly));
  QList<QByteArray> lineas = definiciones.readAll().split('\n');
  definiciones.close();
  lineas.removeIf([](const QByteArray& linea) { return linea.startsWith("USUARIO/"); });
  ASSERT_TRUE(definiciones.open(QIODevice::WriteOnly | QIODevice::Truncate));
  definiciones.write(lineas.join('\n'));
  definiciones.close();
  mensajes.Expect(u"E"_qs);
  ProgramaZEM programa(*Application::Instance(), {});
  programa.Iniciar();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡ La tabla no existe !. Compruebe la Base de Datos por favor."_qs});
  EXPECT_FALSE(ModuloDatosListo);
  EXPECT_NE(ModuloDatos, nullptr);  // the module never frees itself
  EXPECT_FALSE(Ejecutar(programa));
}
