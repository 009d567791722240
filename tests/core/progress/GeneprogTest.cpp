#include "core/progress/Geneprog.h"
#include "core/startup/Configuracion.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
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
    if (evento->type() == QEvent::Paint) ++pintados;
    return false;
  }
};

QRect pantalla() { return QGuiApplication::primaryScreen()->geometry(); }

}  // namespace

class Geneprog : public ::testing::Test {
 protected:
  // The window goes before the clock its timers run on.
  ~Geneprog() override { VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString()); }

  ManualClock reloj;
  ScriptedPresenter mensajes;
};

TEST_F(Geneprog, OnShowsTheTitleAndTextNearTheBottomOfTheScreen) {
  VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Copia de Seguridad de la Base de Datos"), QStringLiteral("x"),
                  QStringLiteral("Generando..."));
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_TRUE(fGENEPROG->isVisible());
  EXPECT_FALSE(fGENEPROG->isModal());
  EXPECT_TRUE(fGENEPROG->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(fGENEPROG->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(fGENEPROG->objectName(), QStringLiteral("fGENEPROG"));
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Copia de Seguridad de la Base de Datos"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Generando..."));
  EXPECT_EQ(fGENEPROG->size(), QSize(330, 85));
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 314);
  EXPECT_EQ(fGENEPROG->pos(), QPoint(pantalla().x() + (pantalla().width() - 330) / 2,
                                     pantalla().y() + pantalla().height() - 85 - 150));
}

TEST_F(Geneprog, ALongTextWidensTheWindowAndAnUpdateNarrowsItAgain) {
  VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Listado"), QString(), QStringLiteral("Corto"));
  ASSERT_NE(fGENEPROG, nullptr);
  const QString largo = QStringLiteral("Copiando registros de la tabla de movimientos de almacén: 1250 de 40000");
  VentanaProgreso(QString(), QStringLiteral("no cambia"), QString(), largo);
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Listado"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), largo);
  const int ancho = fGENEPROG->EditProgreso()->width() + 40;
  ASSERT_GT(ancho, 330);
  EXPECT_EQ(fGENEPROG->width(), ancho);
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), ancho - 16);
  EXPECT_EQ(fGENEPROG->x(), pantalla().x() + (pantalla().width() - ancho) / 2);

  // Other units change the label themselves and ask for the new size.
  fGENEPROG->EditProgreso()->setText(QStringLiteral("1 de 40"));
  fGENEPROG->EditProgresoChange();
  EXPECT_EQ(fGENEPROG->width(), 330);
}

TEST_F(Geneprog, OnWindowsVistaAnd7ThePanelIsNarrower) {
  for (const char* plataforma : {"Windows VISTA", "Windows 7"}) {
    Plataforma = QLatin1String(plataforma);
    VentanaProgreso(QStringLiteral("ON"), QString(), QString(), QStringLiteral("texto"));
    ASSERT_NE(fGENEPROG, nullptr);
    EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 330 - 24) << plataforma;
  }
}

TEST_F(Geneprog, OffFreesTheWindowAndOtherModesWithoutOneDoNothing) {
  VentanaProgreso(QStringLiteral("ON"), QString(), QString(), QStringLiteral("uno"));
  QPointer<TfGENEPROG> ventana = fGENEPROG;
  VentanaProgreso(QStringLiteral("on"), QString(), QString(), QStringLiteral("dos"));
  EXPECT_EQ(fGENEPROG, ventana.data());
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("uno"));
  VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
  EXPECT_EQ(fGENEPROG, nullptr);
  EXPECT_TRUE(ventana.isNull());
  VentanaProgreso(QString(), QString(), QString(), QStringLiteral("tres"));
  VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Geneprog, ASecondOnReplacesTheFirstWindow) {
  VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Primero"), QString(), QString());
  QPointer<TfGENEPROG> primera = fGENEPROG;
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Segundo"), QString());
  EXPECT_TRUE(primera.isNull());
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Segundo"));
}

TEST_F(Geneprog, TheTimerRepaintsTheTextEverySecondWhileTheWindowLives) {
  VentanaProgreso(QStringLiteral("ON"), QString(), QString(), QStringLiteral("Leyendo"));
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_EQ(fGENEPROG->Timer.Interval(), 1000);
  EXPECT_TRUE(fGENEPROG->Timer.Enabled());
  ContadorPintados pintados(*fGENEPROG->EditProgreso());
  reloj.Advance(999);
  EXPECT_EQ(pintados.pintados, 0);
  reloj.Advance(1);
  EXPECT_EQ(pintados.pintados, 1);
  reloj.Advance(3000);
  EXPECT_EQ(pintados.pintados, 4);
  VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
  reloj.Advance(5000);  // no timer of a freed window is left to fire
}

TEST_F(Geneprog, EscAsksWhetherToGoOnWithTheListing) {
  VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Listado"), QString(), QStringLiteral("Página 1"));
  ASSERT_NE(fGENEPROG, nullptr);
  mensajes.Expect(QStringLiteral("C"), QStringLiteral("NO")).Expect(QStringLiteral("C"), QStringLiteral("SI"));

  QTest::keyClick(fGENEPROG, Qt::Key_Escape);
  EXPECT_TRUE(CancelarListado);
  EXPECT_TRUE(fGENEPROG->isVisible());  // the listing decides when to stop
  ASSERT_EQ(mensajes.Texts().size(), 1);
  EXPECT_EQ(mensajes.Texts()[0],
            QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?"));

  QTest::keyClick(fGENEPROG, Qt::Key_Escape);
  EXPECT_FALSE(CancelarListado);
  QTest::keyClick(fGENEPROG, Qt::Key_A);  // other keys ask nothing
  EXPECT_EQ(mensajes.Messages().size(), 2);
}

TEST_F(Geneprog, VentanaProgresoHandlesPendingMessagesAndMostrarProgresoDoesNot) {
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Listado"), QStringLiteral("uno"));
  MostrarProgreso(QString(), QString(), QStringLiteral("dos"));
  EXPECT_FALSE(atendido);
  VentanaProgreso(QStringLiteral("X"), QString(), QString(), QString());
  EXPECT_TRUE(atendido);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("dos"));
}

TEST_F(Geneprog, MostrarProgresoKeepsOnlyWhatStandsBeforeTheSecondEllipsis) {
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Copia"), QStringLiteral("Copiando...12 de 40"));
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Copiando...12 de 40"));
  MostrarProgreso(QString(), QString(), QStringLiteral("Copiando...12 de 40...CLIENTES"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Copiando...12 de 40"));
  MostrarProgreso(QString(), QString(), QStringLiteral("Copiando......"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Copiando..."));
}
