#include "core/datamodule/CamposHora.h"
#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QShowEvent>
#include <QTimer>

#include <functional>

namespace {

// What the responsibility form saw: how often it was created and shown, and
// the table and key it was handed.
struct Actuaciones {
  int creados = 0;
  int mostrados = 0;
  QString tabla;
  QString clave;
  bool editables = false;
};
Actuaciones actuaciones;

// Stands in for the responsibility form: registers the record as the real
// one does while being created, and closes itself when shown.
class FormularioResponsabilidad : public Form {
 public:
  explicit FormularioResponsabilidad(QWidget* owner) : Form(owner) {
    ++actuaciones.creados;
    actuaciones.tabla = TablaResponsabilidad;
    actuaciones.clave = ClaveResponsabilidad;
    setProperty("HayCamposEditables", actuaciones.editables);
    EXPECT_EQ(EjecutarSQL(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('%1', '%2')"_qs.arg(
                              TablaResponsabilidad, ClaveResponsabilidad),
                          u"Database"_qs),
              QString());
  }

 protected:
  void showEvent(QShowEvent* event) override {
    Form::showEvent(event);
    ++actuaciones.mostrados;
    QTimer::singleShot(0, this, [this] { SetModalResult(mrOk); });
  }
};

// Orders keyed by date and number, sorted by name on a data form, on the
// embedded server and on a Paradox folder.
class Responsabilidad : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Responsabilidad() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    actuaciones = {};
    FormRegistry::Register(u"TfGENERESP"_qs, [](QWidget* owner) { return new FormularioResponsabilidad(owner); });
    ResponsabilidadDocumentalActivada = true;
    // A date and a time in the key, which the form is not sorted by.
    Ejecutar(u"CREATE TABLE PEDIDO (Fecha DATETIME NOT NULL, HoraEntrada DATETIME NOT NULL, Numero INTEGER NOT NULL, "
             "Nombre VARCHAR(40) NULL, CONSTRAINT PEDIDO_Clave1 PRIMARY KEY (Fecha, HoraEntrada, Numero))"_qs);
    Ejecutar(u"CREATE INDEX PEDIDO_Nombre ON PEDIDO (Nombre)"_qs);
    Ejecutar(u"INSERT INTO PEDIDO (Fecha, HoraEntrada, Numero, Nombre) VALUES ('05/03/2024', '12/30/1899 10:30:00', 7, "
             "'Ana')"_qs);
    Ejecutar(u"INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('PEDIDO', 'RegistradoPor')"_qs);
  }
  ~Responsabilidad() override {
    FormRegistry::Clear();
    ResponsabilidadDocumentalActivada = false;
    ModuloDatos = nullptr;
    RestablecerGanchosFormulario();
  }

  Table& AbrirPedidos() {
    auto* tabla = new Table(&formulario);
    tabla->setObjectName(u"Table1"_qs);
    tabla->SetTableName(u"PEDIDO"_qs);
    PrepararFormulario(formulario);
    AbrirTablasFormulario(formulario);
    tabla->SetIndexName(u"Nombre"_qs);
    return *tabla;
  }
  static void Grabar(Table& tabla, const QString& nombre) {
    tabla.Edit();
    tabla.FieldByName(u"Nombre"_qs).SetAsString(nombre);
    tabla.Post();
  }
  static QString Clave(Table& tabla) { return TextoCampoRegistro(tabla.FieldByName(u"Fecha"_qs)) + u"|10:30:00|7"_qs; }
  static QString Filas(const QString& sql) { return EjecutarSQL(sql, u"Database"_qs).trimmed(); }

 public:
  Form formulario;
  QString claveEscrita;
};

const char* const kMotores[] = {"Microsoft SQL Server", "Paradox"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, Responsabilidad, ::testing::ValuesIn(kMotores));

TEST_P(Responsabilidad, ARecordIsRegisteredOnceUnderItsPrimaryKeyAndLosesItsRowWithIt) {
  Table& tabla = AbrirPedidos();
  Grabar(tabla, u"Eva"_qs);
  EXPECT_EQ(actuaciones.creados, 1);
  EXPECT_EQ(actuaciones.mostrados, 0);
  EXPECT_EQ(actuaciones.tabla, u"PEDIDO"_qs);
  EXPECT_EQ(actuaciones.clave, Clave(tabla));
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM RESPDOC"_qs), u"1"_qs);

  // The row just written is the one the next save finds.
  Grabar(tabla, u"Eva María"_qs);
  EXPECT_EQ(actuaciones.creados, 1);

  // And the one the deletion removes, whatever index the form is sorted by.
  tabla.Delete();
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM RESPDOC"_qs) + Filas(u"SELECT COUNT(*) FROM PEDIDO"_qs), u"00"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(Responsabilidad, TheFormIsShownOnlyWhenItHasFieldsToFillIn) {
  Table& tabla = AbrirPedidos();
  actuaciones.editables = true;
  Grabar(tabla, u"Eva"_qs);
  EXPECT_EQ(actuaciones.creados * 10 + actuaciones.mostrados, 11);
}

TEST_P(Responsabilidad, ASaveOpensNoFormWhenTheRecordOrTableDoesNotAskForOne) {
  const struct {
    const char* caso;
    std::function<void(Responsabilidad&)> preparar;
    int creados;
  } casos[] = {
      {"a configured record with no row", [](Responsabilidad&) {}, 1},
      {"the feature off", [](Responsabilidad&) { ResponsabilidadDocumentalActivada = false; }, 0},
      {"a table not configured", [](Responsabilidad&) { Ejecutar(u"DELETE FROM CONFRESP"_qs); }, 0},
      {"the invoice form", [](Responsabilidad& t) { t.formulario.setObjectName(u"fFACTFAC3"_qs); }, 0},
      {"a row under the key",
       [](Responsabilidad& t) {
         Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PEDIDO', '%1')"_qs.arg(t.claveEscrita));
       },
       0},
  };
  Table& tabla = AbrirPedidos();
  // The key the form is handed, to write the rows the cases find.
  Grabar(tabla, u"Eva"_qs);
  claveEscrita = actuaciones.clave;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    Ejecutar(u"DELETE FROM RESPDOC"_qs);
    Ejecutar(u"INSERT INTO CONFRESP (NombreTabla) SELECT 'PEDIDO' FROM PEDIDO WHERE NOT EXISTS "
             "(SELECT * FROM CONFRESP)"_qs);
    ResponsabilidadDocumentalActivada = true;
    formulario.setObjectName(QString());
    actuaciones.creados = 0;
    caso.preparar(*this);
    Grabar(tabla, QString::fromLatin1(caso.caso).left(40));
    EXPECT_EQ(actuaciones.creados, caso.creados);
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(Responsabilidad, ARowWrittenWithATrailingBarIsFoundToo) {
  Table& tabla = AbrirPedidos();
  Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PEDIDO', '%1|')"_qs.arg(Clave(tabla)));
  Grabar(tabla, u"Eva"_qs);
  EXPECT_EQ(actuaciones.creados, 0);
}

TEST_P(Responsabilidad, TheResponsibilityTableNeverOpensItsOwnForm) {
  Ejecutar(u"INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('RESPDOC', 'RegistradoPor')"_qs);
  Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PEDIDO', 'x')"_qs);
  auto* tabla = new Table(&formulario);
  tabla->setObjectName(u"Table1"_qs);
  tabla->SetTableName(u"RESPDOC"_qs);
  PrepararFormulario(formulario);
  AbrirTablasFormulario(formulario);
  tabla->Edit();
  tabla->FieldByName(u"RegistradoPor"_qs).SetAsInteger(3);
  tabla->Post();
  EXPECT_EQ(actuaciones.creados, 0);
  EXPECT_EQ(Filas(u"SELECT RegistradoPor FROM RESPDOC"_qs), u"3"_qs);
}

TEST_P(Responsabilidad, TheUserFieldsAreOfferedAfterASaveWhenTheGeneralParametersAskForThem) {
  TModuloDatos modulo;
  ModuloDatos = &modulo;
  const Dataset* ofrecido = nullptr;
  int ofrecimientos = 0;
  Ganchos().VisorCamposUsuario = [&](Dataset& dataset) {
    ofrecido = &dataset;
    ++ofrecimientos;
  };
  Table& tabla = AbrirPedidos();
  const struct {
    const char* solicitar;
    const char* formulario;
    int ofrecimientos;
  } casos[] = {{"SI", "fPEDIDOS", 1}, {"NO", "fPEDIDOS", 0}, {"SI", "fFACTFAC3", 0}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.formulario);
    modulo.ParamGenerales->Close();
    Ejecutar(u"DELETE FROM PARAGENE"_qs);
    Ejecutar(u"INSERT INTO PARAGENE (SolicitarCamposUsuario) VALUES ('%1')"_qs.arg(QLatin1String(caso.solicitar)));
    modulo.ParamGenerales->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    modulo.ParamGenerales->SetTableName(u"PARAGENE"_qs);
    modulo.ParamGenerales->Open();
    formulario.setObjectName(QString::fromLatin1(caso.formulario));
    ofrecimientos = 0;
    Grabar(tabla, QString::fromLatin1(caso.solicitar));
    EXPECT_EQ(ofrecimientos, caso.ofrecimientos);
  }
  EXPECT_EQ(ofrecido, &tabla);
}
