#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/IdentificacionUsuario.h"
#include "tests/core/connections/ConexionesFixture.h"

// A failure counter that is no number counts as none: the password is
// asked, a wrong one counts from 0 and a right one puts the count back to 0
// (the attempt is counted before the password is compared).
TEST_F(ConexionesFixture, ALoginCounterThatIsNotANumberCountsAsNoFailure) {
  Iniciar();
  TModuloDatos modulo;
  ModuloDatos = &modulo;
  Ejecutar(u"INSERT INTO USUARIO (Codigo, Nombre, Categoria, ClaveAcceso) VALUES ('ANA', 'Ana', 'Normal', 'pw')"_qs,
           u"DatabaseGeneral"_qs);
  modulo.Usuario->Refresh();
  const struct {
    const char* contador;
    const char* clave;
    bool entra;
    const char* despues;
  } casos[] = {
      {"x", "mal", false, "1"},   {"3x", "mal", false, "1"}, {"", "mal", false, "1"},
      {"abc", "pw", true, "0"}, {"-5", "mal", false, "-4"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.contador);
    GrabarConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs, QString::fromLatin1(caso.contador));
    mensajes.Expect(u"P"_qs, u"ANA"_qs).Expect(u"P"_qs, QString::fromLatin1(caso.clave));
    if (!caso.entra) mensajes.Expect(u"A"_qs);
    QString usuario;
    EXPECT_EQ(IdentificarUsuario(usuario), caso.entra);
    EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs, u"0"_qs), QString::fromLatin1(caso.despues));
  }
}
