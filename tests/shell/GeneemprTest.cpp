#include "shell/Geneempr.h"

#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/startup/Configuracion.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
constexpr char kEmpresa[] = "ZEM_EMPRESA";

// Another copy of the program in the installation, connected to a company
// until its input ends.
void usarEmpresa() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  ConectarEmpresa(servicios, qEnvironmentVariable(kEmpresa).toInt());
  SecondProcess::Report(u"conectada"_qs);
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"usar-empresa"_qs, usarEmpresa);

const QString kEliminar = u"¿ Está seguro de querer eliminar el registro ?"_qs;
const QString kBaseCompleta = u"Esta opción eliminará la Base de Datos completa de la Empresa. ¿ Está Vd. conforme ?"_qs;
const QString kRecordatorio = u"Recuerde incluir la nueva empresa en su sistema de copias de seguridad."_qs;

// The companies master on an installation of the engine given.
class Empresas : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Empresas() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
  }
  bool Paradox() const { return QLatin1String(GetParam()) == QLatin1String("Paradox"); }

  // Whether company n's database exists.
  bool ExisteBase(int n) {
    if (!Paradox()) return ExisteBaseDatosSQLServer(AliasBaseDatosEmpresa + QString::number(n));
    return QFileInfo::exists(Session::Default().AliasOrFolderFile(NombreBaseDatosEmpresa(Servicios(), n)));
  }
  static QString Empresa(int n) {
    return EjecutarSQL(u"SELECT Nombre FROM EMPRESA WHERE Codigo = "_qs + QString::number(n), u"DatabaseGeneral"_qs);
  }
  // Types a new company's line and saves it.
  static void Agregar(TfGENEEMPR& f, int n, const QString& nombre) {
    f.AgregarClick();
    f.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(n);
    ASSERT_TRUE(f.DBGrid1ColExit(0));
    f.Table1->FieldByName(u"Nombre"_qs).SetAsString(nombre);
    f.pbConformeClick();
  }
  // Company 7 added and current.
  void ConSiete(TfGENEEMPR& f) {
    mensajes.Expect(u"I"_qs);
    Agregar(f, 7, u"Siete"_qs);
    Ir(f, 7);
  }
  static void Ir(TfGENEEMPR& f, int n) {
    if (f.Table1->State() != dsBrowse) f.pbCancelarClick();
    ASSERT_TRUE(f.Table1->Locate(u"Codigo"_qs, Variant::Integer(n)));
  }
};

TEST_P(Empresas, AddingCreatesTheDatabaseRemindsOfBackupsAndOpensTheNextLine) {
  TfGENEEMPR f;
  EXPECT_EQ(f.Caption(), u"Maestro de Empresas"_qs);
  EXPECT_EQ(f.DBGrid1->ColumnTitle(0), u"Código"_qs);
  EXPECT_EQ(f.DBGrid1->ColumnWidth(1), 251);
  ASSERT_FALSE(ExisteBase(7));
  mensajes.Expect(u"I"_qs);
  Agregar(f, 7, u"O'Brien & Hijos"_qs);
  EXPECT_EQ(mensajes.Texts(), QStringList{kRecordatorio});
  EXPECT_TRUE(ExisteBase(7));
  EXPECT_EQ(Empresa(7), u"O'Brien & Hijos"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert) << "the next new line";
  EXPECT_TRUE(f.Table1->FieldByName(u"Codigo"_qs).IsNull());
  f.pbCancelarClick();
}

TEST_P(Empresas, ADatabaseThatCannotBeMadeRefusesTheLineAndIsNotRemoved) {
  if (Paradox()) {
    // A file where the company's folder would go.
    QFile estorbo(NombreBaseDatosEmpresa(Servicios(), 8));
    ASSERT_TRUE(estorbo.open(QIODevice::WriteOnly));
  } else {
    ASSERT_TRUE(CrearBaseDatosSQLServer(AliasBaseDatosEmpresa + u"8"_qs));
  }
  TfGENEEMPR f;
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  Agregar(f, 8, u"Ocho"_qs);
  EXPECT_TRUE(mensajes.Texts().first().startsWith(u"¡Imposible crear la base de datos "_qs)) << "a warning, not an error";
  EXPECT_EQ(mensajes.Texts().last(), u"¡ El registro no ha sido grabado !"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert) << "the line stays to be corrected";
  EXPECT_EQ(f.Table1->FieldByName(u"Nombre"_qs).AsString(), u"Ocho"_qs);
  EXPECT_EQ(Empresa(8), QString());
  if (!Paradox()) {
    EXPECT_TRUE(ExisteBase(8));
  }
  // Corrected, it is saved.
  f.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(9);
  mensajes.Expect(u"I"_qs);
  f.pbConformeClick();
  EXPECT_EQ(Empresa(9), u"Ocho"_qs);
  f.pbCancelarClick();
}

TEST_P(Empresas, DeletingAsksTwiceAndDropsOnlyOnTheSecondYes) {
  TfGENEEMPR f;
  mensajes.Expect(u"I"_qs).Expect(u"I"_qs);
  Agregar(f, 7, u"Siete"_qs);
  f.pbCancelarClick();
  Agregar(f, 6, u"Seis"_qs);
  f.pbCancelarClick();

  Ir(f, 6);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Empresa(6), QString());
  EXPECT_TRUE(ExisteBase(6)) << "NO keeps the database";

  Ir(f, 7);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Empresa(7), QString());
  EXPECT_FALSE(ExisteBase(7));
  const QStringList textos = mensajes.Texts();
  EXPECT_EQ(textos.mid(textos.size() - 2), QStringList({kEliminar, kBaseCompleta}));
  if (!Paradox()) {
    EXPECT_EQ(f.Query1->SQL().Text().trimmed(), u"USE master DROP DATABASE "_qs + AliasBaseDatosEmpresa + u"7"_qs);
  }
}

TEST_P(Empresas, ADatabaseAnotherCopyUsesIsNotDroppedAndTheCompanyStays) {
  TfGENEEMPR f;
  ConSiete(f);
  SecondProcess otra(u"usar-empresa"_qs, {{kCarpeta, carpeta.Path()}, {kEmpresa, u"7"_qs}});
  ASSERT_EQ(otra.ReadReport(), u"conectada"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs).Expect(u"A"_qs);
  f.Eliminar1Click();
  const QStringList textos = mensajes.Texts();
  EXPECT_TRUE(textos[textos.size() - 2].startsWith(u"¡La Base de Datos no ha sido eliminada!. Motivo: "_qs))
      << textos[textos.size() - 2].toStdString();
  EXPECT_EQ(textos.last(), u"¡ Este registro no puede eliminarse !"_qs);
  EXPECT_EQ(Empresa(7), u"Siete"_qs);
  EXPECT_TRUE(ExisteBase(7));
  EXPECT_EQ(otra.Finish(), 0);

  // Once the other copy has ended, it goes.
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Empresa(7), QString());
  EXPECT_FALSE(ExisteBase(7));
}

TEST_P(Empresas, ThisProgramsOwnCompanyIsNotDropped) {
  TfGENEEMPR f;
  ConSiete(f);
  ConectarEmpresa(Servicios(), 7);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs).Expect(u"A"_qs);
  f.Eliminar1Click();
  EXPECT_EQ(Empresa(7), u"Siete"_qs);
  EXPECT_TRUE(ExisteBase(7));
}

TEST_P(Empresas, NothingIsDroppedForACompanyAnotherEditorHolds) {
  TfGENEEMPR f;
  ConSiete(f);
  Table otra;
  otra.SetDatabaseName(f.Table1->DatabaseName());
  otra.SetTableName(u"EMPRESA"_qs);
  otra.Open();
  ASSERT_TRUE(otra.Locate(u"Codigo"_qs, Variant::Integer(7)));
  otra.Edit();
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);  // no question about the database
  f.Eliminar1Click();
  EXPECT_EQ(mensajes.Texts().last(), u"¡ Este registro no puede eliminarse !"_qs);
  EXPECT_TRUE(ExisteBase(7));
  otra.Cancel();
}

TEST_P(Empresas, KeysOutsideTheRangeOrTakenAreRefused) {
  TfGENEEMPR f;
  const struct {
    int codigo;
    const char* aviso;
  } casos[] = {{0, "¡ El valor debe estar entre 1 y 9999 !"}, {10000, "¡ El valor debe estar entre 1 y 9999 !"}, {1, "¡ Ya existe el registro !"}};
  for (const auto& caso : casos) {
    f.AgregarClick();
    f.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(caso.codigo);
    mensajes.Expect(u"A"_qs);
    EXPECT_FALSE(f.DBGrid1ColExit(0));
    EXPECT_EQ(mensajes.Texts().last(), QString::fromUtf8(caso.aviso));
    f.pbCancelarClick();
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Empresas, ::testing::Values("Microsoft SQL Server", "Paradox"));

}  // namespace
