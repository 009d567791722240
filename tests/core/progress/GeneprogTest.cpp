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
  VentanaProgreso(QLatin1String(modo), titulo, QStringLiteral("x"), texto);
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
  progreso("ON", QStringLiteral("Copia de Seguridad de la Base de Datos"), QStringLiteral("Generando..."));
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_TRUE(fGENEPROG->isVisible());
  EXPECT_FALSE(fGENEPROG->isModal());
  EXPECT_TRUE(fGENEPROG->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(fGENEPROG->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(fGENEPROG->objectName(), QStringLiteral("fGENEPROG"));
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Copia de Seguridad de la Base de Datos"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Generando..."));
  const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(QRect(fGENEPROG->pos(), fGENEPROG->size()), QRect(pantalla.x() + (pantalla.width() - 330) / 2,
                                         pantalla.y() + pantalla.height() - 85 - 150, 330, 85));
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 314);
  const QList<QLabel*> paneles = fGENEPROG->StatusBar1()->findChildren<QLabel*>();
  ASSERT_EQ(paneles.size(), 1);
  EXPECT_EQ(paneles[0]->width(), 50);

  const QString largo = QStringLiteral("Copiando registros de la tabla de movimientos de almacén: 1250 de 40000");
  progreso("", QStringLiteral("no cambia"), largo);
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Copia de Seguridad de la Base de Datos"));
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), largo);
  const int ancho = fGENEPROG->EditProgreso()->width() + 40;
  ASSERT_GT(ancho, 330);
  EXPECT_EQ(fGENEPROG->width(), ancho);
  EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), ancho - 16);
  EXPECT_EQ(fGENEPROG->x(), pantalla.x() + (pantalla.width() - ancho) / 2);
  // Other units change the label themselves and ask for the new size.
  fGENEPROG->EditProgreso()->setText(QStringLiteral("1 de 40"));
  fGENEPROG->EditProgresoChange();
  EXPECT_EQ(fGENEPROG->width(), 330);

  for (const char* plataforma : {"Windows VISTA", "Windows 7"}) {
    Plataforma = QLatin1String(plataforma);
    fGENEPROG->EditProgresoChange();
    EXPECT_EQ(fGENEPROG->PanelProgreso()->width(), 330 - 24) << plataforma;
  }
}

TEST_F(Geneprog, OffFreesTheWindowASecondOnReplacesItAndOtherModesDoNothing) {
  progreso("ON", {}, QStringLiteral("uno"));
  QPointer<TfGENEPROG> ventana = fGENEPROG;
  progreso("on", {}, QStringLiteral("dos"));
  EXPECT_EQ(fGENEPROG, ventana.data());
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("uno"));
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Segundo"), QString());
  EXPECT_TRUE(ventana.isNull());
  ASSERT_NE(fGENEPROG, nullptr);
  EXPECT_EQ(fGENEPROG->Caption(), QStringLiteral("Segundo"));
  progreso("OFF", {}, {});
  EXPECT_EQ(fGENEPROG, nullptr);
  progreso("", {}, QStringLiteral("tres"));
  progreso("OFF", {}, {});
  EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(Geneprog, TheTimerRepaintsTheTextEverySecondAndEscAsksWhetherToGoOnWithTheListing) {
  progreso("ON", {}, QStringLiteral("Leyendo"));
  ASSERT_NE(fGENEPROG, nullptr);
  ContadorPintados pintados(*fGENEPROG->EditProgreso());
  reloj.Advance(999);
  EXPECT_EQ(pintados.pintados, 0);
  reloj.Advance(1);
  EXPECT_EQ(pintados.pintados, 1);
  reloj.Advance(3000);
  EXPECT_EQ(pintados.pintados, 4);

  // Esc asks whether to go on with the listing.
  mensajes.Expect(QStringLiteral("C"), QStringLiteral("NO")).Expect(QStringLiteral("C"), QStringLiteral("SI"));
  QTest::keyClick(fGENEPROG, Qt::Key_Escape);
  EXPECT_TRUE(CancelarListado);
  EXPECT_TRUE(fGENEPROG->isVisible());  // the listing decides when to stop
  EXPECT_EQ(mensajes.Texts(),
            QStringList{QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?")});
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
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Copia"), QString());
  for (const auto& [texto, visto] : casos) {
    MostrarProgreso(QString(), QString(), QLatin1String(texto));
    EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QLatin1String(visto));
  }
  EXPECT_FALSE(atendido);
  progreso("X", {}, {});
  EXPECT_TRUE(atendido);
  EXPECT_EQ(fGENEPROG->EditProgreso()->text(), QStringLiteral("Copiando..."));
}
