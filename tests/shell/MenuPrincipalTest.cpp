#include "core/forms/TablasFormulario.h"
#include "core/startup/Configuracion.h"
#include "shell/Genemenu.h"
#include "shell/RejillaIconos.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/RecordingLauncher.h"

#include <QAction>
#include <QMenuBar>
#include <QToolButton>

namespace {

QAction* Item(const TfGENEMENU& ventana, const QString& nombre) { return ventana.findChild<QAction*>(nombre); }
QToolButton* Boton(const TfGENEMENU& ventana, int n) {
  return ventana.findChild<QToolButton*>(u"Imagen"_qs + QString::number(n));
}

// The installation with the main window's tables open and the special
// applications named as given (5 names).
class MenuPrincipal : public ConexionesFixture {
 protected:
  void Preparar(const QStringList& nombres) {
    Iniciar();
    AbrirTablasFormulario(ventana);
    QString valores;
    for (const QString& nombre : nombres) valores += u", '"_qs + nombre + u'\'';
    Ejecutar(u"INSERT INTO CONFAPLI (NombreApEspecial1, NombreApEspecial2, NombreApEspecial3, NombreApEspecial4, "
             "NombreApEspecial5) VALUES ("_qs + valores.mid(2) + u')',
             u"DatabaseGeneral"_qs);
    ventana.ConstruirMenuAplicaciones();
  }

  TfGENEMENU ventana;
};

}  // namespace

TEST(RejillaIconos, ButtonsCoverTheClientAreaByIntegerDivisionAndTheFontFollowsTheWindowWidth) {
  for (int n = 1; n <= 30; ++n) {
    const QRect rect = PosicionDeIcono(n, QSize(601, 500), 601).rect;
    EXPECT_EQ(rect.width(), 100);
    EXPECT_EQ(rect.height(), 100);
    EXPECT_LE(rect.right(), 599);  // the last pixel column stays uncovered
  }
  EXPECT_EQ(PosicionDeIcono(12, QSize(601, 500), 601).rect.topLeft(), QPoint(500, 100));
  EXPECT_EQ(PosicionDeIcono(25, QSize(601, 500), 601).rect.topLeft(), QPoint(0, 400));
  const std::pair<int, int> fuentes[] = {{1200, 21}, {800, 14}, {600, 10}, {450, 8}, {56, 1}, {10, 1}};
  for (const auto& [ancho, tamano] : fuentes) EXPECT_EQ(PosicionDeIcono(1, QSize(ancho, 500), ancho).tamanoFuente, tamano) << ancho;
}

TEST(MenuPrincipalSinDatos, TheApplicationsMenuHoldsTheModulesInOrderWithTheirTags) {
  TfGENEMENU ventana;
  const QStringList esperados = {
      "Nóminas", "Contabilidad", "Tesorería", "Ofertas a Clientes", "Cartera de Pedidos", "Facturación", "Almacén",
      "Control de Producción", "Fabricación", "Ofertas de Proveedores", "Cartera de Compras", "Control de Presencia",
      "Control de Proyectos", "EDI", "Control de Primas", "Terminal Punto de Venta", "Gestión de Calidad",
      "Planificación", "Quill Overview", "Control de Obras", "SAT", "eZOB", "Captura de Datos en Planta",
      "Mantenimiento de Equipos", "Recursos Humanos", "SGA"};
  const QList<QAction*> items = ventana.findChild<QMenu*>(u"Aplicaciones1"_qs)->actions();
  ASSERT_EQ(items.size(), 32);
  for (int i = 0; i < esperados.size(); ++i) {
    EXPECT_EQ(items[i]->text(), esperados[i]);
    EXPECT_EQ(items[i]->property("Tag").toInt(), i < 22 ? i + 1 : i == 22 ? 0 : i) << i;
  }
  EXPECT_TRUE(items[26]->isSeparator());
  EXPECT_EQ(Item(ventana, u"LoNuevodelaVersion"_qs)->text(), u"Lo Nuevo de la Versión 2024b"_qs);
  EXPECT_TRUE(Item(ventana, u"Empresas1"_qs)->isEnabled());
  EXPECT_TRUE(Item(ventana, u"ConfiguracionDeUsuarios"_qs)->isEnabled());
  EXPECT_TRUE(Item(ventana, u"ConversionTiposIVA"_qs)->isEnabled());

  ventana.ModoSoloConfiguracion();
  EXPECT_FALSE(Item(ventana, u"Aplicaciones1"_qs)->isVisible());
  EXPECT_TRUE(ventana.Panel1()->isHidden());
  EXPECT_EQ(ventana.windowTitle(), u"Configuración de Mirdal ERP"_qs);

  ventana.VerMenu1Click();  // still checked: the menu stays
  QWidget* barra = ventana.menuWidget();
  Item(ventana, u"VerMenu1"_qs)->trigger();
  EXPECT_EQ(ventana.menuWidget(), nullptr) << "the window is left without a menu bar";
  EXPECT_NE(barra->window(), &ventana) << "and its accelerators and shortcuts go with it";
  Item(ventana, u"VerMenu1"_qs)->trigger();
  EXPECT_EQ(ventana.menuWidget(), barra);
  EXPECT_FALSE(barra->isHidden());
}

TEST_F(MenuPrincipal, SpecialApplicationsOneAndThreeShowTheirItemsAndButtons) {
  Preparar({u"Taller Central"_qs, QString(), u"Informes"_qs, QString(), QString()});
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(Item(ventana, u"AplicacionEspecial"_qs + QString::number(n))->isVisible(), n == 1 || n == 3) << n;
  EXPECT_TRUE(Item(ventana, u"SeparadorAplicaciones"_qs)->isVisible());
  EXPECT_EQ(Boton(ventana, 26)->text(), u"T.Central"_qs);
  EXPECT_EQ(Boton(ventana, 28)->text(), u"Informes"_qs);
  for (int n : {27, 29, 30}) {
    EXPECT_EQ(Boton(ventana, n)->text(), QString()) << n;
    EXPECT_TRUE(Boton(ventana, n)->icon().isNull()) << n;
  }
  EXPECT_EQ(Boton(ventana, 5)->text(), u"C.Pedidos"_qs);
  EXPECT_FALSE(Boton(ventana, 5)->icon().isNull());
}

TEST_F(MenuPrincipal, ButtonsStartTheirModuleAndBlankOrDisabledOnesDoNothing) {
  Preparar({QString(), QString(), QString(), QString(), QString()});
  ParametroL = u"/inst/zem.ini"_qs;
  ParametroI = u"/inst/mi zemwin.ini"_qs;
  ParametroT = u"ES"_qs;
  CodigoUsuarioActual = u"ADMIN"_qs;
  RecordingLauncher lanzador;
  Boton(ventana, 27)->click();
  Item(ventana, u"Nominas1"_qs)->setEnabled(false);
  Boton(ventana, 1)->click();
  EXPECT_TRUE(lanzador.Calls().isEmpty());
  Boton(ventana, 2)->click();
  ASSERT_EQ(lanzador.Calls().size(), 1);
  EXPECT_EQ(lanzador.Calls()[0].program, u"RAXOWIN.EXE"_qs);
  EXPECT_EQ(lanzador.Calls()[0].arguments,
            QStringList({"L=/inst/zem.ini", "U=ADMIN", "I=/inst/mi", "zemwin.ini", "T=ES"}));
  EXPECT_FALSE(lanzador.Calls()[0].waited);
  Item(ventana, u"AplicacionEspecial2"_qs)->trigger();  // hidden, but its command is there
  ASSERT_EQ(lanzador.Calls().size(), 2);
  EXPECT_EQ(lanzador.Calls()[1].program, u"ESPE2WIN.EXE"_qs);
  EXPECT_EQ(lanzador.Calls()[1].arguments.first(), u"L=/inst/zem.ini"_qs);
}
