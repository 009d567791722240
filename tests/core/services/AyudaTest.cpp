#include "core/services/Ayuda.h"
#include "core/startup/Geneinic.h"
#include "core/startup/MapaAyuda.h"
#include "platform/DesktopServices.h"
#include "platform/TextFile.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>

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

TEST_F(ConfiguracionInicio, TheHelpButtonOfAFormOpensTheHelpFileWhereverItStands) {
  VisorGrabado visor;
  instalacion.Write();
  TfGENEINIC::InstalarPreparacionBasesDatos([](TfGENEINIC&) { return true; });
  TfGENEINIC servicios({});
  fGENEINIC = &servicios;
  CarpetaPrograma = QDir(carpeta.Path()).canonicalPath() + u'/';
  TextFile::Write(u"zemwin.map"_qs, u"#define Maestro_de_Empresas 1200\r\nIDH Gestor 10\r\nIDH Copias 3a\r\n"_qs);
  CargarMapaAyuda();
  // Topics are looked up without regard to case; one that is no number gives 0.
  for (const auto& [tema, contexto] :
       {std::pair{"Maestro_de_Empresas", 1200}, {"gestor", 10}, {"Copias", 0}, {"Usuarios", 0}})
    EXPECT_EQ(ContextoAyuda(QLatin1String(tema)), contexto) << tema;

  // A missing help file is warned of, and that is all: no viewer is asked to open it.
  mensajes.Expect(u"A"_qs);
  EXPECT_TRUE(MostrarAyuda(0));
  EXPECT_EQ(mensajes.Texts(), QStringList{"¡No existe el archivo de ayuda!"});
  EXPECT_EQ(servicios.PathAyuda, CarpetaPrograma + u"ZEMWIN.CHM"_qs);
  EXPECT_TRUE(visor.abiertos.isEmpty());

  TextFile::Write(u"ZemWin.chm"_qs, u"ayuda"_qs);
  EXPECT_TRUE(MostrarAyuda(ContextoAyuda(u"Gestor"_qs)));
  EXPECT_EQ(servicios.PathAyuda, CarpetaPrograma + u"ZemWin.chm"_qs);

  visor.abre = false;
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(MostrarAyuda(7));
  EXPECT_EQ(mensajes.Texts().last(), u"¡La Ayuda HTML no está instalada en esta máquina!"_qs);
  EXPECT_EQ(visor.abiertos, QStringList({servicios.PathAyuda, servicios.PathAyuda}));
}
