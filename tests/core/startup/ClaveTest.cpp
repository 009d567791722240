#include "core/startup/Clave.h"

#include <gtest/gtest.h>

TEST(DesencriptarClave, UndoesTheScrambling) {
  const std::pair<const char*, const char16_t*> casos[] = {
      {"", u""}, {"020011015", u"abc"},
      {"047044033058038063066", u"ZEMWIN7"},  // the sixth letter takes the key's first
      {"164006157002", u"Ñoño"},
      {"0200110", u"ab"},    // a trailing part group is ignored
      {"02", u""},
      {"999", u"\u2019"},    // 999 keeps its low 8 bits: 231, then XOR "u" gives 146
      {"0a0011", u"ub"},     // a group that is no number counts as 0
  };
  for (const auto& [encriptada, clara] : casos)
    EXPECT_EQ(DesencriptarClave(QLatin1String(encriptada)), QString::fromUtf16(clara)) << encriptada;
}
