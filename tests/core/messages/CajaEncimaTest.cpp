#include "core/messages/Genemens.h"
#include "core/messages/MensajeSistema.h"
#include "platform/PlainMessage.h"
#include "tests/fixtures/SecondProcess.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

// On a real display, under its window manager, the message boxes opened from
// a form that stays on top: the X server's stacking order must put the box
// above the form, and the box must be transient for it.
namespace {

QString xprop(const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(QStringLiteral("xprop"), argumentos);
  proceso.waitForFinished(10000);
  return QString::fromLatin1(proceso.readAllStandardOutput());
}

QList<quint64> ventanasEn(const QString& salida) {
  QList<quint64> ventanas;
  static const QRegularExpression hexadecimal(QStringLiteral("0x[0-9a-fA-F]+"));
  for (auto it = hexadecimal.globalMatch(salida); it.hasNext();) ventanas << it.next().captured().toULongLong(nullptr, 16);
  return ventanas;
}

// The windows the manager lists bottom to top, among which the box must
// come after the form; and the window the box is transient for.
QString posicion(const QWidget& formulario, const QWidget& caja) {
  // The window the server knows now: the toolkit may have made it anew as it was shown.
  const quint64 ventanaFormulario = formulario.windowHandle()->winId(), ventanaCaja = caja.windowHandle()->winId();
  const QList<quint64> pila = ventanasEn(xprop({u"-root"_qs, u"_NET_CLIENT_LIST_STACKING"_qs}));
  const qsizetype debajo = pila.indexOf(ventanaFormulario), encima = pila.indexOf(ventanaCaja);
  const QList<quint64> duena =
      ventanasEn(xprop({u"-id"_qs, u"0x"_qs + QString::number(ventanaCaja, 16), u"WM_TRANSIENT_FOR"_qs}));
  QString texto = debajo >= 0 && encima > debajo ? u"encima"_qs : u"debajo"_qs;
  texto += duena.value(0) == ventanaFormulario ? u" de su formulario"_qs : u" de otra ventana"_qs;
  return texto;
}

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
      // The manager restacks as it maps the box: wait for that, not for a time.
      static_cast<void>(QTest::qWaitFor([&] { return (visto = posicion(formulario, *caja)).startsWith(u"encima"); }, 5000));
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

// Why the display cannot show it; empty when it can.
QString sinPantalla() {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return u"no X display (DISPLAY is not set)"_qs;
  if (QStandardPaths::findExecutable(u"xprop"_qs).isEmpty()) return u"xprop is not installed"_qs;
  if (!xprop({u"-root"_qs, u"_NET_SUPPORTING_WM_CHECK"_qs}).contains(u"window id"_qs))
    return u"no window manager runs on the display"_qs;
  return {};
}

}  // namespace

TEST(CajaEncima, OverAFormThatStaysOnTopEveryBoxStacksAboveIt) {
  if (const QString motivo = sinPantalla(); !motivo.isEmpty()) GTEST_SKIP() << motivo.toStdString();
  SecondProcess pantalla(u"caja-sobre-formulario-fijo"_qs, {{u"QT_QPA_PLATFORM"_qs, u"xcb"_qs}});
  EXPECT_EQ(pantalla.ReadReport(), u"mensaje encima de su formulario"_qs);
  EXPECT_EQ(pantalla.ReadReport(), u"plano encima de su formulario"_qs);
  EXPECT_EQ(pantalla.Finish(), 0);
}
