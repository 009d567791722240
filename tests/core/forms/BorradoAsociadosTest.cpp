#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "platform/Form.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// A data form over a company table, on the embedded server and on a Paradox
// folder, with the side tables left to be created from the shipped
// definitions when they are first reached.
class BorradoAsociados : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  BorradoAsociados() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
  }

  static QString Filas(const QString& tabla) {
    return EjecutarSQL(u"SELECT COUNT(*) FROM "_qs + tabla, u"Database"_qs).trimmed();
  }
};

const char* const kMotores[] = {"Microsoft SQL Server", "Paradox"};
const char* const kTablasLaterales[] = {"RESPDOC", "DOCUTRON", "BLOBTAB", "GRANTAB", "CONTACTO", "RELACION"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, BorradoAsociados, ::testing::ValuesIn(kMotores));

TEST_P(BorradoAsociados, ADataFormDeletesACompanyRecordAndWhatHangsOffItWithoutAWord) {
  Ejecutar(u"CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, "
           "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'Ana')"_qs);
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'Luis')"_qs);
  Form formulario;
  auto* tabla = new Table(&formulario);
  tabla->setObjectName(u"Table1"_qs);
  tabla->SetTableName(u"CLIENTES"_qs);
  PrepararFormulario(formulario);
  AbrirTablasFormulario(formulario);
  ASSERT_TRUE(tabla->Active());
  ASSERT_EQ(tabla->FieldByName(u"Codigo"_qs).AsInteger(), 1);

  tabla->Delete();
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(Filas(u"CLIENTES"_qs), u"1"_qs);
  // Each side table now exists with the columns its deletion names.
  for (const char* lateral : kTablasLaterales) EXPECT_EQ(Filas(QString::fromLatin1(lateral)), u"0"_qs) << lateral;

  // A second record's attachments go with it, and another record's stay.
  Ejecutar(u"INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('CLIENTES', '2', 'Contrato')"_qs);
  Ejecutar(u"INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('CLIENTES', '3', 'Otro')"_qs);
  Ejecutar(u"INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTES', '2', 'A')"_qs);
  Ejecutar(u"INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('CLIENTES', '2', 'B')"_qs);
  Ejecutar(u"INSERT INTO RELACION (NombreTablaA, ClaveTablaA, NombreTablaB, ClaveTablaB) "
           "VALUES ('PEDIDOS', '9', 'CLIENTES', '2')"_qs);
  tabla->Refresh();
  tabla->First();
  tabla->Delete();
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(Filas(u"CLIENTES"_qs) + Filas(u"DOCUTRON"_qs) + Filas(u"GRANTAB"_qs) + Filas(u"RELACION"_qs),
            u"0100"_qs);
}

TEST_P(BorradoAsociados, TheCompanyParametersAndCurrenciesAreDefined) {
  Ejecutar(u"INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Cambio, Decimales) "
           "VALUES (2, 'Euro', 'EUR', 166.386, 2)"_qs);
  Ejecutar(u"INSERT INTO PARAGENE (CodigoMonedaBase, CodigoMonedaEuro, CodigoMonedaNacional, PlantillaNumericaStd, "
           "Iva1, Recargo5, SolicitarDialogoImpresora, CfgCorreoElectronico) "
           "VALUES (1, 2, 1, 'Ninguna', 21, 5.2, 'NO', 'ClienteSMTP=Indy')"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT Abreviatura, Decimales FROM MONEDA WHERE Codigo = 2"_qs, u"Database"_qs),
            u"EUR|2"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT PlantillaNumericaStd, SolicitarDialogoImpresora FROM PARAGENE"_qs, u"Database"_qs),
            u"Ninguna|NO"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}
