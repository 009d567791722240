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

constexpr char kAccion[] = "ZEM_ACCION";

// The second administrator's messages, told to the first instance; he
// answers every question with "SI".
class AdministradorRemoto : public MessagePresenter {
 public:
  QString Present(const QString& kind, const QString& text, const QString&) override {
    SecondProcess::Report(kind + u' ' + text);
    return kind == QLatin1String("C") ? u"SI"_qs : QString();
  }

 private:
  MessagePresenterSeam::Scoped installed_{*this};
};

// Tells the step and waits for the first instance, which may kill it there.
void Paso(const QString& paso) {
  SecondProcess::Report(paso);
  SecondProcess::NextLine();
}

// Another administrator's companies master adding, editing or deleting
// company 7, stopping before and after the table's write.
void administrarEmpresa() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const AdministradorRemoto pantalla;
  TfGENEINIC servicios({});
  TfGENEEMPR f;
  Table& tabla = *f.Table1;
  for (auto* evento : {&tabla.BeforePost, &tabla.BeforeDelete}) {
    *evento = [propio = *evento](Dataset& d) {
      propio(d);
      Paso(u"antes"_qs);
    };
  }
  for (auto* evento : {&tabla.AfterPost, &tabla.AfterDelete}) {
    *evento = [propio = *evento](Dataset& d) {
      Paso(u"despues"_qs);
      if (propio) propio(d);
    };
  }
  const QString accion = qEnvironmentVariable(kAccion);
  if (accion == QLatin1String("agregar")) {
    f.AgregarClick();
    tabla.FieldByName(u"Codigo"_qs).SetAsInteger(7);
    if (!f.DBGrid1ColExit(0)) return;
    tabla.FieldByName(u"Nombre"_qs).SetAsString(u"Otra's"_qs);
    Paso(u"tecleada"_qs);
    f.pbConformeClick();
  } else {
    tabla.Locate(u"Codigo"_qs, Variant::Integer(7));
    if (accion == QLatin1String("eliminar")) {
      f.Eliminar1Click();
    } else {
      f.DBGrid1->SetSelectedIndex(1);  // the key column is not edited
      tabla.Edit();
      tabla.FieldByName(u"Nombre"_qs).SetAsString(u"Cambiada"_qs);
      f.pbConformeClick();
    }
  }
  if (tabla.State() != dsBrowse) f.pbCancelarClick();
  SecondProcess::Report(u"fin"_qs);
}

[[maybe_unused]] const bool registradoAdministrar = SecondProcess::RegisterJob(u"administrar-empresa"_qs, administrarEmpresa);

// The next of the second process's reports that is not a message.
QString SiguientePaso(SecondProcess& otra) {
  for (;;) {
    const QString linea = otra.ReadReport();
    if (linea.size() < 2 || linea[1] != u' ') return linea;
  }
}

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

// Both have typed company 7 before either saves it: one line, one database,
// one add refused.
TEST_P(Empresas, TwoAdministratorsAddingOneCompanyMakeOneLineAndOneDatabase) {
  TfGENEEMPR f;
  f.AgregarClick();
  f.Table1->FieldByName(u"Codigo"_qs).SetAsInteger(7);
  ASSERT_TRUE(f.DBGrid1ColExit(0));
  f.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Mía"_qs);
  SecondProcess otra(u"administrar-empresa"_qs, {{kCarpeta, carpeta.Path()}, {kAccion, u"agregar"_qs}});
  for (const char* paso : {"tecleada", "antes", "despues"}) {
    ASSERT_EQ(SiguientePaso(otra), QString::fromLatin1(paso));
    otra.Send(QString());
  }
  ASSERT_EQ(SiguientePaso(otra), u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  if (!Paradox()) mensajes.Expect(u"A"_qs);  // the database exists
  mensajes.Expect(u"A"_qs);
  f.pbConformeClick();
  EXPECT_EQ(mensajes.Texts().last(), u"¡ El registro no ha sido grabado !"_qs);
  EXPECT_EQ(f.Table1->State(), dsInsert);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Nombre FROM EMPRESA WHERE Codigo > 1"_qs, u"DatabaseGeneral"_qs), u"7|Otra's"_qs);
  EXPECT_TRUE(ExisteBase(7));
  f.pbCancelarClick();
}

INSTANTIATE_TEST_SUITE_P(Motores, Empresas, ::testing::Values("Microsoft SQL Server", "Paradox"));

}  // namespace

namespace {

using EmpresasInterrumpidas = Empresas;

// Another administrator killed before or after the table's write of an add,
// an edit or a delete leaves the line as before or as after, and nothing held.
TEST_P(EmpresasInterrumpidas, AnAdministratorKilledMidWriteLeavesTheLineAsBeforeOrAfter) {
  const struct {
    const char* accion;
    const char* paso;
    const char* linea;  // company 7's name afterwards, empty when it has none
    bool base;
  } casos[] = {
      {"agregar", "antes", "", true},           {"agregar", "despues", "Otra's", true},
      {"editar", "antes", "Siete", true},       {"editar", "despues", "Cambiada", true},
      {"eliminar", "antes", "Siete", false},    {"eliminar", "despues", "", false},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(std::string(caso.accion) + " " + caso.paso);
    const bool agregar = QLatin1String(caso.accion) == QLatin1String("agregar");
    {
      TfGENEEMPR f;
      if (!agregar) ConSiete(f);
    }
    SecondProcess otra(u"administrar-empresa"_qs,
                       {{kCarpeta, carpeta.Path()}, {kAccion, QString::fromLatin1(caso.accion)}});
    if (agregar) {
      ASSERT_EQ(SiguientePaso(otra), u"tecleada"_qs);
      otra.Send(QString());
    }
    for (QString paso = SiguientePaso(otra); paso != QLatin1String(caso.paso); paso = SiguientePaso(otra)) {
      ASSERT_NE(paso, u"fin"_qs);
      otra.Send(QString());
    }
    otra.Kill();
    EXPECT_TRUE(otra.Crashed());
    EXPECT_EQ(Empresa(7), QString::fromUtf8(caso.linea));
    EXPECT_EQ(ExisteBase(7), caso.base);

    // Nothing stays held: the line is edited, then deleted with its database.
    TfGENEEMPR f;
    if (Empresa(7).isEmpty()) {
      if (!caso.base) {
        ConSiete(f);
      } else {
        // A database left without its line is not taken for a new company.
        mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
        Agregar(f, 7, u"Siete"_qs);
        f.pbCancelarClick();
        EXPECT_EQ(Empresa(7), QString());
        ASSERT_EQ(EjecutarSQL(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (7, 'Siete')"_qs, u"DatabaseGeneral"_qs),
                  QString());
        f.pbRefrescarClick();
      }
    }
    Ir(f, 7);
    f.DBGrid1->SetSelectedIndex(1);
    f.Table1->Edit();
    f.Table1->FieldByName(u"Nombre"_qs).SetAsString(u"Otra vez"_qs);
    f.pbConformeClick();
    EXPECT_EQ(Empresa(7), u"Otra vez"_qs);
    mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
    f.Eliminar1Click();
    EXPECT_EQ(Empresa(7), QString()) << "also when its database had gone";
    EXPECT_FALSE(ExisteBase(7));
  }
}

INSTANTIATE_TEST_SUITE_P(ServidorIntegrado, EmpresasInterrumpidas, ::testing::Values("Microsoft SQL Server"));

}  // namespace
