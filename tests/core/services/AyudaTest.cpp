#include "core/services/Ayuda.h"
#include "core/startup/Configuracion.h"
#include "core/startup/MapaAyuda.h"
#include "platform/DesktopServices.h"
#include "platform/TextFile.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Records the files it is asked to open instead of opening them.
class VisorGrabado : public DesktopServices {
 public:
  VisorGrabado() : instalado_(*this) {}
  bool OpenFile(const QString& path) override {
    abiertos.append(path);
    return abre;
  }

  bool abre = true;
  QStringList abiertos;

 private:
  DesktopServicesSeam::Scoped instalado_;
};

}  // namespace

class Ayuda : public ::testing::Test {
 protected:
  Ayuda() {
    CarpetaPrograma = QDir(carpeta.Path()).canonicalPath() + u'/';
  }

  TemporaryFolder carpeta;
  ScriptedPresenter mensajes;
  VisorGrabado visor;
};

TEST_F(Ayuda, TheHelpButtonOfAFormOpensTheHelpFileAtItsCaptionsTopic) {
  TextFile::Write(carpeta.File(QStringLiteral("zemwin.map")),
                  QStringLiteral("#define Maestro_de_Empresas 1200\r\n"
                                 "IDH Gestor 10\r\n"
                                 "IDH Copias 3a\r\n"));
  TextFile::Write(carpeta.File(QStringLiteral("ZemWin.chm")), QStringLiteral("ayuda"));
  CargarMapaAyuda();

  EXPECT_EQ(ContextoAyuda(QStringLiteral("Maestro_de_Empresas")), 1200);
  EXPECT_EQ(ContextoAyuda(QStringLiteral("gestor")), 10);  // topics are looked up without regard to case
  EXPECT_EQ(ContextoAyuda(QStringLiteral("Copias")), 0);   // not a number
  EXPECT_EQ(ContextoAyuda(QStringLiteral("Usuarios")), 0);

  EXPECT_TRUE(MostrarAyuda(ContextoAyuda(QStringLiteral("Gestor"))));
  EXPECT_EQ(visor.abiertos, QStringList{CarpetaPrograma + QStringLiteral("ZemWin.chm")});
}

TEST_F(Ayuda, AMissingHelpFileIsWarnedOfAndTheViewerStillCalled) {
  mensajes.Expect(QStringLiteral("A"));
  EXPECT_TRUE(MostrarAyuda(0));
  EXPECT_EQ(mensajes.Texts(), QStringList{"¡No existe el archivo de ayuda!"});
  EXPECT_EQ(visor.abiertos, QStringList{CarpetaPrograma + QStringLiteral("ZEMWIN.CHM")});
}

TEST_F(Ayuda, NoViewerGivesFalseWithItsWarning) {
  TextFile::Write(carpeta.File(QStringLiteral("ZEMWIN.CHM")), QStringLiteral("ayuda"));
  visor.abre = false;
  mensajes.Expect(QStringLiteral("A"));
  EXPECT_FALSE(MostrarAyuda(7));
  EXPECT_EQ(mensajes.Texts(), QStringList{"¡La Ayuda HTML no está instalada en esta máquina!"});
  EXPECT_EQ(visor.abiertos.size(), 1);
}
