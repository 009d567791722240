#include "core/messages/Genemens.h"
#include "core/messages/MensajeSistema.h"
#include "platform/Application.h"

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
    QString respuesta = QStringLiteral("antes");
    MensajeSistema(QLatin1String(tipo), QStringLiteral("Texto ") + tipo, respuesta);
    EXPECT_EQ(respuesta, QLatin1String(*tipo == 'C' ? "SI" : "antes")) << tipo;  // a question offers it
    EXPECT_EQ(Application::Instance()->Terminated(), *tipo == 'E') << tipo;  // only an error ends the program
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
    MensajePregunta(QStringLiteral("Clave:"), respuesta);
    EXPECT_EQ(respuesta, QLatin1String(cerrar ? "" : esperada)) << defecto;
    EXPECT_EQ(MensajeCerrado(), cerrar) << defecto;
  }
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

TEST_F(Genemens, ClosingOrEscapeAnswerNoAndEscapeNeedsANoButton) {
  for (const bool escape : {false, true}) {
    AlMostrarse([&] { escape ? QTest::keyClick(caja.focusWidget(), Qt::Key_Escape) : (void)caja.close(); });
    QString confirmacion = QStringLiteral("SI");
    MensajeConfirmacion(QStringLiteral("¿Seguro?"), confirmacion);
    EXPECT_EQ(confirmacion, QStringLiteral("NO"));
  }
  AlMostrarse([&] {
    QTest::keyClick(&caja, Qt::Key_Escape);
    EXPECT_TRUE(caja.isVisible());
    Pulsar("pbAceptar");
  });
  MensajeAviso(QStringLiteral("Aviso"));
}

TEST_F(Genemens, AMessageAskedForWhileTheBoxIsOpenIsAnsweredUnanswered) {
  AlMostrarse([&] {
    QTest::keyClicks(Respuesta(), QStringLiteral("respuesta"));
    QString pregunta = QStringLiteral("defecto");
    MensajePregunta(QStringLiteral("¿Otra pregunta?"), pregunta);
    EXPECT_TRUE(pregunta.isEmpty());
    // The last request is a confirmation: the open question still keeps its answer.
    QString anidada = QStringLiteral("SI");
    MensajeConfirmacion(QStringLiteral("¿Otra?"), anidada);
    EXPECT_EQ(anidada, QStringLiteral("NO"));
    EXPECT_EQ(Texto()->text(), QStringLiteral("¿Primera?"));  // the open box is left as it was
    Pulsar("pbAceptar");
  });
  QString respuesta;
  MensajePregunta(QStringLiteral("¿Primera?"), respuesta);
  EXPECT_EQ(respuesta, QStringLiteral("respuesta"));
}

TEST_F(Genemens, AnErrorEndsTheProgramEvenWhenTheCallerGoesOn) {
  AlMostrarse([&] { Pulsar("pbAceptar"); });
  MensajeError(QStringLiteral("Fallo grave"));
  EXPECT_TRUE(Application::Instance()->Terminated());
  // No box shows any more.
  QTimer::singleShot(0, &caja, [this] {
    EXPECT_FALSE(caja.isVisible()) << "the box was shown";
    caja.close();
  });
  QString respuesta = QStringLiteral("SI");
  MensajeConfirmacion(QStringLiteral("¿Seguimos?"), respuesta);
  EXPECT_EQ(respuesta, QStringLiteral("NO"));
  MensajeInformacion(QStringLiteral("Seguimos"));
  EXPECT_EQ(Application::Instance()->Run(), 0);
}
