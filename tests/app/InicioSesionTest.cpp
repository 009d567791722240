#include "app/ProgramaZEM.h"
#include "core/datamodule/Genemodu.h"
#include "platform/Application.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "shell/Genemenu.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Starts the program in the current folder; true when its message loop ran.
bool Ejecutar() {
  ProgramaZEM programa(*Application::Instance(), {});
  programa.Iniciar();
  bool bucle = false;
  QObject alcance;
  QTimer::singleShot(0, &alcance, [&] {
    bucle = true;
    Application::Instance()->Terminate();
  });
  EXPECT_EQ(programa.Ejecutar(), 0);
  EXPECT_FALSE(fGENEMENU->isVisible());
  EXPECT_NE(ModuloDatos, nullptr);  // the module never frees itself
  return bucle;
}

}  // namespace

TEST(InicioSesion, ARefusedLoginClosesTheMainWindowAndEndsTheProgram) {
  TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  ScriptedPresenter mensajes;
  mensajes.Expect(u"P"_qs, u"NADIE"_qs).Expect(u"A"_qs);
  EXPECT_FALSE(Ejecutar());
}

TEST(InicioSesion, AUserTableThatCannotBeMadeEndsTheProgramWithAnError) {
  TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  // Definitions without USUARIO: the table cannot be made.
  const QString definiciones = Paths::Join(carpeta.Path(), QString::fromLatin1(InstallationBuilder::kDefinitionsFile));
  QList<QByteArray> lineas = TextFile::ReadBytes(definiciones).split('\n');
  lineas.removeIf([](const QByteArray& linea) { return linea.startsWith("USUARIO/"); });
  TextFile::WriteBytes(definiciones, lineas.join('\n'));
  ScriptedPresenter mensajes;
  mensajes.Expect(u"E"_qs);
  EXPECT_FALSE(Ejecutar());
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡ La tabla no existe !. Compruebe la Base de Datos por favor."_qs});
  EXPECT_FALSE(ModuloDatosListo);
}
