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
  Genemens() {
    Application::Instance()->ResetTerminated();
    fGENEMENS = &caja;
  }

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
  // Fails the test when the box shows at all.
  void NoDebeMostrarse() {
    QTimer::singleShot(0, &caja, [this] {
      if (!caja.isVisible()) return;
      ADD_FAILURE() << "the box was shown";
      caja.close();
    });
  }

  template <class T>
  T* Componente(const char* nombre) const {
    T* componente = caja.findChild<T*>(QLatin1String(nombre));
    EXPECT_NE(componente, nullptr) << nombre;
    return componente;
  }
  QLineEdit* Respuesta() const { return Componente<QLineEdit>("EditRespuesta"); }
  QLabel* Texto() const { return Componente<QLabel>("TextoMensaje"); }
  void Pulsar(const char* boton) const { QTest::mouseClick(Componente<QPushButton>(boton), Qt::LeftButton); }
  QStringList Visibles() const {
    QStringList nombres;
    for (const char* nombre : {"PanelMensaje", "ImagenInformacion", "ImagenExclamacion", "ImagenInterrogacion",
                               "ImagenError", "PanelRespuesta", "pbAceptar", "pbSI", "pbNO"})
      if (Componente<QWidget>(nombre)->isVisible()) nombres.append(QLatin1String(nombre));
    return nombres;
  }

  TfGENEMENS caja;
  MessagePresenterSeam::Scoped instalada{caja};
};

TEST_F(Genemens, EachKindShowsItsCaptionPictureAndButtons) {
  struct Caso {
    const char* tipo;
    const char* titulo;
    QStringList visibles;
    const char* boton;
    int altoCliente;
  };
  const Caso casos[] = {
      {"I", "Información", {"PanelMensaje", "ImagenInformacion", "pbAceptar"}, "pbAceptar", 131},
      {"A", "Advertencia", {"PanelMensaje", "ImagenExclamacion", "pbAceptar"}, "pbAceptar", 131},
      {"E", "Error", {"PanelMensaje", "ImagenError", "pbAceptar"}, "pbAceptar", 131},
      {"C", "Confirmar", {"PanelMensaje", "ImagenInterrogacion", "pbSI", "pbNO"}, "pbSI", 131},
      {"P", "Pregunta", {"PanelMensaje", "ImagenInterrogacion", "PanelRespuesta", "pbAceptar"}, "pbAceptar", 168},
  };
  const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
  for (const Caso& caso : casos) {
    Application::Instance()->ResetTerminated();
    const QString tipo = QLatin1String(caso.tipo);
    AlMostrarse([&] {
      EXPECT_EQ(caja.Caption(), QString::fromUtf8(caso.titulo));
      EXPECT_EQ(Visibles(), caso.visibles) << caso.tipo;
      EXPECT_EQ(Texto()->text(), QStringLiteral("Texto ") + tipo);
      EXPECT_EQ(caja.size(), QSize(394, caso.altoCliente)) << caso.tipo;
      const int alto = caso.altoCliente + 27;
      EXPECT_EQ(caja.pos(), QPoint((pantalla.width() - 404) / 2, (pantalla.height() - alto) / 2)) << caso.tipo;
      EXPECT_EQ(Componente<QWidget>("pbAceptar")->pos(), QPoint(153, tipo == u"P" ? 135 : 99));
      if (tipo == u"C") {
        EXPECT_EQ(caja.focusWidget(), Componente<QWidget>("pbNO"));
      }
      if (tipo == u"P") {
        EXPECT_EQ(caja.focusWidget(), Respuesta());
      }
      Pulsar(caso.boton);
    });
    QString respuesta;
    MensajeSistema(tipo, QStringLiteral("Texto ") + tipo, respuesta);
    EXPECT_EQ(respuesta, tipo == u"C" ? QStringLiteral("SI") : QString()) << caso.tipo;
  }
}

TEST_F(Genemens, AnUnknownKindShowsNoPanelNorButton) {
  AlMostrarse([&] {
    EXPECT_TRUE(Visibles().isEmpty());
    caja.close();
  });
  QString respuesta = QStringLiteral("igual");
  MensajeSistema(QStringLiteral("X"), QStringLiteral("Raro"), respuesta);
  EXPECT_EQ(respuesta, QStringLiteral("igual"));
}

TEST_F(Genemens, AQuestionOffersItsDefaultMaskingAPassword) {
  // Default, what the field shows and has selected, what is typed, what it shows then, the answer.
  const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> casos[] = {
      {"Password", "", "", "secreto", "*******", "secreto"},
      {"JUAN", "JUAN", "JUAN", "ito", "ito", "ito"},  // offered whole, to keep or replace
      {"", "", "", "ito", "ito", "ito"},
      {"ab:SelStart:cd:SelEnd:ef", "abcdef", "cd", "X", "abXef", "abXef"},  // typing replaces the selection
  };
  for (const auto& [defecto, mostrado, seleccionado, tecleado, visto, esperada] : casos) {
    AlMostrarse([&] {
      EXPECT_EQ(Respuesta()->text(), QLatin1String(mostrado));
      EXPECT_EQ(Respuesta()->selectedText(), QLatin1String(seleccionado));
      if (Respuesta()->hasSelectedText()) EXPECT_EQ(Respuesta()->cursorPosition(), Respuesta()->selectionEnd());
      QTest::keyClicks(Respuesta(), QLatin1String(tecleado));
      EXPECT_EQ(Respuesta()->displayText(), QLatin1String(visto));
      QTest::keyClick(Respuesta(), Qt::Key_Return);
    });
    QString respuesta = QLatin1String(defecto);
    MensajePregunta(QStringLiteral("Clave:"), respuesta);
    EXPECT_EQ(respuesta, QLatin1String(esperada)) << defecto;
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

TEST_F(Genemens, ClosingOrEscapeGiveNoAnswerAndEscapeNeedsANoButton) {
  for (const bool escape : {false, true}) {
    AlMostrarse([&] { escape ? QTest::keyClick(caja.focusWidget(), Qt::Key_Escape) : (void)caja.close(); });
    QString confirmacion = QStringLiteral("SI");
    MensajeConfirmacion(QStringLiteral("¿Seguro?"), confirmacion);
    EXPECT_EQ(confirmacion, QStringLiteral("NO"));
  }
  AlMostrarse([&] {
    QTest::keyClicks(Respuesta(), QStringLiteral("escrito"));
    caja.close();
  });
  QString pregunta = QStringLiteral("previo");
  MensajePregunta(QStringLiteral("¿Qué?"), pregunta);
  EXPECT_TRUE(pregunta.isEmpty());

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

  NoDebeMostrarse();
  QString respuesta = QStringLiteral("SI");
  MensajeConfirmacion(QStringLiteral("¿Seguimos?"), respuesta);
  EXPECT_EQ(respuesta, QStringLiteral("NO"));
  MensajeInformacion(QStringLiteral("Seguimos"));
  EXPECT_EQ(Application::Instance()->Run(), 0);
}
