#include "shell/Genecaus.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/forms/TablasFormulario.h"
#include "core/startup/Configuracion.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {

const QString kNombreNoValido =
    u"¡El nombre de campo no es válido! Debe ser una combinación de dígitos a..z,A..Z,0..9 comenzando por letra y "
    "una longitud máxima de 25 caracteres."_qs;
const QString kYaExisteCampo = u"¡Ya existe un campo con ese nombre para la tabla!"_qs;
const QString kRecordatorio =
    u"¡Atención!. Para hacer efectivos los cambios realizados debe actualizar la Base de Datos."_qs;
enum { kTabla, kOrden, kCampo, kTipo, kLongitud };

// The custom fields master on an installation of the engine given, whose
// first company has the tables CLIENTES and CONTACTO.
class CamposUsuario : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  CamposUsuario() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    {
      // Opening EMPRESA makes company 1 and its database.
      QObject formulario;
      (new Table(&formulario))->SetTableName(u"EMPRESA"_qs);
      AbrirTablasFormulario(formulario);
    }
    ConectarEmpresa(Servicios(), 1);
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"_qs);
    Ejecutar(u"CREATE TABLE CONTACTO (NombreTabla VARCHAR(30), CodigoTabla VARCHAR(136))"_qs);
  }
  static QString General(const QString& sql) { return EjecutarSQL(sql, u"DatabaseGeneral"_qs).trimmed(); }
  static QStringList Columnas(const QString& tabla) {
    Table t;
    t.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    t.SetTableName(tabla);
    t.Open();
    QStringList nombres;
    for (int n = 0; n < t.FieldCount(); ++n) nombres << t.Fields(n).FieldName();
    return nombres;
  }
  // A new line of CLIENTES with that name, its order left as proposed.
  static void Nueva(TfGENECAUS& f, const QString& nombre, const QString& tabla = u"CLIENTES"_qs) {
    f.AgregarClick();
    f.Table1->FieldByName(u"NombreTabla"_qs).SetAsString(tabla);
    f.Table1->FieldByName(u"NombreCampo"_qs).SetAsString(nombre);
  }
  static void Ir(TfGENECAUS& f, const QString& tabla, int orden) {
    if (f.Table1->State() != dsBrowse) f.pbCancelarClick();
    ASSERT_TRUE(f.Table1->Locate(u"NombreTabla;OrdenCampo"_qs,
                                 Variant::Array({Variant::String(tabla), Variant::Integer(orden)})));
  }
};

TEST_P(CamposUsuario, ANewLineProposesItsValuesAndTheCompanysTables) {
  TfGENECAUS f;
  EXPECT_EQ(f.Caption(), u"Maestro de Campos de Usuario Personalizados"_qs);
  const QStringList titulos{u"Tabla"_qs, u"Orden"_qs, u"Campo"_qs, u"Tipo"_qs, u"Longitud"_qs, u"Tabla Conexión"_qs};
  for (int n = 0; n < titulos.size(); ++n) EXPECT_EQ(f.DBGrid1->ColumnTitle(n), titulos[n]);
  EXPECT_EQ(f.DBGrid1->ColumnPickList(kTabla), (QStringList{u"CLIENTES"_qs, u"CONTACTO"_qs}));
  EXPECT_EQ(f.DBGrid1->ColumnPickList(5), (QStringList{QString(), u"CLIENTES"_qs, u"CONTACTO"_qs}));
  EXPECT_EQ(f.DBGrid1->ColumnPickList(kTipo),
            (QStringList{u"Entero"_qs, u"Numerico"_qs, u"Alfanumerico"_qs, u"Fecha"_qs, u"Texto"_qs}));
  EXPECT_FALSE(f.findChild<QAction*>(u"CopiarRegistrosaOtrasEmpresas1"_qs)->isVisible());
  EXPECT_FALSE(f.findChild<QAction*>(u"ListadoProgramable1"_qs)->isEnabled());

  f.AgregarClick();
  EXPECT_EQ(f.Table1->FieldByName(u"TipoCampo"_qs).AsString(), u"Alfanumerico"_qs);
  EXPECT_EQ(f.Table1->FieldByName(u"OrdenCampo"_qs).AsInteger(), 10);
  EXPECT_EQ(f.Table1->FieldByName(u"LongitudCampo"_qs).AsInteger(), 10);
  f.Table1->FieldByName(u"TipoCampo"_qs).SetAsString(u"Fecha"_qs);
  EXPECT_TRUE(f.DBGrid1ColExit(kTipo));
  EXPECT_EQ(f.Table1->FieldByName(u"LongitudCampo"_qs).AsInteger(), 0);
  f.pbCancelarClick();
}

TEST_P(CamposUsuario, LeavingTheTableOfANewLineNumbersItAfterThatTablesFields) {
  Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('CLIENTES', 30, 'Zona', 'Alfanumerico', 5, '')"_qs, u"DatabaseGeneral"_qs);
  TfGENECAUS f;
  for (const auto& [tabla, orden] : {std::pair{u"CLIENTES"_qs, 40}, std::pair{u"CONTACTO"_qs, 10}}) {
    f.AgregarClick();
    f.Table1->FieldByName(u"NombreTabla"_qs).SetAsString(tabla);
    EXPECT_TRUE(f.DBGrid1ColExit(kTabla));
    EXPECT_EQ(f.Table1->FieldByName(u"OrdenCampo"_qs).AsInteger(), orden) << tabla.toStdString();
    f.pbCancelarClick();
  }
  // A table the company has not is refused with the column's own warning.
  f.AgregarClick();
  f.Table1->FieldByName(u"NombreTabla"_qs).SetAsString(u"FACTURAS"_qs);
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(f.DBGrid1ColExit(kTabla));
  EXPECT_EQ(mensajes.Texts().last(), u"¡ El valor \"FACTURAS\" de la columna \"Tabla\" no es correcto !"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert);
  f.pbCancelarClick();
}

TEST_P(CamposUsuario, OnlyNamesTheEnginesCanCreateAreAccepted) {
  struct Caso {
    const char* tabla;
    const char* nombre;
    const char* aviso;  // nullptr: accepted
  };
  const Caso casos[] = {
      {"CLIENTES", "Campo_1", nullptr},
      {"CLIENTES", "_X", nullptr},
      {"CLIENTES", "", "¡No se puede definir un campo sin nombre!"},
      {"CLIENTES", "1Campo", "invalid"},
      {"CLIENTES", "Año", "invalid"},
      {"CLIENTES", "Nombre'X", "invalid"},
      {"CLIENTES", "ABCDEFGHIJKLMNOPQRSTUVWXY", nullptr},
      // One more than the column holds is refused, not cut to fit.
      {"CLIENTES", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "invalid"},
      {"CLIENTES", "Order", "invalid"},
      {"CLIENTES", "select", "invalid"},
      {"CLIENTES", "Key", "invalid"},
      {"CONTACTO", "codigotabla", "¡Ya existe un campo con ese nombre para la tabla!"},
  };
  TfGENECAUS f;
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    Nueva(f, QString::fromUtf8(caso.nombre), QString::fromLatin1(caso.tabla));
    if (caso.aviso) mensajes.Expect(u"A"_qs);
    EXPECT_EQ(f.DBGrid1ColExit(kCampo), caso.aviso == nullptr);
    if (caso.aviso) {
      const QString aviso = QString::fromUtf8(caso.aviso);
      EXPECT_EQ(mensajes.Texts().last(), aviso == u"invalid"_qs ? kNombreNoValido : aviso);
    }
    f.pbCancelarClick();
  }
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM CAMPOUSR"_qs), u"0"_qs);
}

TEST_P(CamposUsuario, ATextOrAlphanumericFieldNeedsALength) {
  TfGENECAUS f;
  for (const char* tipo : {"Texto", "Alfanumerico"}) {
    Nueva(f, u"Notas"_qs);
    f.Table1->FieldByName(u"TipoCampo"_qs).SetAsString(QString::fromLatin1(tipo));
    f.Table1->FieldByName(u"LongitudCampo"_qs).SetAsInteger(0);
    mensajes.Expect(u"A"_qs);
    EXPECT_FALSE(f.DBGrid1ColExit(kLongitud));
    EXPECT_EQ(mensajes.Texts().last(), u"¡Debe introducir un valor distinto de 0!"_qs);
    f.pbCancelarClick();
  }
}

TEST_P(CamposUsuario, ASecondFieldOfTheSameNameIsRefusedButItsOwnRowSavesAgain) {
  const QStringList antes = Columnas(u"CLIENTES"_qs);
  TfGENECAUS f;
  Nueva(f, u"Zona"_qs);
  ASSERT_TRUE(f.DBGrid1ColExit(kTabla));
  f.pbConformeClick();
  ASSERT_EQ(General(u"SELECT NombreCampo FROM CAMPOUSR WHERE NombreTabla = 'CLIENTES' AND OrdenCampo = 10"_qs),
            u"Zona"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert) << "the next new line";
  f.pbCancelarClick();

  // Another order, the same name in another case: one column for both engines.
  Nueva(f, u"ZONA"_qs);
  ASSERT_TRUE(f.DBGrid1ColExit(kTabla));
  EXPECT_EQ(f.Table1->FieldByName(u"OrdenCampo"_qs).AsInteger(), 20);
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  f.pbConformeClick();
  EXPECT_EQ(mensajes.Texts().first(), kYaExisteCampo);
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM CAMPOUSR"_qs), u"1"_qs);
  f.pbCancelarClick();

  Ir(f, u"CLIENTES"_qs, 10);
  f.DBGrid1->SetSelectedIndex(kLongitud);
  f.Table1->Edit();
  f.Table1->FieldByName(u"LongitudCampo"_qs).SetAsInteger(25);
  f.pbConformeClick();
  EXPECT_EQ(General(u"SELECT LongitudCampo FROM CAMPOUSR WHERE NombreTabla = 'CLIENTES'"_qs), u"25"_qs);
  EXPECT_EQ(Columnas(u"CLIENTES"_qs), antes) << "the company's table waits for the database update";
}

TEST_P(CamposUsuario, TheKeyOfASavedRowCannotBeEdited) {
  Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('CLIENTES', 10, 'Zona', 'Alfanumerico', 5, '')"_qs, u"DatabaseGeneral"_qs);
  TfGENECAUS f;
  Ir(f, u"CLIENTES"_qs, 10);
  for (const int columna : {kTabla, kOrden}) {
    f.DBGrid1->SetSelectedIndex(columna);
    mensajes.Expect(u"A"_qs);
    EXPECT_ANY_THROW(f.Table1->Edit());
    EXPECT_EQ(mensajes.Texts().last(), u"¡ No se puede modificar la clave del registro !"_qs);
    EXPECT_EQ(f.Table1->State(), dsBrowse);
  }
}

TEST_P(CamposUsuario, TheSuitesKeysReachTheMaster) {
  Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('CLIENTES', 30, 'Zona', 'Alfanumerico', 5, 'CONTACTO')"_qs,
           u"DatabaseGeneral"_qs);
  TfGENECAUS f;
  f.show();
  QApplication::setActiveWindow(&f);
  Ir(f, u"CLIENTES"_qs, 30);
  f.DBGrid1->setFocus();
  // Ctrl+F5: the next line is a copy of the current one.
  QTest::keyClick(f.DBGrid1, Qt::Key_F5, Qt::ControlModifier);
  EXPECT_EQ(f.findChild<QAction*>(u"Agregar"_qs)->text(), u"&Agregar con Duplicación"_qs);
  f.AgregarClick();
  EXPECT_EQ(f.Table1->FieldByName(u"NombreCampo"_qs).AsString(), u"Zona"_qs);
  EXPECT_EQ(f.Table1->FieldByName(u"NombreTablaConexion"_qs).AsString(), u"CONTACTO"_qs);
  EXPECT_EQ(f.Table1->FieldByName(u"LongitudCampo"_qs).AsInteger(), 10);
  f.pbCancelarClick();
}

TEST_P(CamposUsuario, ClosingRemindsOfTheDatabaseUpdateOnlyAfterChanges) {
  Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('CLIENTES', 10, 'Zona', 'Alfanumerico', 5, '')"_qs, u"DatabaseGeneral"_qs);
  {
    TfGENECAUS f;
    f.close();
    EXPECT_TRUE(mensajes.Texts().isEmpty());
  }
  TfGENECAUS f;
  Ir(f, u"CLIENTES"_qs, 10);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  ASSERT_EQ(General(u"SELECT COUNT(*) FROM CAMPOUSR"_qs), u"0"_qs);
  mensajes.Expect(u"A"_qs);
  f.close();
  EXPECT_EQ(mensajes.Texts().last(), kRecordatorio);
}

INSTANTIATE_TEST_SUITE_P(Motores, CamposUsuario, ::testing::Values("Microsoft SQL Server", "Paradox"));

}  // namespace
