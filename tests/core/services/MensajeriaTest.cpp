#include "core/services/Mensajeria.h"
#include "core/startup/Configuracion.h"
#include "tests/fixtures/RecordingLauncher.h"

#include <QDir>

#include <gtest/gtest.h>

class Mensajeria : public ::testing::Test {
 protected:
  Mensajeria() {
    CarpetaPrograma = u"/zem/"_qs;
    ArchivoInstalacion = u"/zem/INSTALACION.CFG"_qs;
    CodigoUsuarioActual = u"ANA"_qs;
  }

  RecordingLauncher lanzador;
};

TEST_F(Mensajeria, StartsTheMessagingProgramWithTheSessionAndTheTextWhenItIsOn) {
  AbrirMensajeria(QString());
  EXPECT_TRUE(lanzador.Calls().isEmpty());
  MensajeriaInternaActivada = true;
  AbrirMensajeria(QString());
  ClaveUsuarioActual = u"secreta"_qs;
  AbrirMensajeria(u"Nuevo aviso"_qs);
  ASSERT_EQ(lanzador.Calls().size(), 2);
  for (const RecordingLauncher::Call& llamada : lanzador.Calls()) {
    EXPECT_EQ(llamada.program, u"/zem/PANIWIN.EXE"_qs);
    EXPECT_FALSE(llamada.waited);
    EXPECT_EQ(llamada.workingFolder, QDir::currentPath());
  }
  EXPECT_EQ(lanzador.Calls()[0].arguments, (QStringList{"/zem/INSTALACION.CFG", "ANA", "Indefinida"}));
  EXPECT_EQ(lanzador.Calls()[1].arguments, (QStringList{"/zem/INSTALACION.CFG", "ANA", "secreta", "Nuevo", "aviso"}));
}
