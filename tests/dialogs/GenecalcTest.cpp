#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Calculadora.h"
#include "dialogs/Genecalc.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DBEdit.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QPushButton>
#include <QTest>

namespace {

class Calculadora : public ::testing::Test {
 protected:
  Calculadora() { RegistrarGENECALC(); }
  ~Calculadora() override { FormRegistry::Clear(); }

  static void Pulsar(TfGENECALC& calculadora, const char* boton) {
    QTest::mouseClick(calculadora.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
  }
};

}  // namespace

TEST_F(Calculadora, ItClosesWithTheNumberWorkedOutOrItsOwnWhenUnchanged) {
  const struct {
    double inicial;
    std::function<void(TfGENECALC&)> teclas;
    double resultado;
  } casos[] = {
      {1.2345, [](TfGENECALC& c) { QTest::keyClick(&c, Qt::Key_Escape); }, 1.2345},
      {1.2345, [](TfGENECALC&) {}, 1.2345},
      {2, [](TfGENECALC& c) { Pulsar(c, "pbSuma"), Pulsar(c, "pb3"), Pulsar(c, "pbIgual"); }, 5},
      {0, [](TfGENECALC& c) { QTest::keyClicks(&c, u"10*2,5"_qs); }, 25},
      {0, [](TfGENECALC& c) { QTest::keyClicks(&c, u"7/0="_qs); }, 7},
      {0, [](TfGENECALC& c) { QTest::keyClicks(&c, u"9-4"_qs), QTest::keyClick(&c, Qt::Key_Period, Qt::KeypadModifier),
                               QTest::keyClick(&c, Qt::Key_5); }, 4.5},
      {166.386, [](TfGENECALC& c) { Pulsar(c, "pbEuro"); }, 1},
      {2, [](TfGENECALC& c) { Pulsar(c, "pbPeseta"); }, 332.772},
      {8, [](TfGENECALC& c) { Pulsar(c, "pbBorrar"), Pulsar(c, "pbCambiaSigno"); }, 0},
      {8, [](TfGENECALC& c) { Pulsar(c, "pbCambiaSigno"); }, -8},
  };
  for (const auto& caso : casos) {
    QString visto;
    AlMostrarse<TfGENECALC>(fGENECALC, [&](TfGENECALC& calculadora) {
      visto = calculadora.Caption() + u' ' + calculadora.Visor();
      if (caso.inicial == 1.2345) CapturaFormulario(calculadora, u"calculadora"_qs);
      caso.teclas(calculadora);
      if (calculadora.isVisible()) QTest::keyClick(&calculadora, Qt::Key_Return);
    });
    EXPECT_NEAR(::Calculadora(caso.inicial), caso.resultado, 1e-12) << caso.inicial;
    EXPECT_EQ(visto, u"Calculadora "_qs + FormatFloat(u"0.##"_qs, caso.inicial));
  }
}

namespace {

class CalculadoraEnCampo : public ConexionesFixture {
 protected:
  CalculadoraEnCampo() {
    Iniciar();
    RegistrarGENECALC();
  }
  ~CalculadoraEnCampo() override { FormRegistry::Clear(); }
};

}  // namespace

TEST_F(CalculadoraEnCampo, F2OnAFloatFieldStoresTheCalculatorsNumber) {
  Ejecutar(u"CREATE TABLE ARTICULO (Codigo INT NOT NULL, Precio FLOAT NULL, CONSTRAINT ARTICULO_Clave1 "
           "PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO ARTICULO (Codigo, Precio) VALUES (1, 1.2345)"_qs);
  Form formulario;
  Table articulos(&formulario);
  articulos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  articulos.SetTableName(u"ARTICULO"_qs);
  articulos.Open();
  DataSource fuente(&formulario);
  fuente.SetDataSet(&articulos);
  auto* precio = new DBEdit(&formulario);
  precio->setObjectName(u"EditPrecio"_qs);
  precio->SetSource(&fuente);
  precio->SetDataField(u"Precio"_qs);
  formulario.OnKeyDown = TeclasFormulario;
  formulario.show();
  precio->setFocus();

  AlMostrarse<TfGENECALC>(fGENECALC, [](TfGENECALC& calculadora) { QTest::keyClick(&calculadora, Qt::Key_Escape); });
  QTest::keyClick(precio, Qt::Key_F2);
  EXPECT_EQ(articulos.FieldByName(u"Precio"_qs).AsFloat(), 1.2345);
  AlMostrarse<TfGENECALC>(fGENECALC, [](TfGENECALC& calculadora) {
    QTest::keyClicks(&calculadora, u"*2"_qs);
    QTest::keyClick(&calculadora, Qt::Key_Return);
  });
  QTest::keyClick(precio, Qt::Key_F2);
  EXPECT_EQ(articulos.State(), dsEdit);
  EXPECT_DOUBLE_EQ(articulos.FieldByName(u"Precio"_qs).AsFloat(), 2.469);
  articulos.Cancel();
}
