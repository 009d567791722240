#include "core/datamodule/PresentacionMoneda.h"
#include "core/forms/GanchosFormulario.h"
#include "platform/Form.h"
#include "platform/data/Field.h"
#include "platform/data/DataSource.h"
#include "platform/data/Table.h"
#include "platform/report/ReportItem.h"
#include "tests/core/datamodule/MonedaFixture.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

namespace {

enum class Boton { Ninguno, Arriba, Abajo };
enum class Opcion { Ninguna, Desmarcada, Marcada };

// A price of 1000 pesetas on a form of the main window; the euro is 166.386.
class PresentacionMoneda : public MonedaFixture {
 protected:
  PresentacionMoneda() {
    Ejecutar(u"CREATE TABLE PRECIOS (Codigo INT, Precio FLOAT NULL, Cambio FLOAT NULL, "
             "CONSTRAINT PRECIOS_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO PRECIOS VALUES (1, 1000, 1)"_qs);
    Ejecutar(u"CREATE TABLE LINEAS (Codigo INT, Linea INT, Importe FLOAT NULL, "
             "CONSTRAINT LINEAS_Clave1 PRIMARY KEY (Codigo, Linea))"_qs);
    Ejecutar(u"INSERT INTO LINEAS VALUES (1, 1, 500)"_qs);
    precios.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    precios.SetTableName(u"PRECIOS"_qs);
    precios.Open();
    precio = &precios.FieldByName(u"Precio"_qs);
    precio->SetDisplayFormat(u"0.000"_qs);
    precio->OnGetText = VerEnMonedaNacionalOEuro;

    principal.setCentralWidget(area);
    Ganchos().VentanaPrincipal = [this] { return &principal; };
    hija->setObjectName(u"fHIJA"_qs);
    area->addSubWindow(hija);
    activo.setObjectName(u"fACTIVO"_qs);
  }

  static QToolButton* botonEuro(QWidget* formulario, Boton estado) {
    if (estado == Boton::Ninguno) return nullptr;
    auto* boton = new QToolButton(formulario);
    boton->setObjectName(u"pbEuro"_qs);
    boton->setCheckable(true);
    boton->setChecked(estado == Boton::Abajo);
    return boton;
  }

  // The active form and the MDI child with their buttons, and the main window's item.
  void Preparar(Boton delActivo, Boton deLaHija, Opcion opcion) {
    botonEuro(&activo, delActivo);
    botonEuro(hija, deLaHija);
    if (opcion != Opcion::Ninguna) {
      QAction* item = principal.menuBar()->addAction(u"Ver en moneda nacional o euro"_qs);
      item->setObjectName(u"VerDatosEnMonedaNacionalOEuro"_qs);
      item->setCheckable(true);
      item->setChecked(opcion == Opcion::Marcada);
    }
    principal.show();
    area->setActiveSubWindow(area->subWindowList().value(0));
    QWidget& enPrimerPlano = delActivo == Boton::Ninguno ? static_cast<QWidget&>(principal) : activo;
    enPrimerPlano.show();
    enPrimerPlano.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&enPrimerPlano));
  }

  Table precios;
  Field* precio = nullptr;
  QMainWindow principal;
  QMdiArea* area = new QMdiArea;
  Form* hija = new Form;
  Form activo;
};

struct Decision {
  Boton activo;
  Boton hija;
  Opcion opcion;
  bool convertido;
};

class OrdenDecision : public PresentacionMoneda, public testing::WithParamInterface<Decision> {};

TEST_P(OrdenDecision, TheActiveFormThenTheMdiChildThenTheMenuItemDecide) {
  const Decision caso = GetParam();
  Preparar(caso.activo, caso.hija, caso.opcion);
  EXPECT_EQ(precio->DisplayText(), caso.convertido ? u"€ 6,01"_qs : u"1000,000"_qs);
  ReportItem importe;
  QString impreso = u"1000"_qs;
  ImprimirEnMonedaNacionalOEuro(importe, impreso);
  EXPECT_EQ(impreso, caso.convertido ? u"€ 6,01"_qs : u"1000"_qs);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, OrdenDecision,
    testing::Values(Decision{Boton::Abajo, Boton::Arriba, Opcion::Desmarcada, true},
                    Decision{Boton::Arriba, Boton::Abajo, Opcion::Marcada, false},
                    Decision{Boton::Ninguno, Boton::Abajo, Opcion::Desmarcada, true},
                    Decision{Boton::Ninguno, Boton::Arriba, Opcion::Marcada, false},
                    Decision{Boton::Ninguno, Boton::Ninguno, Opcion::Marcada, true},
                    Decision{Boton::Ninguno, Boton::Ninguno, Opcion::Desmarcada, false},
                    Decision{Boton::Ninguno, Boton::Ninguno, Opcion::Ninguna, false}));

TEST_F(PresentacionMoneda, TheEditTextIsThePlainValueWhateverTheButton) {
  Preparar(Boton::Abajo, Boton::Ninguno, Opcion::Ninguna);
  EXPECT_EQ(precio->Text(), u"1000"_qs);
  precios.Edit();
  precio->SetText(precio->Text());
  precios.Post();
  EXPECT_DOUBLE_EQ(precio->AsFloat(), 1000);
}

TEST_F(PresentacionMoneda, ARateOfNothingShowsAndPrintsTheAmountUnconverted) {
  Parametros(1, 3, 1);
  Preparar(Boton::Abajo, Boton::Ninguno, Opcion::Ninguna);
  EXPECT_EQ(precio->DisplayText(), u"1000,000"_qs);
  ReportItem importe;
  QString impreso = u"1000"_qs;
  ImprimirEnMonedaNacionalOEuro(importe, impreso);
  EXPECT_EQ(impreso, u"1000"_qs);
}

TEST_F(PresentacionMoneda, TheProvisionalFormatGivesWayToTheFormatOfTheFieldsName) {
  PlantillasNumericas[2] = u"#,##0.0"_qs;
  FormatoNumericoEstandar = u"0.00000"_qs;
  precio->SetDisplayFormat(u"#,###.##"_qs);
  Preparar(Boton::Arriba, Boton::Ninguno, Opcion::Ninguna);
  EXPECT_EQ(precio->DisplayText(), u"1.000,0"_qs);
}

TEST_F(PresentacionMoneda, TheCheckedMenuItemConvertsByTheRecordsRateOrItsMasters) {
  Preparar(Boton::Ninguno, Boton::Ninguno, Opcion::Marcada);
  // 1000 at the record's rate 2 is 2000 pesetas.
  precios.Edit();
  precios.FieldByName(u"Cambio"_qs).SetAsFloat(2);
  precios.Post();
  EXPECT_EQ(precio->DisplayText(), u"€ 12,02"_qs);

  DataSource maestro;
  maestro.SetDataSet(&precios);
  Table lineas;
  lineas.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  lineas.SetTableName(u"LINEAS"_qs);
  lineas.SetMasterSource(&maestro);
  lineas.SetMasterFields(u"Codigo"_qs);
  lineas.Open();
  Field& importe = lineas.FieldByName(u"Importe"_qs);
  importe.OnGetText = VerEnMonedaNacionalOEuro;
  EXPECT_EQ(importe.DisplayText(), u"€ 6,01"_qs);
}

}  // namespace
