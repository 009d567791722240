#include "core/messages/MensajeSistema.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <gtest/gtest.h>

TEST(MensajeSistema, EngineTextsMarkedForTranslationArePutIntoSpanish) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"TRADUCIR: Field 'X' not found", u"El campo 'X' no está definido."},
      {u"TRADUCIR: Field 'IMPORTE' is not of the expected type", u"El campo 'IMPORTE' no es del tipo adecuado."},
      {u"TRADUCIR: Index is out of date. Table: CLIENTE.DB", u"El índice no está actualizado.. Table: CLIENTE.DB"},
      {u"TRADUCIR: At beginning of table", u"Al principio de la tabla."},
      {u"TRADUCIR: An error occurred while attempting to initialize the Borland Database Engine (error $2109)",
       u"Se ha producido un error al inicializar el BDE."},
      {u"TRADUCIR: Some internal limit (see context) has been exceeded",
       u"¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo."},
      {u"TRADUCIR: Key violation", u"Key violation"},
      {u"Field 'X' not found", u"Field 'X' not found"},  // unmarked: as it is
  };
  for (const auto& [texto, esperado] : cases)
    EXPECT_EQ(TraducirMensajeMotor(QString::fromUtf16(texto)), QString::fromUtf16(esperado));
}

TEST(MensajeSistema, AnswersByKind) {
  ScriptedPresenter presenter;
  presenter.Expect(u"C"_qs, u"SI"_qs).Expect(u"P"_qs, u"JUAN"_qs).Expect(u"I"_qs, u"ignorada"_qs).Expect(u"X"_qs);
  QString respuesta;
  MensajeConfirmacion(u"¿Seguro?"_qs, respuesta);
  EXPECT_EQ(respuesta, u"SI"_qs);
  respuesta = u"Password"_qs;
  MensajePregunta(u"Clave:"_qs, respuesta);
  EXPECT_EQ(respuesta, u"JUAN"_qs);
  EXPECT_EQ(presenter.Messages()[1].defaultAnswer, u"Password"_qs);
  respuesta = u"sin cambio"_qs;
  MensajeSistema(u"I"_qs, u"Hecho"_qs, respuesta);
  MensajeSistema(u"X"_qs, u"Tipo desconocido"_qs, respuesta);
  EXPECT_EQ(respuesta, u"sin cambio"_qs);
  EXPECT_EQ(TipoMensajeActual, u"X"_qs);
}
