#include "core/messages/Genemens.h"
#include "core/messages/MensajeSistema.h"
#include "platform/Application.h"
#include "tests/fixtures/Keyboard.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

// The real message box, driven as a user would: the action runs once the box
// is on screen and must close it.
class Genemens : public ::testing::Test {
 protected:
  Genemens() { fGENEMENS = &caja; }

  void AlMostrarse(std::function<void()> accion) {
    QTimer::singleShot(0, &caja, [this, accion = std::move(accion)] {
      ASSERT_TRUE(caja.isVisible());
      accion();
      if (caja.isVisible()) {
        ADD_FAILURE() << "the box was left open";
        caja.close();
      }
    });
  }
  template <class T = QWidget>
  T* Componente(const char* nombre) const {
    return caja.findChild<T*>(QLatin1String(nombre));
  }
  QLineEdit* Respuesta() const { return Componente<QLineEdit>("EditRespuesta"); }
  QLabel* Texto() const { return Componente<QLabel>("TextoMensaje"); }
  void Pulsar(const char* boton) const { QTest::mouseClick(Componente<QPushButton>(boton), Qt::LeftButton); }

  TfGENEMENS caja;
  MessagePresenterSeam::Scoped instalada{caja};
};

TEST_F(Genemens, EachKindShowsItsCaptionPictureAndButtons) {
  const std::tuple<const char*, const char*, QStringList, const char*, int> casos[] = {
      {"I", "Información", {"PanelMensaje", "ImagenInformacion", "pbAceptar"}, "pbAceptar", 131},
      {"A", "Advertencia", {"PanelMensaje", "ImagenExclamacion", "pbAceptar"}, "pbAceptar", 131},
      {"E", "Error", {"PanelMensaje", "ImagenError", "pbAceptar"}, "pbAceptar", 131},
      {"C", "Confirmar", {"PanelMensaje", "ImagenInterrogacion", "pbSI", "pbNO"}, "pbSI", 131},
      {"P", "Pregunta", {"PanelMensaje", "ImagenInterrogacion", "PanelRespuesta", "pbAceptar"}, "pbAceptar", 168},
      {"X", "", {}, "", 0},  // an unknown kind: the answer is left alone
  };
  const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
  for (const auto& [tipo, titulo, visibles, boton, alto] : casos) {
    Application::Instance()->ResetTerminated();
    AlMostrarse([&] {
      QStringList vistos;
      for (const char* nombre : {"PanelMensaje", "ImagenInformacion", "ImagenExclamacion", "ImagenInterrogacion",
                                 "ImagenError", "PanelRespuesta", "pbAceptar", "pbSI", "pbNO"})
        if (Componente(nombre)->isVisible()) vistos.append(QLatin1String(nombre));
      EXPECT_EQ(vistos, visibles) << tipo;
      if (!*boton) {
        caja.close();
        return;
      }
      EXPECT_EQ(caja.Caption() + u'|' + Texto()->text(), QString::fromUtf8(titulo) + "|Texto " + tipo);
      EXPECT_EQ(caja.size(), QSize(394, alto)) << tipo;
      EXPECT_EQ(caja.pos(), QPoint((pantalla.width() - 404) / 2, (pantalla.height() - alto - 27) / 2)) << tipo;
      EXPECT_EQ(Componente("pbAceptar")->pos(), QPoint(153, alto == 168 ? 135 : 99));
      if (*tipo == 'C' || *tipo == 'P') {
        EXPECT_EQ(caja.focusWidget(), *tipo == 'C' ? Componente("pbNO") : Respuesta());
      }
      Pulsar(boton);
    });
    QString respuesta = u"antes"_qs;
    MensajeSistema(QLatin1String(tipo), u"Texto "_qs + tipo, respuesta);
    EXPECT_EQ(respuesta, QLatin1String(*tipo == 'C' ? "SI" : "antes")) << tipo;  // a question offers it
    EXPECT_EQ(Application::Instance()->Terminated(), *tipo == 'E') << tipo;      // only an error ends the program
  }
}

TEST_F(Genemens, AQuestionOffersItsDefaultMaskingAPasswordAndClosedGivesNoAnswer) {
  // Default, what the field shows and has selected, what is typed, what it shows then, the answer; an
  // answer "-" closes the box with the system menu.
  const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> casos[] = {
      {"Password", "", "", "secreto", "*******", "secreto"},
      {"JUAN", "JUAN", "JUAN", "ito", "ito", "ito"},  // offered whole, to keep or replace
      {"", "", "", "ito", "ito", "ito"},
      {"ab:SelStart:cd:SelEnd:ef", "abcdef", "cd", "X", "abXef", "abXef"},  // typing replaces the selection
      {"previo", "previo", "previo", "escrito", "escrito", "-"},
  };
  for (const auto& [defecto, mostrado, seleccionado, tecleado, visto, esperada] : casos) {
    const bool cerrar = QLatin1String(esperada) == u"-";
    AlMostrarse([&] {
      EXPECT_EQ(Respuesta()->text() + u'|' + Respuesta()->selectedText(),
                QLatin1String(mostrado) + u'|' + QLatin1String(seleccionado));
      if (Respuesta()->hasSelectedText()) {
        EXPECT_EQ(Respuesta()->cursorPosition(), Respuesta()->selectionEnd());
      }
      QTest::keyClicks(Respuesta(), QLatin1String(tecleado));
      EXPECT_EQ(Respuesta()->displayText(), QLatin1String(visto));
      cerrar ? (void)caja.close() : QTest::keyClick(Respuesta(), Qt::Key_Return);
    });
    QString respuesta = QLatin1String(defecto);
    MensajePregunta(u"Clave:"_qs, respuesta);
    EXPECT_EQ(respuesta, QLatin1String(cerrar ? "" : esperada)) << defecto;
    EXPECT_EQ(MensajeCerrado(), cerrar) << defecto;
  }
}

TEST_F(Genemens, EveryCharacterOfTheCodePageIsTypedIntoThePasswordQuestion) {
  const QString todos = PrintableWindows1252();
  AlMostrarse([&] {
    TypeAsKeyboard(Respuesta(), todos);
    EXPECT_EQ(Respuesta()->displayText(), QString(todos.size(), u'*'));
    QTest::keyClick(Respuesta(), Qt::Key_Return);
  });
  QString respuesta = u"Password"_qs;
  MensajePregunta(u"Introduzca la Clave de Acceso:"_qs, respuesta);
  EXPECT_EQ(respuesta, todos);
}

TEST_F(Genemens, ALongTextIsShownInSmallerType) {
  const int tamano = Texto()->font().pointSize();
  ASSERT_NE(tamano, 8);
  for (const int longitud : {90, 91}) {
    AlMostrarse([&] {
      EXPECT_EQ(Texto()->font().pointSize(), longitud > 90 ? 8 : tamano) << longitud;
      Pulsar("pbAceptar");
    });
    MensajeInformacion(QString(longitud, u'x'));
    EXPECT_EQ(Texto()->font().pointSize(), tamano);
  }
}

TEST_F(Genemens, ClosingOrEscapeAnswerNoAndEscapeClosesTheOtherBoxesUnanswered) {
  for (const bool escape : {false, true}) {
    AlMostrarse([&] { escape ? QTest::keyClick(caja.focusWidget(), Qt::Key_Escape) : (void)caja.close(); });
    QString confirmacion = u"SI"_qs;
    MensajeConfirmacion(u"¿Seguro?"_qs, confirmacion);
    EXPECT_EQ(confirmacion, u"NO"_qs);
  }
  for (const char* tipo : {"I", "A", "P"}) {
    AlMostrarse([&] {
      if (*tipo == 'P') QTest::keyClicks(Respuesta(), u"escrito"_qs);
      QTest::keyClick(caja.focusWidget() ? caja.focusWidget() : &caja, Qt::Key_Escape);
      EXPECT_FALSE(caja.isVisible()) << tipo;
    });
    QString respuesta = u"previo"_qs;
    MensajeSistema(QLatin1String(tipo), u"Texto"_qs, respuesta);
    EXPECT_TRUE(MensajeCerrado()) << tipo;
    EXPECT_EQ(respuesta, QLatin1String(*tipo == 'P' ? "" : "previo")) << tipo;
  }
}

TEST_F(Genemens, AMessageAskedForWhileTheBoxIsOpenIsAnsweredUnanswered) {
  AlMostrarse([&] {
    QTest::keyClicks(Respuesta(), u"respuesta"_qs);
    QString pregunta = u"defecto"_qs;
    MensajePregunta(u"¿Otra pregunta?"_qs, pregunta);
    EXPECT_TRUE(pregunta.isEmpty());
    // The last request is a confirmation: the open question still keeps its answer.
    QString anidada = u"SI"_qs;
    MensajeConfirmacion(u"¿Otra?"_qs, anidada);
    EXPECT_EQ(anidada, u"NO"_qs);
    EXPECT_EQ(Texto()->text(), u"¿Primera?"_qs);  // the open box is left as it was
    Pulsar("pbAceptar");
  });
  QString respuesta;
  MensajePregunta(u"¿Primera?"_qs, respuesta);
  EXPECT_EQ(respuesta, u"respuesta"_qs);
}

TEST_F(Genemens, AnErrorEndsTheProgramEvenWhenTheCallerGoesOn) {
  AlMostrarse([&] { Pulsar("pbAceptar"); });
  MensajeError(u"Fallo grave"_qs);
  EXPECT_TRUE(Application::Instance()->Terminated());
  // No box shows any more.
  QTimer::singleShot(0, &caja, [this] {
    EXPECT_FALSE(caja.isVisible()) << "the box was shown";
    caja.close();
  });
  QString respuesta = u"SI"_qs;
  MensajeConfirmacion(u"¿Seguimos?"_qs, respuesta);
  EXPECT_EQ(respuesta, u"NO"_qs);
  MensajeInformacion(u"Seguimos"_qs);
  EXPECT_EQ(Application::Instance()->Run(), 0);
}

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

// Through any presenter: the answer comes back and the kind is kept.
TEST(MensajeSistema, AnswersThroughThePresenterAndKeepsTheKind) {
  ScriptedPresenter presenter;
  presenter.Expect(u"P"_qs, u"JUAN"_qs).Expect(u"X"_qs);
  QString respuesta = u"Password"_qs;
  MensajePregunta(u"Clave:"_qs, respuesta);
  EXPECT_EQ(presenter.Messages()[0].defaultAnswer, u"Password"_qs);
  MensajeSistema(u"X"_qs, u"Tipo desconocido"_qs, respuesta);
  EXPECT_EQ(respuesta + u'|' + TipoMensajeActual, u"JUAN|X"_qs);
}
