#include "maintenance/Genecopi.h"

#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/dialogs/FormularioEnPantalla.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kCarpeta = u"ZEM_PROGRAM_FOLDER"_qs;

// Another copy of the program on company 3, editing its filter "Madrid"
// until its input ends.
void editarFiltro() {
  QDir::setCurrent(qEnvironmentVariable("ZEM_PROGRAM_FOLDER"));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  ConectarEmpresa(servicios, 3);
  Table filtro;
  filtro.SetDatabaseName(Conexiones(servicios).Database->DatabaseName());
  filtro.SetTableName(u"FILTRO"_qs);
  filtro.Open();
  filtro.Locate(u"Descripcion"_qs, Variant::String(u"Madrid"_qs));
  filtro.Edit();
  SecondProcess::Report(u"editando"_qs);
  SecondProcess::NextLine();
}

// Another copy of the program copying company 1's filters into every other
// company; it stops, reporting "copiando", once it has moved kParada times
// through them (the source walked again for each company), and waits to be
// killed.
constexpr int kCopiados = 300;
constexpr int kParada = 450;

void copiarHastaParar() {
  QDir::setCurrent(qEnvironmentVariable("ZEM_PROGRAM_FOLDER"));
  ScriptedPresenter mensajes;
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  TfGENEINIC servicios({});
  ConectarEmpresa(servicios, 1);
  EmpresaActual = 1;
  Table filtros;
  filtros.SetDatabaseName(Conexiones(servicios).Database->DatabaseName());
  filtros.SetTableName(u"FILTRO"_qs);
  filtros.Open();
  int leidos = 0;
  filtros.AfterScroll = [&leidos](Dataset&) {
    if (++leidos != kParada) return;
    SecondProcess::Report(u"copiando"_qs);
    SecondProcess::NextLine();
  };
  TfGENECOPI copia;
  AlMostrarse<TfGENECOPI>(fGENECOPI, [](TfGENECOPI& f) {
    f.findChild<QListWidget*>(u"ListaEmpresas"_qs)->item(0)->setSelected(true);
    f.findChild<QPushButton*>(u"pbConforme"_qs)->click();
  });
  copia.CopiarRegistros(filtros, {nullptr});
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"editar-filtro"_qs, editarFiltro) &&
                                         SecondProcess::RegisterJob(u"copiar-hasta-parar"_qs, copiarHastaParar);

// Companies 1 "Uno" (the current one), 2 "Dos", 3 "Tres" and 4 "Dos"; the
// filters of company 1 are copied, company 2 holds two of its own.
class Copia : public ConexionesFixture {
 protected:
  Copia() {
    Iniciar();
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP%1"_qs.arg(n)));
    // Each company's tables, made as the program makes them.
    for (const int n : {1, 2, 3, 4})
      for (const QString& nombre : {u"FILTRO"_qs, u"CONFRESP"_qs}) {
        Table tabla;
        PrepararDataSetEmpresa(Servicios(), tabla, n);
        tabla.SetTableName(nombre);
        EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla));
      }
    ConectarEmpresa(Servicios(), 1);
    EmpresaActual = 1;
    Table empresa;
    empresa.SetDatabaseName(Conexiones(Servicios()).DatabaseGeneral->DatabaseName());
    empresa.SetTableName(u"EMPRESA"_qs);
    EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), empresa));
    Ejecutar(u"DELETE FROM EMPRESA"_qs, u"DatabaseGeneral"_qs);
    Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (1, 'Uno'), (2, 'Dos'), (3, 'Tres'), (4, 'Dos')"_qs,
             u"DatabaseGeneral"_qs);
    for (const char* fila : {"'CLIENTES', 'Madrid', 'Ciudad = Madrid'", "'CLIENTES', 'Lugo', 'Ciudad = Lugo'",
                             "'ARTICULOS', 'Caros', 'Precio > 100'"})
      Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES (%1)"_qs.arg(QLatin1String(fila)));
    for (const int n : {2, 3, 4})
      Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES ('CLIENTES', 'Madrid', 'suyo')"_qs,
               Empresa(n));
    Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES ('CLIENTES', 'Viejo', 'suyo')"_qs,
             Empresa(2));
    filtros.SetDatabaseName(Conexiones(Servicios()).Database->DatabaseName());
    filtros.SetTableName(u"FILTRO"_qs);
    filtros.Open();
  }

  static QString Empresa(int n) { return u"?ZEMEMP%1"_qs.arg(n); }
  static QString Filtros(int n) {
    return EjecutarSQL(u"SELECT NombreTabla, Descripcion, Filtro FROM FILTRO ORDER BY NombreTabla, Descripcion"_qs,
                       Empresa(n));
  }
  // Answers both questions, chooses the rows and the method, and expects
  // that many warnings.
  void Copiar(const QList<int>& filas, const char* metodo, int avisos = 0) {
    mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
    for (int i = 0; i < avisos; ++i) mensajes.Expect(u"A"_qs);
    AlMostrarse<TfGENECOPI>(fGENECOPI, [&](TfGENECOPI& f) {
      lista = f.findChild<QListWidget*>(u"ListaEmpresas"_qs);
      for (int i = 0; i < lista->count(); ++i) listadas.append(lista->item(i)->text());
      for (const int fila : filas) lista->item(fila)->setSelected(true);
      f.findChild<QRadioButton*>(QLatin1String(metodo))->setChecked(true);
      titulo = f.Caption() + u'|' + f.findChild<QLineEdit*>(u"EditEmpresaOrigen"_qs)->text();
      CapturaFormulario(f, u"GENECOPI"_qs);
      f.findChild<QPushButton*>(u"pbConforme"_qs)->click();
    });
    copia.CopiarRegistros(filtros, {nullptr});
  }

  Table filtros;
  TfGENECOPI copia;
  QListWidget* lista = nullptr;
  QStringList listadas;
  QString titulo;
};

const QString kSuyos3 = u"CLIENTES|Madrid|suyo"_qs;

}  // namespace

// Each method on company 2's own rows; the row chosen is company 2's, not
// company 4's of the same name, and the current company is never listed.
TEST_F(Copia, EachMethodCopiesTheRecordsInViewIntoTheCompaniesOfTheRowsChosen) {
  const struct {
    const char* metodo;
    const char* filtro;
    QString esperado;
  } casos[] = {
      {"AgregarYSustituir", "",
       u"ARTICULOS|Caros|Precio > 100\r\nCLIENTES|Lugo|Ciudad = Lugo\r\nCLIENTES|Madrid|Ciudad = Madrid\r\n"
       "CLIENTES|Viejo|suyo"_qs},
      {"Agregar", "", u"ARTICULOS|Caros|Precio > 100\r\nCLIENTES|Lugo|Ciudad = Lugo\r\nCLIENTES|Madrid|suyo\r\n"
                      "CLIENTES|Viejo|suyo"_qs},
      {"Sustituir", "", u"CLIENTES|Madrid|Ciudad = Madrid\r\nCLIENTES|Viejo|suyo"_qs},
      {"AgregarYSustituir", "NombreTabla = 'ARTICULOS'",
       u"ARTICULOS|Caros|Precio > 100\r\nCLIENTES|Madrid|suyo\r\nCLIENTES|Viejo|suyo"_qs},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.metodo + (u" "_qs + QLatin1String(caso.filtro)).toStdString());
    Ejecutar(u"DELETE FROM FILTRO WHERE Descripcion <> 'Viejo'"_qs, Empresa(2));
    Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES ('CLIENTES', 'Madrid', 'suyo')"_qs,
             Empresa(2));
    filtros.SetFilter(QLatin1String(caso.filtro));
    filtros.SetFiltered(true);
    listadas.clear();
    Copiar({1}, caso.metodo);
    EXPECT_EQ(Filtros(2), caso.esperado);
    EXPECT_EQ(Filtros(3), kSuyos3);
    EXPECT_EQ(Filtros(4), kSuyos3);
    EXPECT_EQ(listadas, (QStringList{u"Todas"_qs, u"Dos"_qs, u"Tres"_qs, u"Dos"_qs}));
  }
  EXPECT_EQ(titulo, u"Copiar datos desde la empresa Uno|Uno"_qs);
  EXPECT_EQ(Filtros(1).count(u"\r\n"_qs), 2) << "the current company is never a destination";
}

TEST_F(Copia, RefusingOrChoosingNothingCopiesNothing) {
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  copia.CopiarRegistros(filtros, {nullptr});
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs);
  copia.CopiarRegistros(filtros, {nullptr});
  Copiar({}, "AgregarYSustituir");
  EXPECT_EQ(mensajes.Messages().size(), 5) << "no message but the questions";
  for (const int n : {2, 3, 4}) EXPECT_FALSE(Filtros(n).contains(u"Lugo"_qs)) << n;
}

// A record another program is editing fails company 3, which stays as it
// was; companies 2 and 4 are copied.
TEST_F(Copia, ACompanyThatFailsIsWarnedOfAndLeftAsItWas) {
  SecondProcess otro(u"editar-filtro"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otro.ReadReport(), u"editando"_qs);
  Copiar({0}, "AgregarYSustituir", 1);
  EXPECT_EQ(mensajes.Messages().last().text,
            u"No se han podido copiar los registros a la empresa 3. Motivo: Record locked by another user"_qs);
  EXPECT_EQ(Filtros(3), kSuyos3);
  for (const int n : {2, 4}) EXPECT_TRUE(Filtros(n).contains(u"CLIENTES|Madrid|Ciudad = Madrid"_qs)) << n;
}

// Each main record's details follow it; the main table ends on its last record.
TEST_F(Copia, TheDetailRecordsOfEachMainRecordAreCopiedWithIt) {
  for (const char* tabla : {"CLIENTES", "ARTICULOS"})
    Ejecutar(u"INSERT INTO CONFRESP (NombreTabla) VALUES ('%1')"_qs.arg(QLatin1String(tabla)));
  Table principal;
  principal.SetDatabaseName(Conexiones(Servicios()).Database->DatabaseName());
  principal.SetTableName(u"CONFRESP"_qs);
  principal.Open();
  DataSource enlace;
  enlace.SetDataSet(&principal);
  filtros.SetMasterSource(&enlace);
  filtros.SetMasterFields(u"NombreTabla"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  AlMostrarse<TfGENECOPI>(fGENECOPI, [](TfGENECOPI& f) {
    f.findChild<QListWidget*>(u"ListaEmpresas"_qs)->item(2)->setSelected(true);
    f.findChild<QPushButton*>(u"pbConforme"_qs)->click();
  });
  CopiarRegistrosAOtrasEmpresasConDetalle(principal, filtros);
  EXPECT_EQ(EjecutarSQL(u"SELECT NombreTabla FROM CONFRESP ORDER BY NombreTabla"_qs, Empresa(3)),
            u"ARTICULOS\r\nCLIENTES"_qs);
  EXPECT_EQ(Filtros(3), u"ARTICULOS|Caros|Precio > 100\r\nCLIENTES|Lugo|Ciudad = Lugo\r\n"
                        "CLIENTES|Madrid|Ciudad = Madrid"_qs);
  EXPECT_TRUE(principal.Eof());
  EXPECT_EQ(principal.FieldByName(u"NombreTabla"_qs).AsString(), u"CLIENTES"_qs);
}

// The languages and their texts are the general database's, the same for
// every company: the copy says there is nothing to copy, asks nothing and
// writes nothing.
TEST_F(Copia, GeneralTablesAreNotCopiedOntoThemselvesAndTheUserIsToldSo) {
  const QString general = Conexiones(Servicios()).DatabaseGeneral->DatabaseName();
  Table idiomas, textos;
  for (auto [tabla, nombre] : {std::pair{&idiomas, u"IDIOMA"_qs}, {&textos, u"TXIDIOMA"_qs}}) {
    tabla->SetDatabaseName(general);
    tabla->SetTableName(nombre);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), *tabla));
  }
  Ejecutar(u"INSERT INTO IDIOMA (Idioma, FormatoFecha) VALUES ('Inglés', 'mm/dd/yyyy')"_qs, u"DatabaseGeneral"_qs);
  Ejecutar(u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Inglés', 'Salir', 'Exit')"_qs,
           u"DatabaseGeneral"_qs);
  idiomas.Refresh();
  DataSource enlace;
  enlace.SetDataSet(&idiomas);
  textos.SetMasterSource(&enlace);
  textos.SetMasterFields(u"Idioma"_qs);
  const QString antes = EjecutarSQL(u"SELECT * FROM TXIDIOMA"_qs, u"DatabaseGeneral"_qs);
  mensajes.Expect(u"A"_qs);
  CopiarRegistrosAOtrasEmpresasConDetalle(idiomas, textos);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Los registros de esta tabla son comunes a todas las empresas. No hay "
                                          "registros que copiar a otras empresas."_qs});
  EXPECT_EQ(EjecutarSQL(u"SELECT * FROM TXIDIOMA"_qs, u"DatabaseGeneral"_qs), antes);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM IDIOMA"_qs, u"DatabaseGeneral"_qs), u"1"_qs);

}

// A copy killed halfway leaves each company as it was before or after.
TEST_F(Copia, ACopyKilledLeavesEachCompanyBeforeOrAfter) {
  Session::Default().OpenDatabase(Conexiones(Servicios()).Database->DatabaseName())->Execute(
      u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
      "INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) SELECT 'COPIA', 'F' || x, 'x' FROM n"_qs.arg(kCopiados));
  SecondProcess copia(u"copiar-hasta-parar"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(copia.ReadReport(), u"copiando"_qs);
  copia.Kill();
  QStringList cuentas;
  for (const int n : {2, 3, 4})
    cuentas.append(EjecutarSQL(u"SELECT COUNT(*) FROM FILTRO WHERE NombreTabla = 'COPIA'"_qs, Empresa(n)));
  for (const QString& cuenta : cuentas) EXPECT_TRUE(cuenta == u"0" || cuenta == QString::number(kCopiados)) << cuenta.toStdString();
  EXPECT_EQ(cuentas.first(), QString::number(kCopiados)) << "the first company was copied before";
  EXPECT_EQ(cuentas.last(), u"0"_qs) << "killed before the end";
}

namespace {

class CopiaParadox : public ConexionesFixture {};

}  // namespace

// On Paradox folders a company that lacks the table gets it in its own
// folder, and the records with it; the current company keeps what it had.
TEST_F(CopiaParadox, ACompanyWithoutTheTableGetsItInItsOwnFolder) {
  instalacion.Engine(u"Paradox"_qs);
  Iniciar();
  for (const int n : {1, 2}) ASSERT_TRUE(CrearBaseDatosEmpresa(n));
  ConectarEmpresa(Servicios(), 1);
  EmpresaActual = 1;
  Table filtros;
  filtros.SetTableName(u"FILTRO"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), filtros));
  filtros.Close();
  Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES ('CLIENTES', 'Lugo', 'x')"_qs);
  Ejecutar(u"DELETE FROM EMPRESA"_qs, u"DatabaseGeneral"_qs);
  Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (1, 'Uno'), (2, 'Dos')"_qs, u"DatabaseGeneral"_qs);
  filtros.Open();
  TfGENECOPI copia;
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  AlMostrarse<TfGENECOPI>(fGENECOPI, [](TfGENECOPI& f) {
    f.findChild<QListWidget*>(u"ListaEmpresas"_qs)->item(1)->setSelected(true);
    f.findChild<QPushButton*>(u"pbConforme"_qs)->click();
  });
  copia.CopiarRegistros(filtros, {nullptr});
  EXPECT_EQ(mensajes.Messages().size(), 2) << mensajes.Texts().join(u'\n').toStdString();
  Table destino;
  destino.SetDatabaseName(CarpetaOBaseDatosEmpresa(Servicios(), 2));
  destino.SetTableName(u"FILTRO"_qs);
  ASSERT_TRUE(destino.Exists());
  destino.Open();
  EXPECT_EQ(destino.RecordCount(), 1);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM FILTRO"_qs, u"Database"_qs), u"1"_qs);
}
