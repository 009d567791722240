#include "core/startup/Clave.h"
#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(LeerLineaComandos, NamedAndPositionalParameters) {
  // The parameters and what L, U, I and T become, joined by "|".
  const std::pair<QStringList, const char*> casos[] = {
      {{}, "|||"}, {{"l=C:\\A\\B.TXT", "u=JUAN"}, "C:\\A\\B.TXT|JUAN||"},
      {{"C:\\A\\B.TXT", "JUAN"}, "C:\\A\\B.TXT|JUAN||"}, {{"C:\\A\\B.TXT"}, "C:\\A\\B.TXT|||"},
      {{"X=1", "C:\\A\\B.TXT"}, "|||"},  // "=" second: positional mode is off
      {{"L=/inst/A.CFG", "U=ANA", "I=OTRO.INI", "T=ENG"}, "/inst/A.CFG|ANA|OTRO.INI|ENG"},
      {{"I=PRIMERO.INI", "i=SEGUNDO.INI"}, "||SEGUNDO.INI|"},  // the later one wins
      {{"U=", "A.CFG"}, "|||"},
      {{"LX=1", "A.CFG", "PEPE"}, "LX=1|A.CFG||"},  // "=" third: still positional
      {{"t=FRA", "L=X"}, "X|||FRA"},
  };
  for (const auto& [parametros, leidos] : casos) {
    ParametroL = ParametroU = ParametroI = ParametroT = u"antes"_qs;
    LeerLineaComandos(parametros);
    EXPECT_EQ(QStringList({ParametroL, ParametroU, ParametroI, ParametroT}).join(u'|'), QLatin1String(leidos))
        << parametros.join(u' ').toStdString();
  }
}

TEST(ParametrosLlamada, PassesTheFourParametersWithTheUserLoggedIn) {
  LeerLineaComandos({u"L=/inst/A.CFG"_qs, u"U=ANA"_qs, u"T=ENG"_qs});
  CodigoUsuarioActual = u"PEDRO"_qs;
  EXPECT_EQ(ParametrosLlamada(), u" L=/inst/A.CFG U=PEDRO I= T=ENG"_qs);
}

TEST(Clave, ScramblesAndUnscramblesWithTheFixedKey) {
  // The stored text, the clear text, and whether scrambling that clear text gives the stored text back.
  const std::tuple<const char*, const char16_t*, bool> casos[] = {
      {"", u"", true}, {"020011015", u"abc", true},
      {"047044033058038063066", u"ZEMWIN7", true},  // the sixth letter takes the key's first
      {"164006157002", u"Ñoño", true},
      {"0200110", u"ab", false},  // a trailing part group is ignored
      {"02", u"", false},
      {"999", u"\u2019", false},  // 999 keeps its low 8 bits: 231, then XOR "u" gives 146
      {"231", u"\u2019", true},
      {"0a0011", u"ub", false},  // a group that is no number counts as 0
  };
  for (const auto& [encriptada, clara, idaYVuelta] : casos) {
    EXPECT_EQ(DesencriptarClave(QLatin1String(encriptada)), QString::fromUtf16(clara)) << encriptada;
    if (idaYVuelta) {
      EXPECT_EQ(EncriptarClave(QString::fromUtf16(clara)), QLatin1String(encriptada)) << encriptada;
    }
  }
}
