#include "core/connections/Conexiones.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/forms/GanchosFormulario.h"
#include "core/startup/Configuracion.h"
#include "dialogs/DatosBusqueda.h"
#include "dialogs/Genebusq.h"
#include "platform/VirtualKeys.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DBNavigator.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "tests/dialogs/BusquedaFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/SecondProcess.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTest>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

const QString kGeneral = u"DatabaseGeneral"_qs;
constexpr auto kCarpeta = "ZEM_PROGRAM_FOLDER";

class Genebusq : public BusquedaFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    Preparar(QString::fromLatin1(GetParam()));
    busqueda = std::make_unique<TfGENEBUSQ>();
    filas = busqueda->findChild<ClientDataset*>(u"ClientDataSet1"_qs);
  }

  void abrir(const QString& tabla, int indice = 0, const QString& dato = QString()) {
    busqueda->hide();
    busqueda->TablaBusqueda = tabla;
    busqueda->IndiceBusqueda = indice;
    busqueda->CamposSeleccion.clear();  // as the launcher passes it
    hijo<QLineEdit>("DatoABuscar")->setText(dato);
    busqueda->show();
  }

  void buscar(const QString& campos, const QString& dato, const char* modo = "BusquedaAproximada") {
    hijo<QComboBox>("ListaCamposBusqueda")->setCurrentText(campos);
    hijo<QRadioButton>(modo)->click();
    hijo<QLineEdit>("DatoABuscar")->setText(dato);
    busqueda->pbBuscarClick(false);
  }

  QString codigo() const { return filas->FieldByName(u"Codigo"_qs).AsString(); }

  template <class T>
  T* hijo(const char* nombre) const {
    return busqueda->findChild<T*>(QString::fromLatin1(nombre));
  }

  std::unique_ptr<TfGENEBUSQ> busqueda;
  ClientDataset* filas = nullptr;
};

}  // namespace

TEST_P(Genebusq, FindsFromTheValueOnAndGivesTheChosenKey) {
  abrir(EsSQLServer() ? u"dbo.CLIENTES"_qs : u"CLIENTES"_qs);
  EXPECT_EQ(busqueda->Caption(), u"Buscar en la tabla CLIENTES"_qs);
  const QStringList elecciones = [this] {
    QStringList textos;
    for (int i = 0; i < hijo<QComboBox>("ListaCamposBusqueda")->count(); ++i)
      textos.append(hijo<QComboBox>("ListaCamposBusqueda")->itemText(i));
    return textos;
  }();
  EXPECT_EQ(elecciones, QStringList({u"Codigo"_qs, u"Nombre;Codigo"_qs, u"Nombre"_qs}));
  EXPECT_FALSE(filas->Active());  // a company table waits for the user

  buscar(u"Nombre"_qs, u"cliente 120"_qs);
  ASSERT_TRUE(filas->Active());
  EXPECT_EQ(codigo(), u"120"_qs);
  EXPECT_FALSE(filas->FindField(u"Notas"_qs));  // memos are left out
  buscar(u"Nombre"_qs, u"e 01"_qs, "BusquedaFonetica");
  EXPECT_EQ(codigo(), u"10"_qs);
  EXPECT_FALSE(hijo<QCheckBox>("ResultadosOrdenados")->isChecked());
  buscar(u"Nombre;Codigo"_qs, u"Cliente 007;7"_qs, "BusquedaParcial");
  EXPECT_EQ(filas->RecordCount(), 1);  // 7, 70..79 start with 7 but only one has that name
  busqueda->pbConformeClick();
  EXPECT_EQ(busqueda->ModalResult(), mrYes);
  EXPECT_EQ(busqueda->ClaveSeleccionada, u"7"_qs);
  EXPECT_EQ(LeerDatosBusqueda(u"CLIENTES"_qs), u"Nombre;Codigo(P)"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"DatosBusqueda"_qs), u"PROVEEDO:Codigo(P),CLIENTES:Nombre;Codigo(P),"_qs);

  // Reopened, the remembered choice and mode come back; the index asked for wins over it.
  abrir(u"CLIENTES"_qs);
  EXPECT_EQ(hijo<QComboBox>("ListaCamposBusqueda")->currentText(), u"Nombre;Codigo"_qs);
  EXPECT_TRUE(hijo<QRadioButton>("BusquedaParcial")->isChecked());
  busqueda->close();
  EXPECT_EQ(busqueda->ModalResult(), mrCancel);
  GrabarDatosBusqueda(u"CLIENTES"_qs, u"Codigo(A)"_qs);
  abrir(u"CLIENTES"_qs, 2);
  EXPECT_EQ(hijo<QComboBox>("ListaCamposBusqueda")->currentText(), u"Nombre;Codigo"_qs);
}

TEST_P(Genebusq, AFieldListThatIsNoColumnReadsNothing) {
  abrir(u"CLIENTES"_qs);
  buscar(u"Nombre) UNION SELECT Codigo FROM USUARIO --"_qs, u"x"_qs);
  EXPECT_FALSE(filas->Active());
  EXPECT_TRUE(busqueda->UltimaSentencia().isEmpty());
  busqueda->pbConformeClick();
  EXPECT_EQ(busqueda->ModalResult(), mrCancel);
  EXPECT_TRUE(busqueda->ClaveSeleccionada.isEmpty());
  // A failing statement leaves the grid empty, silently.
  buscar(u"Codigo"_qs, u"x'"_qs);
  EXPECT_FALSE(filas->Active() && !filas->IsEmpty());
}

TEST_P(Genebusq, UnboundedSearchesReadAPacketAtATime) {
  abrir(u"CLIENTES"_qs);
  hijo<QCheckBox>("ResultadosOrdenados")->setChecked(true);  // CLIENTES has no remembered search
  if (EsSQLServer()) {
    buscar(u"Codigo"_qs, QString());
    EXPECT_EQ(busqueda->UltimaSentencia(),
              u"SELECT TOP 100 Codigo,Nombre FROM CLIENTES WITH(NOLOCK)  ORDER BY Codigo"_qs);
    filas->Last();
    EXPECT_EQ(filas->RecordCount(), 100);
    hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"0"_qs);
    buscar(u"Codigo"_qs, u"5"_qs);
    EXPECT_EQ(filas->RecordCount(), 1);
    hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  }
  buscar(u"Nombre"_qs, u"Cliente"_qs, "BusquedaFonetica");
  EXPECT_EQ(busqueda->UltimaSentencia(),
            u"SELECT TOP 100 Codigo,Nombre FROM CLIENTES WITH(NOLOCK)  WHERE  (Nombre LIKE '%Cliente%')  ORDER BY Codigo"_qs);
  EXPECT_EQ(filas->RecordCount(), 100);
  // Another statement on the connection does not make it read the rest.
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, u"Database"_qs), u"250"_qs);
  EXPECT_EQ(filas->RecordCount(), 100);
  filas->SetRecNo(100);
  filas->Next();
  EXPECT_EQ(codigo(), u"101"_qs);
  EXPECT_EQ(filas->RecordCount(), 200);
  filas->Last();
  EXPECT_EQ(codigo(), u"250"_qs);
  EXPECT_EQ(filas->RecordCount(), 250);

  buscar(u"Nombre"_qs, u"Cliente 050"_qs);
  filas->Last();
  EXPECT_EQ(codigo(), u"250"_qs);
  EXPECT_EQ(filas->RecordCount(), 201);
}

TEST_P(Genebusq, TheSearchBoxsDoubleClickAndEnterSearch) {
  QStringList asociadas;
  Ganchos().AsociarTablaBusqueda = [&asociadas](QObject* control) { asociadas.append(control->objectName()); };
  abrir(u"CLIENTES"_qs);
  hijo<QComboBox>("ListaCamposBusqueda")->setCurrentText(u"Codigo"_qs);
  hijo<QLineEdit>("DatoABuscar")->setText(u"200"_qs);
  QTest::mouseDClick(hijo<QLineEdit>("DatoABuscar"), Qt::LeftButton);
  EXPECT_EQ(codigo(), u"200"_qs);
  EXPECT_TRUE(asociadas.isEmpty());
  hijo<QLineEdit>("DatoABuscar")->setText(u"7,"_qs);
  QTest::keyClick(hijo<QLineEdit>("DatoABuscar"), Qt::Key_Return);
  EXPECT_EQ(hijo<QLineEdit>("DatoABuscar")->text(), u"7;"_qs);
  EXPECT_EQ(codigo(), u"7"_qs);
  EXPECT_EQ(UltimaTeclaPulsada, int(VK::Return));
  Ganchos().AsociarTablaBusqueda = nullptr;
}

TEST_P(Genebusq, TheGridsLetterIsChosenOrMadeSmall) {
  abrir(u"CLIENTES"_qs);
  buscar(u"Codigo"_qs, u"1"_qs);
  hijo<QToolButton>("pbPersonalizarBusqueda")->setChecked(true);
  CapturaFormulario(*busqueda, u"busqueda"_qs);
  auto& rejilla = *hijo<DBGrid>("DBGrid1");
  rejilla.SetColumnWidth(1, 121);
  QAction& pequena = *hijo<QMenu>("PopupMenu1")->actions().first();
  pequena.trigger();
  EXPECT_EQ(rejilla.columnWidth(1), 61);
  pequena.trigger();
  EXPECT_EQ(rejilla.columnWidth(1), 122);

  ScriptedDialogs dialogos;
  dialogos.ExpectFont(false).ExpectFont(true);
  const QColor titulos = rejilla.TitleFontColor();
  QApplication::setActiveWindow(busqueda.get());
  rejilla.setFocus();
  QTest::keyClick(&rejilla, Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(rejilla.TitleFontColor(), titulos) << "cancelled";
  QTest::keyClick(&rejilla, Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(rejilla.TitleFontColor(), QColor(0x00, 0x00, 0x80));
  EXPECT_EQ(dialogos.Dialogs().size(), 2);
}

TEST_P(Genebusq, AnEmptyLastKeyIsNULLAndAGeneralTablesSearchIsNotRemembered) {
  Ejecutar(u"CREATE TABLE SERIES (Serie VARCHAR(2) NOT NULL, Numero VARCHAR(8) NOT NULL, "
           "CONSTRAINT SERIES_Clave1 PRIMARY KEY (Serie, Numero))"_qs);
  Ejecutar(u"INSERT INTO SERIES (Serie, Numero) VALUES ('A', '')"_qs);
  abrir(u"SERIES"_qs);
  buscar(u"Serie;Numero"_qs, u"A"_qs);
  busqueda->pbConformeClick();
  EXPECT_EQ(busqueda->ClaveSeleccionada, u"A\r\nNULL"_qs);

  const QString antes = LeerConfigUsuario(u"ANA"_qs, u"DatosBusqueda"_qs);
  ASSERT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM EMPRESA"_qs, kGeneral), u"1"_qs);
  abrir(u"EMPRESA"_qs);
  ASSERT_TRUE(filas->Active()) << "a general table is searched at once";
  busqueda->pbConformeClick();
  EXPECT_EQ(busqueda->ModalResult(), mrYes);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"DatosBusqueda"_qs), antes);
}

TEST_P(Genebusq, MemoAndDateColumnsAreShownAsTheSuiteShowsThem) {
  Ejecutar(u"CREATE TABLE AGENDA (Codigo INTEGER NOT NULL, Alta DATETIME NULL, HoraEntrada DATETIME NULL, "
           "Notas TEXT NULL, CONSTRAINT AGENDA_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO AGENDA VALUES (1, '2024-03-05 00:00:00', '1899-12-30 10:15:00', "
           "'Llamar el lunes\r\npor la tarde\nsin falta'), (2, '1899-12-30 00:00:00', NULL, NULL)"_qs);
  abrir(u"AGENDA"_qs);
  hijo<QCheckBox>("MostrarCamposMemo")->setChecked(true);
  busqueda->resize(900, 357);
  buscar(u"Codigo"_qs, QString());
  ASSERT_EQ(filas->RecordCount(), 2);
  auto& rejilla = *hijo<DBGrid>("DBGrid1");
  const auto columna = [&rejilla](const QString& campo) { return rejilla.Model()->FieldNames().indexOf(campo); };
  const auto celda = [&rejilla](int fila, int columna) { return rejilla.model()->index(fila, columna); };
  const int alta = columna(u"Alta"_qs), hora = columna(u"HoraEntrada"_qs), notas = columna(u"Notas"_qs);
  const int cero = rejilla.fontMetrics().horizontalAdvance(u'0');
  for (int fila = 0; fila < 2; ++fila) {
    EXPECT_EQ(celda(fila, alta).data().toString(), fila == 0 ? u"05/03/2024"_qs : QString()) << fila;
    EXPECT_EQ(celda(fila, hora).data().toString(), fila == 0 ? u"10:15:00"_qs : QString()) << fila;
  }
  for (const int fecha : {alta, hora}) {
    EXPECT_EQ(rejilla.ColumnField(fecha)->DisplayWidth(), 10);
    EXPECT_EQ(rejilla.columnWidth(fecha) / cero, 10) << "ten characters wide";
    EXPECT_EQ(rejilla.ButtonStyle(fecha), DBGrid::cbsAuto);
  }

  // The memo: wide, with an ellipsis on its current cell, drawn on one line.
  EXPECT_EQ(rejilla.columnWidth(notas), 200);
  EXPECT_EQ(rejilla.ButtonStyle(notas), DBGrid::cbsEllipsis);
  ASSERT_TRUE(rejilla.OnDrawColumnCell) << "memo cells are drawn by the form";
  for (int fila = 0; fila < 2; ++fila) {
    QStyleOptionViewItem opcion;
    // The text as the grid's delegate hands it to the drawing.
    opcion.text = static_cast<QStyledItemDelegate*>(rejilla.itemDelegate())->displayText(celda(fila, notas).data(), {});
    rejilla.OnDrawColumnCell(rejilla, celda(fila, notas), opcion);
    EXPECT_EQ(opcion.text, fila == 0 ? u"Llamar el lunes por la tarde sin falta"_qs : QString()) << fila;
  }
  rejilla.setCurrentIndex(celda(0, alta));
  EXPECT_TRUE(rejilla.EditButtonRect().isEmpty());
  rejilla.setCurrentIndex(celda(0, notas));
  CapturaFormulario(*busqueda, u"busqueda-memo-fecha"_qs);
  int pulsado = 0;
  rejilla.OnEditButtonClick = [&pulsado](DBGrid&) { ++pulsado; };
  const QRect boton = rejilla.EditButtonRect();
  ASSERT_FALSE(boton.isEmpty());
  QTest::mouseClick(rejilla.viewport(), Qt::LeftButton, {}, boton.center());
  QTest::mouseClick(rejilla.viewport(), Qt::LeftButton, {}, rejilla.visualRect(celda(0, notas)).topLeft() + QPoint(4, 4));
  EXPECT_EQ(pulsado, 1);
}

// An order on a date and time with fractions of a second: each packet reads
// on from the last row at its full precision, so every row comes once and
// the last one is reached.
TEST_P(Genebusq, PacketsOrderedByFractionalTimesReachTheLastRowOnce) {
  Ejecutar(u"CREATE TABLE VISITAS (Codigo INTEGER NOT NULL, Fecha DATETIME NULL, "
           "CONSTRAINT VISITAS_Clave1 PRIMARY KEY (Codigo))"_qs);
  QString valores;
  for (int codigo = 1; codigo <= 250; ++codigo)
    valores += u"INSERT INTO VISITAS (Codigo, Fecha) VALUES (%1, '%2'); "_qs.arg(codigo).arg(
        codigo <= 240 ? u"2024-01-15 10:00:00.500"_qs : u"2024-01-15 10:00:00.750"_qs);
  Ejecutar(valores);
  abrir(u"VISITAS"_qs);
  hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  buscar(u"Fecha"_qs, QString());
  ASSERT_TRUE(filas->Active());
  // "Último" of the form's navigator.
  QTest::mouseClick(hijo<DBNavigator>("DBNavigator1")->Button(nbLast), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(codigo(), u"250"_qs);
  EXPECT_EQ(filas->RecordCount(), 250);
  // The grid shows the row it moved to.
  const DBGrid& rejilla = *hijo<DBGrid>("DBGrid1");
  EXPECT_EQ(rejilla.currentIndex().row(), 249);
  EXPECT_TRUE(rejilla.viewport()->rect().contains(rejilla.visualRect(rejilla.currentIndex()).center()))
      << "the last row is out of view";
  CapturaFormulario(*busqueda, u"busqueda-fechas-con-fraccion"_qs);
  QSet<QString> vistos;
  for (filas->First(); !filas->Eof(); filas->Next()) vistos.insert(codigo());
  EXPECT_EQ(vistos.size(), 250);
}

// A table without a key is read a packet at a time too, each packet after
// the last row read by the row id the engine gives: each row comes once,
// however many copies of it the table holds.
TEST_P(Genebusq, AKeylessTablesSearchCopiesOnlyThePacketsVisitedAndEachCopyOnce) {
  Ejecutar(u"CREATE TABLE APUNTES (Cuenta INTEGER NULL, Concepto VARCHAR(40) NULL, Importe FLOAT NULL, "
           "Notas TEXT NULL)"_qs);
  using Apunte = std::tuple<QString, int, double>;  // in the order read: Concepto, Cuenta, Importe
  QList<Apunte> tabla;
  // Each concept four times: twice on each of two accounts, so two copies of each row; and
  // 250 copies of one row more, which no packet boundary may cut short.
  for (int i = 0; i < 1000; ++i)
    tabla.append({u"Concepto %1"_qs.arg(i % 250, 3, 10, QLatin1Char('0')), i % 4, (i % 250) * 1.5});
  for (int i = 0; i < 250; ++i) tabla.append({u"Concepto 100"_qs, 9, 0.5});
  for (qsizetype desde = 0; desde < tabla.size(); desde += 250) {
    QStringList filas;
    for (qsizetype i = desde; i < desde + 250; ++i)
      filas << u"(%1, '%2', %3, %4)"_qs.arg(std::get<1>(tabla[i]))
                   .arg(std::get<0>(tabla[i]))
                   .arg(std::get<2>(tabla[i]))
                   .arg(i % 7 == 0 ? u"'nota'"_qs : u"NULL"_qs);
    Ejecutar(u"INSERT INTO APUNTES (Cuenta, Concepto, Importe, Notas) VALUES "_qs + filas.join(u", "_qs));
  }
  QList<Apunte> esperados;
  for (const Apunte& apunte : tabla)
    if (std::get<0>(apunte) >= u"Concepto 050"_qs) esperados.append(apunte);
  // Rows alike in the field searched by come as they were written.
  std::stable_sort(esperados.begin(), esperados.end(),
                   [](const Apunte& a, const Apunte& b) { return std::get<0>(a) < std::get<0>(b); });
  const auto apunte = [this] {
    return Apunte{filas->FieldByName(u"Concepto"_qs).AsString(), filas->FieldByName(u"Cuenta"_qs).AsInteger(),
                  filas->FieldByName(u"Importe"_qs).AsFloat()};
  };

  abrir(u"APUNTES"_qs);
  hijo<QCheckBox>("ResultadosOrdenados")->setChecked(true);
  if (EsSQLServer()) {
    buscar(u"Concepto"_qs, u"Concepto 050"_qs);
    EXPECT_EQ(busqueda->UltimaSentencia(), u"SELECT TOP 100 Cuenta,Concepto,Importe FROM APUNTES WITH(NOLOCK)  WHERE  "
                                           "(Concepto >= 'Concepto 050')  ORDER BY Concepto"_qs);
  }
  hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  buscar(u"Concepto"_qs, u"Concepto 050"_qs);
  ASSERT_TRUE(filas->Active());
  // The row id, a word the engine reserves, is ordered by as a quoted name.
  EXPECT_EQ(busqueda->UltimaSentencia(),
            u"SELECT TOP 100 rowid,Cuenta,Concepto,Importe FROM APUNTES WITH(NOLOCK)  WHERE  (Concepto >= "
            "'Concepto 050')  ORDER BY Concepto,[rowid]"_qs);
  auto* rejilla = hijo<DBGrid>("DBGrid1");
  for (int fila = 0; fila < 2 * DatasetModel::kWindow; ++fila) rejilla->model()->index(fila, 0).data();
  EjecutarSQL(u"SELECT COUNT(*) FROM APUNTES"_qs, u"Database"_qs);
  EXPECT_EQ(filas->RecordCount(), 100);
  for (int columna = 0; columna < rejilla->ColumnCount(); ++columna)
    EXPECT_TRUE(rejilla->ColumnVisible(columna) == (rejilla->ColumnFieldName(columna) != u"rowid"))
        << "the row id is read, not shown";
  EXPECT_FALSE(filas->FieldByName(u"rowid"_qs).Visible()) << "nor listed";

  QList<Apunte> leidos;
  for (filas->First(); !filas->Eof(); filas->Next()) leidos.append(apunte());
  EXPECT_EQ(leidos.size(), esperados.size());
  EXPECT_TRUE(leidos == esperados) << "the rows are not read each once, in the order of the search";
  EXPECT_EQ(filas->RecordCount(), esperados.size());

  // A row chosen after several packets is the row at its place; with no key there is nothing to give.
  filas->SetRecNo(420);
  EXPECT_TRUE(apunte() == esperados[419]);
  QApplication::processEvents();
  EXPECT_EQ(rejilla->currentIndex().row(), 419);
  CapturaFormulario(*busqueda, u"busqueda-tabla-sin-clave"_qs);
  rejilla->setFocus();
  QTest::keyClick(rejilla, Qt::Key_Return);
  EXPECT_EQ(busqueda->ModalResult(), mrCancel);
  EXPECT_EQ(busqueda->ClaveSeleccionada, QString());
}

INSTANTIATE_TEST_SUITE_P(Motores, Genebusq, ::testing::Values("Microsoft SQL Server", "Paradox"));

namespace {

// Another copy of the program of the same user: writes its own entry once told.
void otraCopiaGraba() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table usuarios;
  usuarios.SetDatabaseName(BaseDatosBDE(kGeneral));
  usuarios.SetTableName(u"USUARIO"_qs);
  usuarios.Open();
  TModuloDatos modulo;
  modulo.Usuario = &usuarios;
  ModuloDatos = &modulo;
  CodigoUsuarioActual = u"LUIS"_qs;
  SecondProcess::Report(LeerDatosBusqueda(u"CLIENTES"_qs).isEmpty() ? u"leido"_qs : u"otro"_qs);
  SecondProcess::NextLine();
  GrabarDatosBusqueda(u"ARTICULO"_qs, u"Nombre(F)"_qs);
  SecondProcess::Report(u"grabado"_qs);
  SecondProcess::NextLine();
  ModuloDatos = nullptr;
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"busqueda-otra-copia"_qs, otraCopiaGraba);

class DatosBusquedaDosCopias : public ConexionesFixture, public ModuloConUsuarios {};

}  // namespace

TEST_F(DatosBusquedaDosCopias, BothEntriesOfOneUserAreKept) {
  Iniciar();
  CrearUsuarios(u"Codigo, Categoria, Configuracion"_qs, u"('LUIS', 'Normal', 'Otra=1')"_qs);
  CodigoUsuarioActual = u"LUIS"_qs;
  SecondProcess otra(u"busqueda-otra-copia"_qs, {{QString::fromLatin1(kCarpeta), carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"leido"_qs);
  // Both copies read the row before either writes.
  GrabarDatosBusqueda(u"CLIENTES"_qs, u"Codigo(A)(O)"_qs);
  otra.Send(u"graba"_qs);
  ASSERT_EQ(otra.ReadReport(), u"grabado"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  GrabarDatosBusqueda(u"CLIENTES"_qs, u"Codigo(A)(O)"_qs);  // unchanged: reads the row again
  EXPECT_EQ(LeerConfigUsuario(u"LUIS"_qs, u"DatosBusqueda"_qs), u"CLIENTES:Codigo(A)(O),ARTICULO:Nombre(F),"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"LUIS"_qs, u"Otra"_qs), u"1"_qs);
  EXPECT_EQ(LeerDatosBusqueda(u"ARTICULO"_qs), u"Nombre(F)"_qs);
}

namespace {

// 100,000 customers more, for counting what a search copies.
class GenebusqGrande : public Genebusq {
 protected:
  void SetUp() override {
    Genebusq::SetUp();
    for (int bloque = 0; bloque < 100; ++bloque) {
      QString filas;
      for (int i = 1; i <= 1000; ++i) {
        const int codigo = 1000 + bloque * 1000 + i;
        filas += u"(%1, 'Socio %2')"_qs.arg(codigo).arg(codigo, 6, 10, QLatin1Char('0')) + (i < 1000 ? u", "_qs : QString());
      }
      Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES "_qs + filas);
    }
    hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  }
};

}  // namespace

TEST_P(GenebusqGrande, EachModesFirstPageCopiesOnePacket) {
  abrir(u"CLIENTES"_qs);
  hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  auto* rejilla = hijo<DBGrid>("DBGrid1");
  const struct {
    const char* campos;
    const char* dato;
    const char* modo;
    const char* primero;
  } casos[] = {
      {"Nombre", "Socio 05", "BusquedaAproximada", "50000"},  {"Nombre", "o 0777", "BusquedaFonetica", "77700"},
      {"Nombre;Codigo", "Socio 0123", "BusquedaParcial", "12300"},
      {"Codigo", "", "BusquedaAproximada", "1"},
  };
  for (const auto& caso : casos) {
    buscar(QString::fromLatin1(caso.campos), QString::fromLatin1(caso.dato), caso.modo);
    ASSERT_TRUE(filas->Active()) << caso.modo;
    EXPECT_EQ(codigo(), QString::fromLatin1(caso.primero)) << caso.modo;
    // The grid reads its first windows from the packet.
    for (int fila = 0; fila < 2 * DatasetModel::kWindow; ++fila) rejilla->model()->index(fila, 0).data();
    EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, u"Database"_qs);
    EXPECT_EQ(filas->RecordCount(), 100) << caso.modo;
  }
  // Found nowhere: one statement, nothing copied.
  buscar(u"Nombre"_qs, u"zzz"_qs, "BusquedaFonetica");
  EXPECT_TRUE(filas->IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, GenebusqGrande, ::testing::Values("Microsoft SQL Server", "Paradox"));

namespace {

// Another copy of the program posts 10,000 customers in a transaction it
// keeps open until told, then rolls it back.
void otraCopiaPendiente() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Database& empresa = *Conexiones(servicios).Database;
  Table clientes;
  clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  clientes.SetTableName(u"CLIENTES"_qs);
  clientes.Open();
  empresa.StartTransaction();
  for (int codigo = 1001; codigo <= 11000; ++codigo) {
    clientes.Append();
    clientes.FieldByName(u"Codigo"_qs).SetAsInteger(codigo);
    clientes.FieldByName(u"Nombre"_qs).SetAsString(u"Cliente pendiente"_qs);
    clientes.FieldByName(u"Notas"_qs).SetAsString(QString(200, u'n'));
    clientes.Post();
  }
  SecondProcess::Report(u"pendiente"_qs);
  SecondProcess::NextLine();
  empresa.Rollback();
}

[[maybe_unused]] const bool pendiente = SecondProcess::RegisterJob(u"busqueda-pendiente"_qs, otraCopiaPendiente);

}  // namespace

TEST_P(Genebusq, HostileValuesAndAnotherCopysPendingPostsLeaveTheCommittedRows) {
  abrir(u"CLIENTES"_qs);
  hijo<QComboBox>("NumeroMaximoRegistros")->setCurrentText(u"Ilimitado"_qs);
  // Quotes and pattern characters first: the search box keeps 32,767 characters.
  const QString enorme = u"'%_[ÿ"_qs + QString(100 * 1024, u'a');
  for (const char* modo : {"BusquedaAproximada", "BusquedaFonetica", "BusquedaParcial"}) {
    SCOPED_TRACE(modo);
    buscar(u"Nombre"_qs, enorme, modo);
    ASSERT_TRUE(filas->Active());
    // Every name sorts after it; none holds it.
    if (QLatin1String(modo) == u"BusquedaAproximada")
      EXPECT_EQ(codigo(), u"1"_qs);
    else
      EXPECT_TRUE(filas->IsEmpty());
  }
  SecondProcess otra(u"busqueda-pendiente"_qs, {{QString::fromLatin1(kCarpeta), carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"pendiente"_qs);
  buscar(u"Nombre"_qs, u"Cliente"_qs, "BusquedaFonetica");
  filas->Last();
  EXPECT_EQ(filas->RecordCount(), 250) << "the other copy's posts are not seen, nor do they hold the search";
  EXPECT_EQ(codigo(), u"250"_qs);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
}

namespace {

// Another copy of the program holding ANA's row in edit until told.
void otraCopiaEditaUsuario() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table usuarios;
  usuarios.SetDatabaseName(BaseDatosBDE(kGeneral));
  usuarios.SetTableName(u"USUARIO"_qs);
  usuarios.Open();
  usuarios.Locate(u"Codigo"_qs, Variant::String(u"ANA"_qs));
  usuarios.Edit();
  SecondProcess::Report(u"editando"_qs);
  SecondProcess::NextLine();
  usuarios.Cancel();
}

[[maybe_unused]] const bool editaUsuario = SecondProcess::RegisterJob(u"busqueda-edita-usuario"_qs, otraCopiaEditaUsuario);

}  // namespace

// A table without a remembered entry has neither "(O)" nor "(M)": both boxes
// are cleared. A search accepted as it was remembered writes nothing, so
// another copy holding the user's row makes no message.
TEST_P(Genebusq, AnUnchangedSearchWritesNothingAndATableWithoutAnEntryClearsTheBoxes) {
  for (const char* caja : {"ResultadosOrdenados", "MostrarCamposMemo"}) hijo<QCheckBox>(caja)->setChecked(true);
  abrir(u"CLIENTES"_qs);
  EXPECT_FALSE(hijo<QCheckBox>("ResultadosOrdenados")->isChecked());
  EXPECT_FALSE(hijo<QCheckBox>("MostrarCamposMemo")->isChecked());
  hijo<QCheckBox>("ResultadosOrdenados")->setChecked(true);
  buscar(u"Nombre"_qs, u"Cliente 1"_qs);
  busqueda->pbConformeClick();
  ASSERT_EQ(LeerDatosBusqueda(u"CLIENTES"_qs), u"Nombre(A)(O)"_qs);

  SecondProcess otra(u"busqueda-edita-usuario"_qs, {{QString::fromLatin1(kCarpeta), carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  abrir(u"CLIENTES"_qs);
  EXPECT_TRUE(hijo<QCheckBox>("ResultadosOrdenados")->isChecked());
  buscar(u"Nombre"_qs, u"Cliente 2"_qs);
  busqueda->pbConformeClick();  // the presenter fails the test on any message
  EXPECT_EQ(busqueda->ModalResult(), mrYes);
  EXPECT_EQ(busqueda->ClaveSeleccionada, u"200"_qs);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"DatosBusqueda"_qs), u"PROVEEDO:Codigo(P),CLIENTES:Nombre(A)(O),"_qs);
}

// F2 and F3 choose Fonética as its radio button does: the ordering is
// cleared, and the entry saved after it holds no "(O)".
TEST_P(Genebusq, TheKeysThatChooseFoneticaClearTheOrdering) {
  const struct {
    Qt::Key tecla;
    const char* modoAntes;
  } casos[] = {{Qt::Key_F2, "BusquedaParcial"}, {Qt::Key_F3, "BusquedaAproximada"}, {Qt::Key_F2, "BusquedaFonetica"}};
  for (const auto& caso : casos) {
    abrir(u"CLIENTES"_qs);
    QApplication::setActiveWindow(busqueda.get());
    hijo<QRadioButton>(caso.modoAntes)->setChecked(true);
    hijo<QCheckBox>("ResultadosOrdenados")->setChecked(true);
    hijo<QLineEdit>("DatoABuscar")->setFocus();
    QTest::keyClick(hijo<QLineEdit>("DatoABuscar"), caso.tecla);
    EXPECT_TRUE(hijo<QRadioButton>("BusquedaFonetica")->isChecked()) << caso.modoAntes;
    EXPECT_FALSE(hijo<QCheckBox>("ResultadosOrdenados")->isChecked()) << caso.modoAntes;
  }
  // F3 on to the other modes leaves the box as the user sets it.
  hijo<QCheckBox>("ResultadosOrdenados")->setChecked(true);
  QTest::keyClick(hijo<QLineEdit>("DatoABuscar"), Qt::Key_F3);
  EXPECT_TRUE(hijo<QRadioButton>("BusquedaParcial")->isChecked());
  EXPECT_TRUE(hijo<QCheckBox>("ResultadosOrdenados")->isChecked());
  hijo<QLineEdit>("DatoABuscar")->setText(u"e 01"_qs);
  QTest::keyClick(hijo<QLineEdit>("DatoABuscar"), Qt::Key_F2);
  busqueda->pbBuscarClick(false);
  busqueda->pbConformeClick();
  EXPECT_FALSE(LeerDatosBusqueda(u"CLIENTES"_qs).contains(u"(O)"_qs)) << LeerDatosBusqueda(u"CLIENTES"_qs).toStdString();
}
