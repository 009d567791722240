#include "app/ProgramaZEM.h"
#include "core/messages/Genemens.h"
#include "core/progress/Geneprog.h"
#include "maintenance/Geneacts.h"
#include "maintenance/Geneactu.h"
#include "maintenance/Genebsql.h"
#include "maintenance/Genecchr.h"
#include "platform/Application.h"
#include "printing/Geneimpr.h"
#include "shell/Genecres.h"
#include "shell/Geneempr.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/PilaVentanas.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The program's own forms that stay on top, on a real display under its
// window manager: the box or dialog each one opens must stack above it.
namespace {

struct FormularioFijo {
  const char* clase;
  std::function<std::unique_ptr<QWidget>()> crear;
  // What the user does in it that asks or warns.
  std::function<void(QWidget&)> provocar;
};

template <class Formulario>
std::unique_ptr<QWidget> crear() {
  return std::make_unique<Formulario>();
}

template <class Formulario, void (Formulario::*Pulsar)()>
void pulsar(QWidget& formulario) {
  (static_cast<Formulario&>(formulario).*Pulsar)();
}

const std::vector<FormularioFijo>& formulariosFijos() {
  static const std::vector<FormularioFijo> formularios{
      {"TfGENEEMPR", crear<TfGENEEMPR>,
       [](QWidget& f) { static_cast<TfGENEEMPR&>(f).Table1BeforeDelete(nullptr); }},
      {"TfGENECRES", crear<TfGENECRES>, pulsar<TfGENECRES, &TfGENECRES::AsignarOperariosporDefecto1Click>},
      {"TfGENEIMPR", crear<TfGENEIMPR>, pulsar<TfGENEIMPR, &TfGENEIMPR::pbCambiarFontClick>},
      {"TfGENEACTS", crear<TfGENEACTS>, pulsar<TfGENEACTS, &TfGENEACTS::pbActualizarClick>},
      {"TfGENEBSQL", crear<TfGENEBSQL>, pulsar<TfGENEBSQL, &TfGENEBSQL::pbRestaurarCopiaSeguridadClick>},
      {"TfGENECCHR", crear<TfGENECCHR>, pulsar<TfGENECCHR, &TfGENECCHR::pbIniciarConversionClick>},
      {"TfGENEACTU", crear<TfGENEACTU>, pulsar<TfGENEACTU, &TfGENEACTU::pbActualizarClick>},
      {"TfGENEPROG", crear<TfGENEPROG>, [](QWidget& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
  };
  return formularios;
}

// Creates and shows the form, then does what provokes its boxes; where the
// first box over the shown form stood. What asks before the form shows (the
// company to work on) is accepted; every box over the form is answered with
// Esc, as a cautious user would.
QString primeraCaja(const FormularioFijo& fijo) {
  std::unique_ptr<QWidget> formulario;
  QString visto = u"no se mostró"_qs;
  bool mirada = false, ocupado = false;
  QTimer reloj;
  reloj.setInterval(50);
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    QWidget* caja = QApplication::activeModalWidget();
    if (ocupado || !caja || caja == formulario.get() || !caja->isVisible()) return;
    ocupado = true;
    const bool antes = !formulario || !formulario->isVisible();
    if (QTest::qWaitForWindowExposed(caja)) {
      if (!antes && !std::exchange(mirada, true)) visto = EsperarCajaEncima(*formulario, *caja);
      QTest::keyClick(caja->focusWidget() ? caja->focusWidget() : caja, antes ? Qt::Key_Return : Qt::Key_Escape);
    }
    ocupado = false;
  });
  reloj.start();
  formulario = fijo.crear();
  formulario->show();
  if (!QTest::qWaitForWindowActive(formulario.get())) formulario->activateWindow();
  fijo.provocar(*formulario);
  return visto;
}

// The program started in an installation of its own, each form shown in
// turn with the program's own message boxes.
void cajasDeFormulariosFijos() {
  const TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  const ScriptedPresenter arranque;  // the start asks nothing
  ProgramaZEM programa(*Application::Instance(), {});
  programa.Iniciar();
  TfGENEMENS mensajes;
  const MessagePresenterSeam::Scoped presentador(mensajes);
  for (const FormularioFijo& fijo : formulariosFijos())
    SecondProcess::Report(QLatin1String(fijo.clase) + u' ' + primeraCaja(fijo));
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"cajas-de-formularios-fijos"_qs, cajasDeFormulariosFijos);

}  // namespace

TEST(CajasFormulariosFijos, TheBoxEachFormThatStaysOnTopOpensStacksAboveIt) {
  if (const QString motivo = SinPantallaConGestor(); !motivo.isEmpty()) GTEST_SKIP() << motivo.toStdString();
  SecondProcess pantalla(u"cajas-de-formularios-fijos"_qs, {{u"QT_QPA_PLATFORM"_qs, u"xcb"_qs}});
  for (const FormularioFijo& fijo : formulariosFijos())
    EXPECT_EQ(pantalla.ReadReport().toStdString(), fijo.clase + std::string(" encima de su formulario"));
  EXPECT_EQ(pantalla.Finish(), 0);
}
