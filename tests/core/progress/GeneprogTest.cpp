#include "core/progress/Geneprog.h"
#include "core/startup/Configuracion.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Counts the paints of a widget.
class ContadorPintados : public QObject {
 public:
  explicit ContadorPintados(QWidget& vigilado) { vigilado.installEventFilter(this); }
  int pintados = 0;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    pintados += evento->type() == QEvent::Paint;
    return false;
  }
};

void progreso(const char* modo, const QString& titulo, const QString& texto) {
  VentanaProgreso(QLatin1String(modo), titulo, u"x"_qs, texto);
}

}  // namespace

class Geneprog : public ::testing::Test {
 protected:
  // The window goes before the clock its timers run on.
  ~Geneprog() override { progreso("OFF", {}, {}); }

  ManualClock reloj;
  ScriptedPresenter mensajes;
};

TEST_F(Geneprog, OnShowsTheTitleAndTextNearTheBottomOfTheScreenSizedToTheText) {
  progreso("ON", u"Copia de Seguridad de la Base de Datos"_qs, u"Generando..."_qs);
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_TRUE(fGENEPROG->isVisible() && !fGENEPROG->isModal());
  EXPECT_TRUE(fGENEPROG->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(fGENEPROG->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(QStringList({fGENEPROG->objectName(), fGENEPROG->Caption(), fGENEPROG->EditProgreso()->text()}),
            QStringList({"fGENEPROG", "Copia de Seguridad de la Base de Datos", "Generando..."}));
  const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(QRect(fGENEPROG->pos(), fGENEPROG->size()), QRect(pantalla.x() + (pantalla.width() - 330) / 2,
                                         pantalla.y() + pantalla.height() - 85 - 150, 330, 85));
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 314);
  const QList<QLabel*> paneles = fGENEPROG->StatusBar1()->findChildren<QLabel*>();
  ASSERT_EQ(paneles.size(), 1);
  EXPECT_EQ(paneles[0]->width(), 50);

  const QString largo = u"Copiando registros de la tabla de movimientos de almacén: 1250 de 40000"_qs;
  progreso("", u"no cambia"_qs, largo);
  EXPECT_EQ(fGENEPROG->Caption() + u'|' + fGENEPROG->EditProgreso()->text(),
            u"Copia de Seguridad de la Base de Datos|"_qs + largo);
  const int ancho = fGENEPROG->EditProgreso()->width() + 40;
  ASSERT_GT(ancho, 330);
  EXPECT_EQ(fGENEPROG->width(), ancho);
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), ancho - 16);
  EXPECT_EQ(fGENEPROG->x(), pantalla.x() + (pantalla.width() - ancho) / 2);
  // Other units change the label themselves and ask for the new size.
  fGENEPROG->EditProgreso()->setText(u"1 de 40"_qs);
  fGENEPROG->EditProgresoChange();
  EXPECT_EQ(fGENEPROG->width(), 330);

  for (const char* plataforma : {"Windows VISTA", "Windows 7"}) {
    Plataforma = QLatin1String(plataforma);
    fGENEPROG->EditProgresoChange();
    EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 330 - 24) << plataforma;
  }
}

TEST_F(Geneprog, OffFreesTheWindowASecondOnReplacesItAndOtherModesDoNothing) {
  progreso("ON", {}, u"uno"_qs);
  QPointer<TfGENEPROG> ventana = fGENEPROG;
  progreso("on", {}, u"dos"_qs);
  EXPECT_EQ(fGENEPROG, ventana.data());
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), u"uno"_qs);
  MostrarProgreso(u"ON"_qs, u"Segundo"_qs, QString());
  EXPECT_TRUE(ventana.isNull());
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_EQ(fGENEPROG->Caption(), u"Segundo"_qs);
  progreso("OFF", {}, {});
  EXPECT_EQ(fGENEPROG, nullptr);
  progreso("", {}, u"tres"_qs);
  progreso("OFF", {}, {});
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Geneprog, TheTimerRepaintsTheTextEverySecondAndEscAsksWhetherToGoOnWithTheListing) {
  progreso("ON", {}, u"Leyendo"_qs);
  ASSERT_NE(fGENEPROG, nullptr);
  ContadorPintados contador(*fGENEPROG->EditProgreso());
  for (const auto& [avance, pintados] : {std::pair{999, 0}, {1, 1}, {3000, 4}}) {
    reloj.Advance(avance);
    EXPECT_EQ(contador.pintados, pintados) << avance;
  }

  // Esc asks whether to go on with the listing.
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  QTest::keyClick(fGENEPROG, Qt::Key_Escape);
  EXPECT_TRUE(CancelarListado);
  EXPECT_TRUE(fGENEPROG->isVisible());  // the listing decides when to stop
  EXPECT_EQ(mensajes.Texts(),
            QStringList{u"El listado será cancelado a continuación. ¿Desea continuar con el listado?"_qs});
  QTest::keyClick(fGENEPROG, Qt::Key_Escape);
  EXPECT_FALSE(CancelarListado);
  QTest::keyClick(fGENEPROG, Qt::Key_A);  // other keys ask nothing
  EXPECT_EQ(mensajes.Messages().size(), 2);
  progreso("OFF", {}, {});
  reloj.Advance(5000);  // no timer of a freed window is left to fire
}

TEST_F(Geneprog, MostrarProgresoKeepsWhatStandsBeforeTheSecondEllipsisAndHandlesNoMessages) {
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  const std::pair<const char*, const char*> casos[] = {
      {"Copiando...12 de 40", "Copiando...12 de 40"}, {"Copiando...12 de 40...CLIENTES", "Copiando...12 de 40"},
      {"Copiando......", "Copiando..."},
  };
  MostrarProgreso(u"ON"_qs, u"Copia"_qs, QString());
  for (const auto& [texto, visto] : casos) {
    MostrarProgreso(QString(), QString(), QLatin1String(texto));
    EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QLatin1String(visto));
  }
  EXPECT_FALSE(atendido);
  progreso("X", {}, {});
  EXPECT_TRUE(atendido);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), u"Copiando..."_qs);
}

// A copy changes the text for every record: the window is painted and sized
// at most once in each quarter of a second, always with the newest text.
TEST_F(Geneprog, ATextChangedForEveryRecordIsPaintedAFewTimesASecondNotEachTime) {
  progreso("ON", u"Copiando Registros"_qs, QString());
  ASSERT_NE(fGENEPROG, nullptr);
  ContadorPintados contador(*fGENEPROG->EditProgreso());
  progreso("", {}, u"1"_qs);
  EXPECT_EQ(contador.pintados, 1) << "the first change is shown at once";
  const QString largo = u"Copiando registros de la tabla de movimientos de almacén: "_qs;
  for (int registro = 2; registro <= 5000; ++registro) progreso("", {}, largo + QString::number(registro));
  EXPECT_EQ(contador.pintados, 1);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), largo + u"5000"_qs);
  EXPECT_EQ(fGENEPROG->width(), 330) << "sized with the text shown";
  reloj.Advance(250);
  EXPECT_EQ(contador.pintados, 2);
  EXPECT_EQ(fGENEPROG->width(), fGENEPROG->EditProgreso()->width() + 40);
  EXPECT_GT(fGENEPROG->width(), 330);
  // A quiet interval ends the wait: the next change is shown at once again.
  reloj.Advance(250);
  EXPECT_EQ(contador.pintados, 2);
  progreso("", {}, u"fin"_qs);
  EXPECT_EQ(contador.pintados, 3);
  EXPECT_EQ(fGENEPROG->width(), 330);
}

// The pending messages of a copy's changes of text are handled at most once
// in each 30 ms of the clock; the other modes handle them at every call.
TEST_F(Geneprog, AChangedTextHandlesPendingMessagesOnceInEachThirtyMilliseconds) {
  int atendidos = 0;
  bool esperando = false;
  // One message at a time waits to be handled.
  const auto pendiente = [&atendidos, &esperando] {
    if (esperando) return;
    esperando = true;
    QTimer::singleShot(0, [&atendidos, &esperando] {
      esperando = false;
      ++atendidos;
    });
  };
  pendiente();
  progreso("ON", u"Copiando Registros"_qs, QString());
  EXPECT_EQ(atendidos, 1);
  // Each step: the clock moved on by, the messages handled by then.
  const std::pair<int, int> pasos[] = {{0, 1}, {29, 1}, {1, 2}, {10, 2}, {19, 2}, {1, 3}};
  int registro = 0;
  for (const auto& [avance, esperados] : pasos) {
    pendiente();
    reloj.Advance(avance);
    progreso("", {}, QString::number(++registro));
    EXPECT_EQ(atendidos, esperados) << registro;
  }
  pendiente();
  progreso("X", {}, {});
  EXPECT_EQ(atendidos, 4);
  pendiente();
  progreso("OFF", {}, {});
  EXPECT_EQ(atendidos, 5);
}

// A text made only when shown is made a few times a second, when the
// interval ends, telling where the operation is then; a text given as it is
// replaces it, and without a window nothing is made.
TEST_F(Geneprog, ADeferredTextIsMadeOnlyWhenShownAndTellsWhereTheOperationIsThen) {
  progreso("ON", u"Copiando Registros"_qs, QString());
  ASSERT_NE(fGENEPROG, nullptr);
  ContadorPintados contador(*fGENEPROG->EditProgreso());
  int hechos = 0, registro = 1;
  const auto texto = [&hechos, &registro] {
    ++hechos;
    return u"Copiando registros de la tabla de movimientos de almacén: "_qs + QString::number(registro);
  };
  VentanaProgresoDiferida(texto);
  EXPECT_EQ(hechos, 1) << "the first change is shown at once";
  EXPECT_TRUE(fGENEPROG->EditProgreso()->text().endsWith(u": 1"));
  EXPECT_EQ(contador.pintados, 1);
  for (registro = 2; registro <= 5000; ++registro) VentanaProgresoDiferida(texto);
  registro = 5000;
  EXPECT_EQ(hechos, 1);
  EXPECT_EQ(contador.pintados, 1);
  reloj.Advance(250);
  EXPECT_EQ(hechos, 2);
  EXPECT_TRUE(fGENEPROG->EditProgreso()->text().endsWith(u": 5000"));
  EXPECT_EQ(contador.pintados, 2);
  EXPECT_EQ(fGENEPROG->width(), fGENEPROG->EditProgreso()->width() + 40) << "sized with the text shown";
  EXPECT_GT(fGENEPROG->width(), 330);

  VentanaProgresoDiferida(texto);
  progreso("", {}, u"fin"_qs);
  reloj.Advance(250);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), u"fin"_qs);
  EXPECT_EQ(hechos, 2);
  progreso("OFF", {}, {});
  VentanaProgresoDiferida(texto);
  EXPECT_EQ(hechos, 2);
}
