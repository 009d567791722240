#include "core/forms/FormulariosMDI.h"
#include "core/forms/GanchosFormulario.h"
#include "core/startup/Configuracion.h"
#include "core/system/Equipo.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/StringList.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

// A main window with its MDI area, and a counted way to make a child.
class FormulariosMDI : public ::testing::Test {
 protected:
  FormulariosMDI() {
    principal.setCentralWidget(area);
    Ganchos().VentanaPrincipal = [this]() -> QWidget* { return &principal; };
  }
  ~FormulariosMDI() override { RestablecerGanchosFormulario(); }

  QWidget* Abrir(const QString& nombre, const QString& opciones = QString()) {
    QWidget* formulario = nullptr;
    AbrirFormularioMDI(
        [this] {
          ++creados;
          return new QWidget;
        },
        formulario, opciones, nombre);
    return formulario;
  }
  static void Liberar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  QMainWindow principal;
  QMdiArea* area = new QMdiArea;
  int creados = 0;
  TemporaryFolder carpeta;
};

}  // namespace

TEST_F(FormulariosMDI, AChildIsOpenedOnceAndBroughtBack) {
  EXPECT_FALSE(BuscarFormularioMDI(u"fGENEDOCE"_qs));
  QWidget* primero = Abrir(u"fGENEDOCE"_qs);
  ASSERT_NE(primero, nullptr);
  EXPECT_EQ(primero->objectName(), u"fGENEDOCE"_qs);
  EXPECT_EQ(area->subWindowList().size(), 1);
  EXPECT_TRUE(BuscarFormularioMDI(u"fGENEDOCE"_qs));
  EXPECT_FALSE(BuscarFormularioMDI(u"fGENEDOC"_qs));

  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), primero);
  principal.resize(640, 480);
  principal.show();
  Abrir(u"fGENEFILT"_qs)->setWindowTitle(u"fGENEFILT"_qs);
  primero->setWindowTitle(u"fGENEDOCE"_qs);
  area->subWindowList().first()->showMinimized();
  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), primero);
  EXPECT_FALSE(area->subWindowList().first()->isMinimized());
  EXPECT_EQ(creados, 2);
  area->tileSubWindows();
  CapturaFormulario(principal, u"mdi-restaurada"_qs);
  for (QMdiSubWindow* hija : area->subWindowList()) EXPECT_TRUE(hija->isVisible() && !hija->isMinimized());
}

TEST_F(FormulariosMDI, ASecondCopyIsFoundByItsNameBeforeTheBarAndCreateReplacesIt) {
  QPointer<QWidget> primero = Abrir(u"fGENEDOCE"_qs);
  auto* copia = new QWidget;
  copia->setObjectName(u"fGENEDOCE_2"_qs);
  area->addSubWindow(copia)->setAttribute(Qt::WA_DeleteOnClose);
  copia->show();
  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), copia);
  EXPECT_TRUE(BuscarFormularioMDI(u"fGENEDOCE_2"_qs));

  QPointer<QWidget> cerrada = copia;
  QWidget* nuevo = Abrir(u"fGENEDOCE"_qs, u"Create"_qs);
  Liberar();
  EXPECT_TRUE(cerrada.isNull());
  EXPECT_FALSE(primero.isNull());
  EXPECT_EQ(creados, 2);
  EXPECT_EQ(FormularioMDI(u"fGENEDOCE"_qs), primero.data());
  EXPECT_NE(nuevo, primero.data());
  EXPECT_EQ(nuevo->objectName(), u"fGENEDOCE_1"_qs) << "the first copy is still open";
}

TEST_F(FormulariosMDI, AHiddenChildIsFoundAndShownAndAClosedOneLeavesTheArea) {
  MonitorizarActividadUsuario = true;
  const QString registro = carpeta.Path() + u'/' + UsuarioWindows() + u".log"_qs;
  CarpetaPrograma = carpeta.Path() + u'/';
  QWidget* documentacion = Abrir(u"fGENEDOCE"_qs);
  area->subWindowList().first()->hide();
  EXPECT_FALSE(BuscarFormularioMDI(u"fGENEDOCE"_qs)) << "only shown children count";
  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), documentacion);
  EXPECT_TRUE(BuscarFormularioMDI(u"fGENEDOCE"_qs));
  area->subWindowList().first()->showMaximized();
  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), documentacion);
  area->subWindowList().first()->close();
  EXPECT_TRUE(area->subWindowList().isEmpty());
  EXPECT_NE(Abrir(u"fGENEDOCE"_qs), nullptr);
  EXPECT_EQ(creados, 2);
  QStringList acciones;
  StringList lineas;
  lineas.LoadFromFile(registro);
  for (const QString& linea : lineas.Lines()) acciones << linea.section(u", "_qs, 1, 1);
  EXPECT_EQ(acciones, (QStringList{u"Create"_qs, u"Show"_qs, u"Restore"_qs, u"Create"_qs}));
  MonitorizarActividadUsuario = false;
}

TEST_F(FormulariosMDI, AFormIsMadeByItsRegisteredClassAndOpensAloneWithoutAMainWindow) {
  FormRegistry::Register(u"TfPRUEBA"_qs, [](QWidget*) { return new QWidget; });
  QWidget* formulario = nullptr;
  AbrirFormularioMDI(u"TfPRUEBA"_qs, formulario, QString(), u"fPRUEBA"_qs);
  ASSERT_NE(formulario, nullptr);
  EXPECT_EQ(formulario->parentWidget()->parentWidget()->parentWidget(), area);
  try {
    AbrirFormularioMDI(u"TfOTRO"_qs, formulario, QString(), u"fOTRO"_qs);
    ADD_FAILURE() << "an unregistered class";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), u"El formulario TfOTRO no está disponible."_qs);
  }
  Ganchos().VentanaPrincipal = nullptr;
  QWidget* solo = nullptr;
  AbrirFormularioMDI(u"TfPRUEBA"_qs, solo, QString(), u"fPRUEBA"_qs);
  std::unique_ptr<QWidget> liberar(solo);
  EXPECT_TRUE(solo->isWindow() && solo->isVisible());
  EXPECT_EQ(solo->objectName(), u"fPRUEBA"_qs);
  FormRegistry::Clear();
}
