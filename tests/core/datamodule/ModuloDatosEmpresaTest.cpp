#include "core/datamodule/Genemodu.h"
#include "core/startup/Configuracion.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QPageSetupDialog>

#include <memory>

namespace {

// A module program's company: its general parameters (PARAGENE) and its
// currencies (MONEDA), with the side tables the module opens beside them,
// on the embedded server and on a Paradox folder alike.
class ModuloEmpresa : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  ModuloEmpresa() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    Ejecutar(u"CREATE TABLE PARAGENE (CodigoMonedaBase INTEGER NULL, CodigoMonedaEuro INTEGER NULL, "
             "CodigoMonedaNacional INTEGER NULL, PlantillaNumericaStd VARCHAR(40) NULL, PlantillaNumericaExt TEXT NULL, "
             "Iva1 FLOAT NULL, Iva2 FLOAT NULL, Iva3 FLOAT NULL, Iva4 FLOAT NULL, Iva5 FLOAT NULL, "
             "Recargo1 FLOAT NULL, Recargo2 FLOAT NULL, Recargo3 FLOAT NULL, Recargo4 FLOAT NULL, Recargo5 FLOAT NULL, "
             "SolicitarDialogoImpresora VARCHAR(2) NULL, FmtVisualizacionPrevia VARCHAR(20) NULL, "
             "TipoLetraListados VARCHAR(40) NULL, ListarRestricciones VARCHAR(2) NULL, CfgCorreoElectronico TEXT NULL, "
             "Idiomas TEXT NULL)"_qs);
    Ejecutar(u"CREATE TABLE MONEDA (Codigo INTEGER, Descripcion VARCHAR(30) NULL, Abreviatura VARCHAR(5) NULL, "
             "Cambio FLOAT NULL, Decimales INTEGER NULL, CONSTRAINT MONEDA_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO MONEDA VALUES (1, 'Euro', 'EUR', 1, 2)"_qs);
    Ejecutar(u"INSERT INTO MONEDA VALUES (2, 'Dólar', 'USD', 1.08, 3)"_qs);
    for (const char* tabla : {"RESPDOC", "GRANTAB", "REGACCES"})
      Ejecutar(u"CREATE TABLE %1 (NombreTabla VARCHAR(40), ClaveTabla VARCHAR(80), "
               "CONSTRAINT %1_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla))"_qs.arg(QLatin1String(tabla)));
    Ejecutar(u"CREATE TABLE GRANALIS (Codigo INTEGER, CONSTRAINT GRANALIS_Clave1 PRIMARY KEY (Codigo))"_qs);
    EmpresaActual = 1;
  }

  static void Parametros(const QString& valores) { Ejecutar(u"INSERT INTO PARAGENE %1"_qs.arg(valores)); }

  void Crear() {
    modulo = std::make_unique<TModuloDatos>();
    ModuloDatos = modulo.get();
  }

  std::unique_ptr<TModuloDatos> modulo;
};

const char* const kMotores[] = {"Microsoft SQL Server", "Paradox"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, ModuloEmpresa, ::testing::ValuesIn(kMotores));

TEST_P(ModuloEmpresa, AModuleProgramReadsTheCompanysParametersAndBaseCurrency) {
  Parametros(u"(CodigoMonedaBase, CodigoMonedaNacional, PlantillaNumericaStd, PlantillaNumericaExt, Iva1, Iva2, "
             "Recargo1) VALUES (2, 1, '#,##0.00', 'Otra=x\r\nPlantillaNumerica2=#,##0.0000 Precio,Coste', 21, 10, 5.2)"_qs);
  Crear();
  ASSERT_TRUE(ModuloDatosListo);
  EXPECT_EQ(FormatoNumericoEstandar, u"#,##0.00"_qs);
  EXPECT_EQ(PlantillasNumericas[1], u"#,##0.00"_qs) << "no entry of its own";
  EXPECT_EQ(PlantillasNumericas[2], u"#,##0.0000"_qs);
  QStringList fragmentos = CamposPlantillasNumericas[2].Lines();
  fragmentos.sort();
  EXPECT_EQ(fragmentos, QStringList({u"Coste"_qs, u"Precio"_qs}));
  EXPECT_EQ(modulo->PorcentajesIVAEmpresa(), (std::array<double, 6>{0, 21, 10, 0, 0, 0}));
  EXPECT_EQ(modulo->PorcentajesRecargoEmpresa(), (std::array<double, 6>{0, 5.2, 0, 0, 0, 0}));
  EXPECT_TRUE(modulo->MonedaBaseDistintaDeNacional());
  EXPECT_EQ(modulo->DSMoneda->DataSet(), modulo->Moneda);
  EXPECT_EQ(DecimalesMonedaBase, 3);
  EXPECT_DOUBLE_EQ(CambioMonedaBase, 1.08);
  EXPECT_EQ(AbreviaturaMonedaBase + u'|' + DescripcionMonedaBase, u"USD|Dólar"_qs);

  // Saving the parameters reloads the base currency, and nothing else.
  const struct {
    int moneda;
    int decimales;
    double cambio;
    const char* textos;
  } casos[] = {{1, 2, 1.0, "EUR|Euro"}, {7, 0, 1.0, "|"}};
  for (const auto& caso : casos) {
    modulo->ParamGenerales->Edit();
    modulo->ParamGenerales->FieldByName(u"CodigoMonedaBase"_qs).SetAsInteger(caso.moneda);
    modulo->ParamGenerales->FieldByName(u"Iva1"_qs).SetAsFloat(99);
    modulo->ParamGenerales->Post();
    EXPECT_EQ(DecimalesMonedaBase, caso.decimales) << caso.moneda;
    EXPECT_DOUBLE_EQ(CambioMonedaBase, caso.cambio);
    EXPECT_EQ(AbreviaturaMonedaBase + u'|' + DescripcionMonedaBase, QString::fromUtf8(caso.textos));
    EXPECT_EQ(modulo->MonedaBaseDistintaDeNacional(), caso.moneda != 1);
    EXPECT_EQ(modulo->PorcentajesIVAEmpresa()[1], 21);
  }
}

TEST_P(ModuloEmpresa, NingunaLeavesTheStandardFormatAndTheTemplatesWithoutEntryEmpty) {
  Parametros(u"(CodigoMonedaBase, CodigoMonedaNacional, PlantillaNumericaStd, PlantillaNumericaExt) "
             "VALUES (1, 1, 'Ninguna', 'PlantillaNumerica3=0.0 Peso')"_qs);
  Crear();
  ASSERT_TRUE(ModuloDatosListo);
  EXPECT_EQ(FormatoNumericoEstandar, QString());
  EXPECT_EQ(PlantillasNumericas[1] + u'|' + PlantillasNumericas[3] + u'|' + PlantillasNumericas[5], u"|0.0|"_qs);
  EXPECT_FALSE(modulo->MonedaBaseDistintaDeNacional());
  EXPECT_EQ(DecimalesMonedaBase, 2);
}

TEST_P(ModuloEmpresa, WithoutACompanyNoCompanyTableIsTouched) {
  Parametros(u"(CodigoMonedaBase, PlantillaNumericaStd) VALUES (2, '0.000')"_qs);
  EmpresaActual = 0;
  Crear();
  ASSERT_TRUE(ModuloDatosListo);
  for (Table* tabla : {modulo->ParamGenerales, modulo->Moneda, modulo->Responsabilidad, modulo->GATablas})
    EXPECT_FALSE(tabla->Active() || !tabla->TableName().isEmpty()) << tabla->objectName().toStdString();
  EXPECT_EQ(FormatoNumericoEstandar, u"#,###.##"_qs);
  EXPECT_EQ(DecimalesMonedaBase, 0);
}

TEST_P(ModuloEmpresa, ThePrintDialogsOfferPrintingToAFileAndPageNumbers) {
  Parametros(u"(CodigoMonedaBase) VALUES (1)"_qs);
  Crear();
  EXPECT_TRUE(modulo->PrintDialog1.PrintToFile);
  EXPECT_TRUE(modulo->PrintDialog1.PageNumbers);
  QPageSetupDialog* configurar = modulo->PrinterSetupDialog1();
  EXPECT_EQ(configurar, modulo->PrinterSetupDialog1());
  EXPECT_EQ(configurar->objectName(), u"PrinterSetupDialog1"_qs);
}
