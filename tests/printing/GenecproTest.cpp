#include "printing/Genecpro.h"

#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/dialogs/BusquedaFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

namespace {

// The customers listed through the dialog, driven as a user would.
class Genecpro : public BusquedaFixture {
 protected:
  void SetUp() override {
    Preparar();
    fGENECPRO = new TfGENECPRO();
    clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    clientes.SetTableName(u"CLIENTES"_qs);
    clientes.Open();
  }
  void TearDown() override {
    delete fGENECPRO;
    CamposNoVisiblesUsuario.clear();
  }

  template <class T>
  static T& hijo(const char* nombre) {
    return *fGENECPRO->findChild<T*>(QString::fromLatin1(nombre));
  }
  static QStringList elementos(const char* lista) {
    QStringList textos;
    for (int i = 0; i < hijo<QListWidget>(lista).count(); ++i) textos.append(hijo<QListWidget>(lista).item(i)->text());
    return textos;
  }
  static void rango(int fila, const QString& desde, const QString& hasta) {
    hijo<QTableWidget>("StringGrid").setItem(fila, 1, new QTableWidgetItem(desde));
    hijo<QTableWidget>("StringGrid").setItem(fila, 2, new QTableWidgetItem(hasta));
  }
  static int pagina() { return hijo<QTabWidget>("PageControl1").currentIndex(); }
  static void irA(int numero) { hijo<QTabWidget>("PageControl1").setCurrentIndex(numero); }
  static QString sentencia() { return fGENECPRO->findChild<Query*>(u"Query1"_qs)->SQL().Text(); }
  static void mostrar(Dataset& dataSet, const QString& titulo = QString()) {
    fGENECPRO->MostrarListadoProgramable(&dataSet, QString(), titulo, QString());
  }

  Table clientes;
};

}  // namespace

TEST_F(Genecpro, WithoutSavedFormatsEveryVisibleFieldIsListedUnderTheDefaultTitle) {
  CamposNoVisiblesUsuario = u"Notas"_qs;
  QString titulo;
  QStringList disponibles, seleccionados;
  int filas = 0;
  AlMostrarse([&](QWidget&) {
    titulo = hijo<QLineEdit>("Titulo").text();
    disponibles = elementos("LBDisponible");
    seleccionados = elementos("LBSeleccionado");
    filas = hijo<QTableWidget>("StringGrid").rowCount();
  });
  mostrar(clientes);
  EXPECT_EQ(titulo, u"Listado programable de la tabla CLIENTES"_qs);
  EXPECT_EQ(disponibles, (QStringList{u"Codigo"_qs, u"Nombre"_qs}));
  EXPECT_EQ(seleccionados, disponibles);
  EXPECT_EQ(filas, 2);
}

TEST_F(Genecpro, TheAdjustPageRunsTheSelectOfRangesAndFilters) {
  QString texto;
  int registros = 0;
  AlMostrarse([&](QWidget&) {
    rango(0, u"10"_qs, u"20"_qs);  // Codigo
    hijo<QComboBox>("ListaCampos").setCurrentIndex(1);  // Nombre
    hijo<QComboBox>("Operador").setCurrentText(u"<>"_qs);
    hijo<QLineEdit>("Valor").setText(u"Cliente 012"_qs);
    fGENECPRO->pbAgregarClick();
    irA(3);
    texto = sentencia();
    registros = fGENECPRO->findChild<Query*>(u"Query1"_qs)->RecordCount();
  });
  mostrar(clientes);
  EXPECT_EQ(texto.trimmed(), u"SELECT Codigo,Nombre,Notas\r\nFROM dbo.CLIENTES\r\nWHERE ((Nombre <> 'Cliente 012')) AND "
                   "((Codigo >= '10') AND (Codigo <= '20'))\r\nORDER BY Codigo,Nombre"_qs);
  EXPECT_EQ(registros, 10);
}

TEST_F(Genecpro, AFilterLeavingItsGroupRunsNothingAndTheDialogStays) {
  int paginaVista = -1;
  AlMostrarse([&](QWidget&) {
    hijo<QPlainTextEdit>("MemoFiltros").setPlainText(u"Codigo = 1) OR (1 = 1"_qs);
    irA(3);
    paginaVista = pagina();
  });
  mensajes.Expect(u"A"_qs);
  mostrar(clientes);
  ASSERT_EQ(mensajes.Texts().size(), 1);
  EXPECT_TRUE(mensajes.Texts()[0].startsWith(u"Imposible ejecutar la sentencia SQL. Motivo: "_qs));
  EXPECT_EQ(paginaVista, 0);
}

TEST_F(Genecpro, TableModeFiltersTheDatasetAndGivesItsFilterBack) {
  clientes.SetFilter(u"Codigo < 100"_qs);
  clientes.SetFiltered(true);
  int registros = 0;
  AlMostrarse([&](QWidget&) {
    hijo<QPlainTextEdit>("MemoFiltros").setPlainText(u"(Nombre = 'Cliente 007')"_qs);
    irA(3);
    registros = clientes.RecordCount();
  });
  hijo<QToolButton>("pbActivarTablaLogica").setChecked(true);
  mostrar(clientes);
  EXPECT_EQ(registros, 1);
  EXPECT_EQ(clientes.Filter(), u"Codigo < 100"_qs);
  EXPECT_TRUE(clientes.Filtered());
  EXPECT_EQ(clientes.RecordCount(), 99);
}

TEST_F(Genecpro, FormatsAreSavedAsAndFoundAgainByName) {
  AlMostrarse([&](QWidget&) {
    hijo<QLineEdit>("Titulo").setText(u"Clientes"_qs);
    hijo<QListWidget>("LBSeleccionado").takeItem(2);
    fGENECPRO->pbGuardarComoClick();
    fGENECPRO->pbGuardarComoClick();
  });
  mensajes.Expect(u"P"_qs, u"Breve"_qs).Expect(u"P"_qs, u"Breve"_qs).Expect(u"A"_qs);
  mostrar(clientes);
  EXPECT_EQ(mensajes.Texts().last(), u"¡Ya existe el formato!"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT Prefijo, Nombre, Titulo FROM FORMLIST"_qs, u"Database"_qs),
            u"CLIENTES|Breve|Clientes"_qs);

  QString titulo;
  QStringList seleccionados;
  AlMostrarse([&](QWidget&) {
    titulo = hijo<QLineEdit>("Titulo").text();
    seleccionados = elementos("LBSeleccionado");
  });
  mostrar(clientes, u"Otro"_qs);
  EXPECT_EQ(titulo, u"Clientes"_qs);
  EXPECT_EQ(seleccionados, (QStringList{u"Codigo"_qs, u"Nombre"_qs}));
}
