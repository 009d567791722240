#include "printing/Genecpro.h"

#include "core/startup/Configuracion.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/report/RecordedPages.h"
#include "tests/printing/ListadoFixture.h"
#include "printing/Genelpro.h"
#include "printing/Geneprev.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/XlsxSheet.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

// The customers listed through the dialog, driven as a user would.
class Genecpro : public ListadoFixture {
 protected:
  void SetUp() override {
    Preparar(Motor());
    fGENECPRO = new TfGENECPRO();
    clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    clientes.SetTableName(u"CLIENTES"_qs);
    clientes.Open();
  }
  void TearDown() override {
    delete fGENECPRO;
    CamposNoVisiblesUsuario.clear();
    ListadoFixture::TearDown();
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
  virtual QString Motor() const { return u"Microsoft SQL Server"_qs; }
  static int pagina() { return hijo<QTabWidget>("PageControl1").currentIndex(); }
  static void irA(int numero) { hijo<QTabWidget>("PageControl1").setCurrentIndex(numero); }
  static QString sentencia() { return fGENECPRO->findChild<Query*>(u"Query1"_qs)->SQL().Text(); }
  static void mostrar(Dataset& dataSet, const QString& titulo = QString()) {
    fGENECPRO->MostrarListadoProgramable(&dataSet, QString(), titulo, QString());
  }

  Table clientes;
};

class GenecproMotores : public Genecpro, public ::testing::WithParamInterface<const char*> {
 protected:
  QString Motor() const override { return QString::fromLatin1(GetParam()); }
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

TEST_F(Genecpro, TableModeSortsACopyPerRunAndHandsItToExcelWithTheSelectedFieldsOnly) {
  ScriptedDialogs dialogos;
  const QString archivo = carpeta.File(u"LISTPRG.XLS"_qs);
  QString base, nombre;
  AlMostrarse([&](QWidget&) {
    hijo<QListWidget>("LBSeleccionado").clear();
    hijo<QListWidget>("LBSeleccionado").addItems({u"Nombre"_qs, u"Codigo"_qs});
    rango(0, u"3"_qs, u"5"_qs);
    hijo<QToolButton>("pbExportarExcel").setChecked(true);
    fGENECPRO->pbConformeClick();
    auto* temporal = fGENECPRO->findChild<Table*>(u"Temporal"_qs);
    ASSERT_NE(temporal, nullptr);
    base = temporal->DatabaseName();
    nombre = temporal->TableName();
  });
  hijo<QToolButton>("pbActivarTablaLogica").setChecked(true);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
  dialogos.ExpectFile(archivo);
  mostrar(clientes);
  ASSERT_EQ(dialogos.Dialogs().size(), 1);
  EXPECT_EQ(dialogos.Dialogs()[0].fileName, u"LISTPRG.XLS"_qs);
  const XlsxSheet hoja = XlsxSheet::Read(archivo);
  ASSERT_TRUE(hoja.read);
  // The selection's order, sorted by it; Notas, not selected, stays out.
  EXPECT_EQ(QStringList({hoja.Text("A1"), hoja.Text("B1"), hoja.Text("C1")}),
            QStringList({u"Nombre"_qs, u"Codigo"_qs, QString()}));
  EXPECT_EQ(QStringList({hoja.Text("A3"), hoja.Text("A4"), hoja.Text("A5"), hoja.Text("A6")}),
            QStringList({u"Cliente 003"_qs, u"Cliente 004"_qs, u"Cliente 005"_qs, QString()}));
  // The copy went with the dialog, and the customers have their filter back.
  Table temporal;
  temporal.SetDatabaseName(base);
  temporal.SetTableName(nombre);
  EXPECT_FALSE(temporal.Exists());
  EXPECT_FALSE(clientes.Filtered());
}

TEST_F(Genecpro, AboveAThousandRecordsTheSortIsAskedForAndNoLeavesNothing) {
  QString valores;
  for (int codigo = 251; codigo <= 1001; ++codigo)
    valores += u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (%1, 'Otro'); "_qs.arg(codigo);
  Ejecutar(valores);
  Table* temporal = nullptr;
  AlMostrarse([&](QWidget&) {
    fGENECPRO->pbConformeClick();
    temporal = fGENECPRO->findChild<Table*>(u"Temporal"_qs);
  });
  hijo<QToolButton>("pbActivarTablaLogica").setChecked(true);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  mostrar(clientes);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"El listado actual puede ser largo (más de 1000 líneas) y ha de ser "
                                          "clasificado. ¿Desea continuar en cualquier caso?"_qs});
  EXPECT_EQ(temporal, nullptr);
}

TEST_F(Genecpro, AStoredFilterPassesTheSameChecksAndAFailingQueryLeavesTheDialogUsable) {
  Ejecutar(u"CREATE TABLE FORMLIST (Prefijo VARCHAR(60), Nombre VARCHAR(60), Titulo VARCHAR(250) NULL, "
           "ListaSeleccionado TEXT NULL, ListaFiltrosSQL TEXT NULL, CONSTRAINT FORMLIST_Clave1 PRIMARY KEY "
           "(Prefijo, Nombre))"_qs);
  Ejecutar(u"INSERT INTO FORMLIST VALUES ('CLIENTES', 'Malo', 'T', 'Codigo\rNombre', "
           "'Codigo = 1; DROP TABLE CLIENTES')"_qs);
  QStringList seleccionados;
  int paginaVista = -1;
  bool segundoIntento = false;
  AlMostrarse([&](QWidget&) {
    seleccionados = elementos("LBSeleccionado");
    irA(3);  // refused: nothing runs
    hijo<QPlainTextEdit>("MemoFiltros").clear();
    Ejecutar(u"DROP TABLE CLIENTES"_qs);
    irA(3);  // the table has gone: the engine's reason
    paginaVista = pagina();
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40) NULL, Notas TEXT NULL)"_qs);
    irA(3);
    segundoIntento = pagina() == 3;
  });
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  mostrar(clientes);
  EXPECT_EQ(seleccionados, (QStringList{u"Codigo"_qs, u"Nombre"_qs}));
  ASSERT_EQ(mensajes.Texts().size(), 2);
  for (const QString& texto : mensajes.Texts())
    EXPECT_TRUE(texto.startsWith(u"Imposible ejecutar la sentencia SQL. Motivo: "_qs)) << texto.toStdString();
  EXPECT_EQ(paginaVista, 0);
  EXPECT_TRUE(segundoIntento);
}

TEST_F(Genecpro, ThePopupEmptiesOrFillsTheSelectionAndClearsTheFilters) {
  QStringList vacia, llena;
  QString memo = u"x"_qs;
  AlMostrarse([&](QWidget& formulario) {
    const auto pulsar = [&](const char* nombre) {
      formulario.findChild<QAction*>(QString::fromLatin1(nombre))->trigger();
    };
    pulsar("DeseleccionarTodos1");
    vacia = elementos("LBSeleccionado");
    pulsar("SeleccionarTodos1");
    llena = elementos("LBSeleccionado");
    hijo<QPlainTextEdit>("MemoFiltros").setPlainText(u"(Codigo = '1')"_qs);
    pulsar("BorrarFiltros1");
    memo = hijo<QPlainTextEdit>("MemoFiltros").toPlainText();
  });
  mostrar(clientes);
  EXPECT_TRUE(vacia.isEmpty());
  EXPECT_EQ(llena, (QStringList{u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs}));
  EXPECT_TRUE(memo.isEmpty());
}

TEST_F(Genecpro, LoadingAFormatFromTheAdjustPageKeepsTheFormatsSelection) {
  QStringList seleccionados;
  AlMostrarse([&](QWidget&) {
    hijo<QListWidget>("LBSeleccionado").takeItem(2);
    irA(3);
    hijo<QToolButton>("pbStandard").click();
    seleccionados = elementos("LBSeleccionado");
  });
  mostrar(clientes);
  EXPECT_EQ(seleccionados, (QStringList{u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs}));
}

TEST_F(Genecpro, ConformePreviewsTheListingUntilThePreviewClosesOrPrintsIt) {
  RecordingPrinter impresoras({u"Oficina"_qs}, carpeta.Path());
  ScriptedDialogs dialogos;
  int paginas = 0;
  QString titulo;
  bool informeDuranteVista = false;
  bool informeDespues = true;
  AlMostrarse([&](QWidget&) {
    hijo<QLineEdit>("Titulo").setText(u"Clientes"_qs);
    QTimer cerrar;
    cerrar.callOnTimeout([&] {
      if (!fGENEPREV || fGENEPREV->EstadoInforme != u"Finalizada"_qs) return;
      paginas = fGENEPREV->NumeroPaginas();
      titulo = TextsOfItem(fGENEPREV->Paginas().Page(1), u"QRTitulo"_qs).value(0);
      informeDuranteVista = fGENELPRO != nullptr;
      fGENEPREV->close();
    });
    cerrar.start(10);
    fGENECPRO->pbConformeClick();
    cerrar.stop();
    informeDespues = fGENELPRO != nullptr;
    hijo<QCheckBox>("VisualizacionPrevia").setChecked(false);
    dialogos.ExpectPrint(true);
    fGENECPRO->pbConformeClick();
  });
  mostrar(clientes);
  EXPECT_GE(paginas, 4);  // 250 customers
  EXPECT_EQ(titulo, u"Clientes"_qs);
  EXPECT_TRUE(informeDuranteVista);
  EXPECT_FALSE(informeDespues);
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), paginas);
}

// Alt and the letter of "&Conforme" run it from any field of the dialog.
TEST_F(Genecpro, AltCRunsConforme) {
  ScriptedDialogs dialogos;
  int pulsado = 0;
  AlMostrarse([&](QWidget& dialogo) {
    hijo<QCheckBox>("VisualizacionPrevia").setChecked(false);
    dialogos.ExpectPrint(false);
    QObject::connect(&hijo<QPushButton>("pbConforme"), &QPushButton::clicked, [&] { ++pulsado; });
    QApplication::setActiveWindow(&dialogo);
    hijo<QLineEdit>("Titulo").setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialogo, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pulsado > 0; }, 5000));
  });
  mostrar(clientes);
  EXPECT_EQ(pulsado, 1);
  EXPECT_EQ(dialogos.Dialogs().size(), 1) << "the print dialog Conforme asks for";
}

TEST_F(Genecpro, TableModeListsInTheSelectionsOrderAndGivesTheDatasetBackAsItCame) {
  ScriptedDialogs dialogos;
  const QString archivo = carpeta.File(u"LISTPRG.XLS"_qs);
  clientes.FieldByName(u"Nombre"_qs).SetTag(1000);
  ASSERT_TRUE(clientes.Locate(u"Codigo"_qs, Variant::Integer(50)));
  QStringList columnasRejilla, camposAlVolver, columnasConsulta;
  AlMostrarse([&](QWidget&) {
    hijo<QListWidget>("LBSeleccionado").clear();
    hijo<QListWidget>("LBSeleccionado").addItems({u"Notas"_qs, u"Codigo"_qs});
    hijo<QCheckBox>("cbClasificado").setChecked(false);
    hijo<QToolButton>("pbExportarExcel").setChecked(true);
    irA(3);
    const auto& rejilla = hijo<DBGrid>("DBGrid1");
    for (int columna = 0; columna < rejilla.ColumnCount(); ++columna)
      if (rejilla.ColumnVisible(columna)) columnasRejilla.append(rejilla.ColumnFieldName(columna));
    fGENECPRO->pbConformeClick();
    // Back to query mode: the customers come back at once, and the query's columns all show.
    hijo<QToolButton>("pbActivarTablaLogica").click();
    camposAlVolver = clientes.GetFieldNames();
    irA(3);
    for (int columna = 0; columna < rejilla.ColumnCount(); ++columna)
      if (rejilla.ColumnVisible(columna)) columnasConsulta.append(rejilla.ColumnFieldName(columna));
  });
  hijo<QToolButton>("pbActivarTablaLogica").setChecked(true);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
  dialogos.ExpectFile(archivo);
  mostrar(clientes);
  EXPECT_EQ(columnasRejilla, (QStringList{u"Notas"_qs, u"Codigo"_qs}));
  const XlsxSheet hoja = XlsxSheet::Read(archivo);
  ASSERT_TRUE(hoja.read);
  EXPECT_EQ(QStringList({hoja.Text("A1"), hoja.Text("B1"), hoja.Text("C1")}),
            QStringList({u"Notas"_qs, u"Codigo"_qs, QString()}));
  EXPECT_EQ(camposAlVolver, (QStringList{u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs}));
  EXPECT_EQ(columnasConsulta, (QStringList{u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs}));
  EXPECT_EQ(clientes.GetFieldNames(), (QStringList{u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs}));
  EXPECT_EQ(clientes.FieldByName(u"Nombre"_qs).Tag(), 1000);
  EXPECT_EQ(clientes.FieldByName(u"Codigo"_qs).AsInteger(), 50);
  EXPECT_FALSE(clientes.Filtered());
}

// A range on a date: the query writes it as FormatoFechaSQL says, the table's filter as dd/mm/yyyy.
TEST_P(GenecproMotores, DateRangesTakeTheDateFormatOfEachMode) {
  Ejecutar(u"CREATE TABLE ALTAS (Codigo INTEGER NOT NULL, FechaAlta DATETIME NULL, "
           "CONSTRAINT ALTAS_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO ALTAS VALUES (1, '2026-11-30 00:00:00'), (2, '2026-12-05 00:00:00'), "
           "(3, '2027-01-01 00:00:00')"_qs);
  Table altas;
  altas.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  altas.SetTableName(u"ALTAS"_qs);
  altas.Open();
  const QString tabla = Motor() == u"Paradox"_qs ? u"ALTAS"_qs : u"dbo.ALTAS"_qs;
  for (const QString& formato : {u"mm/dd/yyyy"_qs, u"dd/mm/yyyy"_qs}) {
    FormatoFechaSQL = formato;
    for (const bool modoTabla : {false, true}) {
      QString texto;
      int registros = -1;
      AlMostrarse([&](QWidget&) {
        rango(1, u"1/12/2026"_qs, u"31/12/2026"_qs);  // FechaAlta
        irA(3);
        texto = modoTabla ? altas.Filter() : sentencia();
        registros = modoTabla ? altas.RecordCount() : fGENECPRO->findChild<Query*>(u"Query1"_qs)->RecordCount();
      });
      hijo<QToolButton>("pbActivarTablaLogica").setChecked(modoTabla);
      mostrar(altas);
      const QString esperado =
          modoTabla || formato == u"dd/mm/yyyy"_qs
              ? u"((FechaAlta >= '01/12/2026') AND (FechaAlta <= '31/12/2026'))"_qs
              : u"((FechaAlta >= '12/01/2026') AND (FechaAlta <= '12/31/2026'))"_qs;
      EXPECT_EQ(texto.trimmed(), modoTabla ? esperado
                                           : u"SELECT Codigo,FechaAlta\r\nFROM "_qs + tabla + u"\r\nWHERE "_qs +
                                                 esperado + u"\r\nORDER BY Codigo,FechaAlta"_qs)
          << formato.toStdString() << modoTabla;
      EXPECT_EQ(registros, 1) << formato.toStdString() << modoTabla;
    }
  }
}

// USUARIO lives in the general database, not in the company's.
TEST_P(GenecproMotores, AGeneralTableIsQueriedAndPreviewedOnItsOwnDatabase) {
  RecordingPrinter impresoras({u"Oficina"_qs}, carpeta.Path());
  QString texto;
  int registros = -1;
  QStringList codigos;
  AlMostrarse([&](QWidget&) {
    irA(3);
    texto = sentencia();
    registros = fGENECPRO->findChild<Query*>(u"Query1"_qs)->RecordCount();
    QTimer cerrar;
    cerrar.callOnTimeout([&] {
      if (!fGENEPREV || fGENEPREV->EstadoInforme != u"Finalizada"_qs) return;
      codigos = TextsOfItem(fGENEPREV->Paginas().Page(1), u"LBDetalle1"_qs);  // Categoria, Codigo, ...
      fGENEPREV->close();
    });
    cerrar.start(10);
    fGENECPRO->pbConformeClick();
    cerrar.stop();
  });
  mostrar(usuario);
  EXPECT_TRUE(texto.contains(u"USUARIO"_qs)) << texto.toStdString();
  EXPECT_EQ(registros, 2);
  EXPECT_EQ(codigos, (QStringList{u"ANA"_qs, u"LUIS"_qs}));
}

INSTANTIATE_TEST_SUITE_P(Motores, GenecproMotores, ::testing::Values("Microsoft SQL Server", "Paradox"));

TEST_F(Genecpro, AFormatIsDeletedOnlyAfterItsConfirmationAndTheNextOneLoads) {
  Ejecutar(u"CREATE TABLE FORMLIST (Prefijo VARCHAR(60), Nombre VARCHAR(60), Titulo VARCHAR(250) NULL, "
           "ListaSeleccionado TEXT NULL, ListaFiltrosSQL TEXT NULL, CONSTRAINT FORMLIST_Clave1 PRIMARY KEY "
           "(Prefijo, Nombre))"_qs);
  Ejecutar(u"INSERT INTO FORMLIST VALUES ('CLIENTES', 'A', 'Primero', 'Codigo', NULL), "
           "('CLIENTES', 'B', 'Segundo', 'Nombre', '(Codigo > 5)'), ('ARTICULO', 'A', 'Otro', 'Codigo', NULL)"_qs);
  QString titulo, filtros;
  QStringList seleccionados;
  AlMostrarse([&](QWidget&) {
    fGENECPRO->pbEliminarClick();  // NO
    fGENECPRO->pbEliminarClick();  // SI
    titulo = hijo<QLineEdit>("Titulo").text();
    seleccionados = elementos("LBSeleccionado");
    filtros = hijo<QPlainTextEdit>("MemoFiltros").toPlainText();
  });
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  mostrar(clientes);
  EXPECT_EQ(mensajes.Texts(), QStringList(2, u"¿ Esta seguro de querer eliminar el formato actual ?"_qs));
  EXPECT_EQ(EjecutarSQL(u"SELECT Prefijo, Nombre FROM FORMLIST ORDER BY Prefijo, Nombre"_qs, u"Database"_qs),
            u"ARTICULO|A\r\nCLIENTES|B"_qs);
  EXPECT_EQ(titulo, u"Segundo"_qs);
  EXPECT_EQ(seleccionados, QStringList{u"Nombre"_qs});
  EXPECT_EQ(filtros, u"(Codigo > 5)"_qs);
}

// The dialog's pages and its listings in the preview as a person sees them;
// ZEMWIN_CAPTURAS names a folder that keeps the pictures.
TEST_F(Genecpro, ThePagesAndTheListingsInThePreviewAreDrawn) {
  Parametros(u"FmtVisualizacionPrevia VARCHAR(20) NULL"_qs, u"'Ancho Ajustado'"_qs);
  QList<QImage> imagenes;
  const auto capturar = [&](QWidget& ventana, const QString& nombre) {
    const QImage imagen = ventana.grab().toImage();
    EXPECT_FALSE(imagenes.contains(imagen)) << nombre.toStdString();
    imagenes.append(imagen);
    if (const QString capturas = qEnvironmentVariable("ZEMWIN_CAPTURAS"); !capturas.isEmpty())
      imagen.save(capturas + u'/' + nombre + u".png"_qs);
  };
  const auto listar = [&](const QString& nombre) {
    int paginas = 0;
    QTimer cerrar;
    cerrar.callOnTimeout([&] {
      if (!fGENEPREV || fGENEPREV->EstadoInforme != u"Finalizada"_qs) return;
      paginas = fGENEPREV->NumeroPaginas();
      capturar(*fGENEPREV, nombre);
      fGENEPREV->close();
    });
    cerrar.start(10);
    fGENECPRO->pbConformeClick();
    return paginas;
  };
  int columnas = 0, fichas = 0;
  AlMostrarse([&](QWidget& dialogo) {
    rango(0, u"1"_qs, u"150"_qs);
    for (int numero = 0; numero < 4; ++numero) {
      irA(numero);
      capturar(dialogo, u"GENECPRO-%1"_qs.arg(numero + 1));
    }
    columnas = listar(u"GENEPREV-columnas"_qs);
    hijo<QCheckBox>("FormatoFicha").setChecked(true);
    hijo<QSpinBox>("NumeroColumnasFicha").setValue(2);
    fichas = listar(u"GENEPREV-fichas"_qs);
  });
  mostrar(clientes);
  EXPECT_EQ(columnas, 3);
  EXPECT_GE(fichas, 2);
}

// The font button: the font the user accepts is the grid's and the
// listing's, its titles in navy; a cancelled dialog changes nothing.
TEST_F(Genecpro, TheFontButtonGivesTheGridAndTheListingTheChosenFont) {
  ScriptedDialogs dialogos;
  dialogos.ExpectFont(false).ExpectFont(true, u"DejaVu Serif"_qs, 14);
  QFont antes, cancelada, elegida;
  QColor titulos;
  QStringList sugerencias;
  AlMostrarse([&](QWidget&) {
    auto& rejilla = hijo<DBGrid>("DBGrid1");
    antes = rejilla.font();
    hijo<QToolButton>("pbCambiarFont").click();
    cancelada = rejilla.font();
    hijo<QToolButton>("pbCambiarFont").click();
    elegida = rejilla.font();
    titulos = rejilla.TitleFontColor();
    for (QToolButton* boton : hijo<QWidget>("DBNavigator1").findChildren<QToolButton*>())
      if (boton->isVisibleTo(fGENECPRO)) sugerencias << boton->toolTip();
    fGENECPRO->reject();
  });
  mostrar(clientes);
  EXPECT_EQ(cancelada, antes);
  EXPECT_EQ(elegida.family(), u"DejaVu Serif"_qs);
  EXPECT_EQ(elegida.pointSize(), 14);
  EXPECT_EQ(titulos, QColor(0x00, 0x00, 0x80));
  EXPECT_EQ(sugerencias, (QStringList{u"Ir al primer registro"_qs, u"Ir al registro anterior"_qs,
                                      u"Ir al registro siguiente"_qs, u"Ir al último registro"_qs}));
  EXPECT_EQ(dialogos.Dialogs().size(), 2);
}

// On the adjust page a date-time field named for an hour shows the time
// alone, the others the date alone.
TEST_F(Genecpro, TheAdjustPageShowsHoursAsTimesAndOtherDateTimesAsDates) {
  Ejecutar(u"CREATE TABLE VISITAS (Codigo INTEGER NOT NULL, Fecha DATETIME NULL, HoraVisita DATETIME NULL, "
           "CONSTRAINT VISITAS_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO VISITAS (Codigo, Fecha, HoraVisita) VALUES (1, '05/03/2024 00:00:00', "
           "'12/30/1899 08:05:09')"_qs);
  Table visitas;
  visitas.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  visitas.SetTableName(u"VISITAS"_qs);
  visitas.Open();
  QStringList textos;
  AlMostrarse([&](QWidget&) {
    irA(3);
    Query& consulta = *fGENECPRO->findChild<Query*>(u"Query1"_qs);
    for (const char* campo : {"Fecha", "HoraVisita"}) textos << consulta.FieldByName(QLatin1String(campo)).DisplayText();
    fGENECPRO->reject();
  });
  mostrar(visitas);
  EXPECT_EQ(textos, (QStringList{u"03/05/2024"_qs, u"08:05:09"_qs}));  // written month first
}
