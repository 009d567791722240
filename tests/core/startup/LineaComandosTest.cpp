#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"

#include <gtest/gtest.h>

TEST(LeerLineaComandos, NamedAndPositionalParameters) {
  struct Caso {
    QStringList parametros;
    QString l, u, i, t;
  };
  const Caso casos[] = {
      {{}, "", "", "", ""}, {{"l=C:\\A\\B.TXT", "u=JUAN"}, "C:\\A\\B.TXT", "JUAN", "", ""},
      {{"C:\\A\\B.TXT", "JUAN"}, "C:\\A\\B.TXT", "JUAN", "", ""}, {{"C:\\A\\B.TXT"}, "C:\\A\\B.TXT", "", "", ""},
      {{"X=1", "C:\\A\\B.TXT"}, "", "", "", ""},  // "=" second: positional mode is off
      {{"L=/inst/A.CFG", "U=ANA", "I=OTRO.INI", "T=ENG"}, "/inst/A.CFG", "ANA", "OTRO.INI", "ENG"},
      {{"I=PRIMERO.INI", "i=SEGUNDO.INI"}, "", "", "SEGUNDO.INI", ""},  // the later one wins
      {{"U=", "A.CFG"}, "", "", "", ""},
      {{"LX=1", "A.CFG", "PEPE"}, "LX=1", "A.CFG", "", ""},  // "=" third: still positional
      {{"t=FRA", "L=X"}, "X", "", "", "FRA"},
  };
  for (const Caso& caso : casos) {
    ParametroL = ParametroU = ParametroI = ParametroT = QStringLiteral("antes");
    LeerLineaComandos(caso.parametros);
    const std::string donde = caso.parametros.join(u' ').toStdString();
    EXPECT_EQ(ParametroL, caso.l) << donde;
    EXPECT_EQ(ParametroU, caso.u) << donde;
    EXPECT_EQ(ParametroI, caso.i) << donde;
    EXPECT_EQ(ParametroT, caso.t) << donde;
  }
}

TEST(ParametrosLlamada, PassesTheFourParametersWithTheUserLoggedIn) {
  LeerLineaComandos({QStringLiteral("L=/inst/A.CFG"), QStringLiteral("U=ANA"), QStringLiteral("T=ENG")});
  CodigoUsuarioActual = QStringLiteral("PEDRO");
  EXPECT_EQ(ParametrosLlamada(), QStringLiteral(" L=/inst/A.CFG U=PEDRO I= T=ENG"));
}
