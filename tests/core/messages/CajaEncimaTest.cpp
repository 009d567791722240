#include "core/messages/Genemens.h"
#include "core/messages/MensajeSistema.h"
#include "platform/PlainMessage.h"
#include "tests/fixtures/PilaVentanas.h"
#include "tests/fixtures/SecondProcess.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// On a real display, under its window manager, the message boxes opened from
// a form that stays on top: the X server's stacking order must put the box
// above the form, and the box must be transient for it.
namespace {

// Shows the box of one kind over a form that stays on top, and reports
// where it stood.
void cajaSobreFormularioFijo() {
  Form formulario;
  formulario.setWindowFlag(Qt::WindowStaysOnTopHint);
  formulario.setWindowTitle(u"Empresas"_qs);
  formulario.resize(640, 480);
  formulario.show();
  if (!QTest::qWaitForWindowActive(&formulario)) formulario.activateWindow();
  TfGENEMENS mensajes;
  const MessagePresenterSeam::Scoped presentador(mensajes);
  for (const QString& clase : {u"mensaje"_qs, u"plano"_qs}) {
    QString visto = u"no se mostró"_qs;
    QTimer::singleShot(0, [&] {
      QWidget* caja = QApplication::activeModalWidget();
      if (!caja || !QTest::qWaitForWindowExposed(caja)) return;
      visto = EsperarCajaEncima(formulario, *caja);
      QTest::keyClick(caja->focusWidget() ? caja->focusWidget() : caja, Qt::Key_Escape);
    });
    QString respuesta;
    if (clase == u"mensaje")
      MensajeConfirmacion(u"¿Desea eliminar la empresa?"_qs, respuesta);
    else
      AskYesNo(u"Confirmar"_qs, u"¿Desea continuar?"_qs);
    SecondProcess::Report(clase + u' ' + visto);
  }
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"caja-sobre-formulario-fijo"_qs, cajaSobreFormularioFijo);

}  // namespace

TEST(CajaEncima, OverAFormThatStaysOnTopEveryBoxStacksAboveIt) {
  if (const QString motivo = SinPantallaConGestor(); !motivo.isEmpty()) GTEST_SKIP() << motivo.toStdString();
  SecondProcess pantalla(u"caja-sobre-formulario-fijo"_qs, {{u"QT_QPA_PLATFORM"_qs, u"xcb"_qs}});
  EXPECT_EQ(pantalla.ReadReport(), u"mensaje encima de su formulario"_qs);
  EXPECT_EQ(pantalla.ReadReport(), u"plano encima de su formulario"_qs);
  EXPECT_EQ(pantalla.Finish(), 0);
}
