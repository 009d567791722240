#include "core/system/Comandos.h"

#include <gtest/gtest.h>

TEST(SepararComando, SplitsAtBlanksAndKeepsQuotedBlanks) {
  struct Caso {
    const char* linea;
    const char* programa;
    QStringList parametros;
  };
  const Caso casos[] = {
      {"TUVAWIN.EXE  L=C:\\ZEM\\INSTALACION.CFG U=ANA I=ZEMWIN.INI T=",
       "TUVAWIN.EXE", {"L=C:\\ZEM\\INSTALACION.CFG", "U=ANA", "I=ZEMWIN.INI", "T="}},
      {"\"/opt/mi zem/tuvawin\" \"L=/a b/c.cfg\" x", "/opt/mi zem/tuvawin", {"L=/a b/c.cfg", "x"}},
      {"prog a\"b c\"d", "prog", {"ab cd"}}, {"prog \"\" fin", "prog", {"", "fin"}}, {"  prog\targ  ", "prog", {"arg"}},
      {"prog 'a;b' $(rm) |x", "prog", {"'a;b'", "$(rm)", "|x"}},  // no shell reads it
      {"", "", {}}, {"   ", "", {}},
  };
  for (const Caso& caso : casos) {
    const Comando comando = SepararComando(QString::fromUtf8(caso.linea));
    EXPECT_EQ(comando.programa, QString::fromUtf8(caso.programa)) << caso.linea;
    EXPECT_EQ(comando.parametros, caso.parametros) << caso.linea;
  }
  EXPECT_EQ(SepararParametros(QStringLiteral("/ZEM/X.CFG ANA Indefinida ")),
            (QStringList{"/ZEM/X.CFG", "ANA", "Indefinida"}));
}
