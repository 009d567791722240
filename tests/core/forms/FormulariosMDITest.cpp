#include "core/forms/FormulariosMDI.h"
#include "core/forms/GanchosFormulario.h"

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
  area->subWindowList().first()->showMinimized();
  EXPECT_EQ(Abrir(u"fGENEDOCE"_qs), primero);
  EXPECT_FALSE(area->subWindowList().first()->isMinimized());
  EXPECT_EQ(creados, 1);
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
  EXPECT_EQ(nuevo->objectName(), u"fGENEDOCE"_qs);
}
