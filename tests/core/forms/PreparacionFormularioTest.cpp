#include "core/datamodule/Genemodu.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/ColumnasRejilla.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/Propiedades.h"
#include "core/startup/Apariencia.h"
#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"
#include "core/system/Comandos.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

TEST(PrepararFormulario, InstallsHooksOnlyWhereTheFormLeftTheEventEmpty) {
  ManualClock reloj;
  Form propio, vacio;
  int propios = 0;
  propio.OnCloseQuery = [&](Form&, bool&) { ++propios; };
  propio.OnMouseMove = [&](Form&, QMouseEvent*) { ++propios; };
  auto* conManejador = new Table(&propio);
  conManejador->SetTableName(u"CLIENTES"_qs);
  conManejador->BeforeDelete = [&](Dataset&) { ++propios; };
  conManejador->AfterPost = [&](Dataset&) { ++propios; };
  auto* sinManejador = new Table(&propio);
  sinManejador->SetTableName(u"PROVEEDO"_qs);
  auto* sinNombre = new Table(&propio);
  for (Form* formulario : {&propio, &vacio}) PrepararFormulario(*formulario);

  bool cerrar = true;
  propio.OnCloseQuery(propio, cerrar);
  propio.OnMouseMove(propio, nullptr);
  conManejador->BeforeDelete(*conManejador);
  conManejador->AfterPost(*conManejador);
  EXPECT_EQ(propios, 4) << "the form's own handlers stay";
  EXPECT_TRUE(sinManejador->BeforeDelete && sinManejador->AfterPost);
  EXPECT_FALSE(sinNombre->BeforeDelete || sinNombre->AfterPost) << "a table without a name is left alone";
  EXPECT_TRUE(propio.OnKeyDown && vacio.OnCloseQuery && vacio.OnMouseMove && vacio.OnKeyDown);

  // Activity on any control of the form puts off the idle end.
  auto* edit = new QLabel(&vacio);
  vacio.show();
  reloj.Advance(60000);
  QMouseEvent movimiento(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(edit, &movimiento);
  EXPECT_EQ(UltimaActividad, reloj.Now());
}

TEST(PrepararFormulario, ADoubleClickOpensOneSearchHoweverOftenTheFormIsSetUp) {
  Form formulario;
  auto* libre = new QLineEdit(&formulario);
  libre->setObjectName(u"EditCliente"_qs);
  auto* propio = new QLineEdit(&formulario);
  propio->setObjectName(u"EditPropio"_qs);
  propio->setProperty("OnDblClick", true);
  QList<QObject*> busquedas;
  Ganchos().AsociarTablaBusqueda = [&](QObject* sender) { busquedas.append(sender); };
  for (int vez = 0; vez < 3; ++vez) PrepararFormulario(formulario);
  for (QLineEdit* edit : {libre, propio}) QTest::mouseDClick(edit, Qt::LeftButton);
  EXPECT_EQ(busquedas, QList<QObject*>{libre});
}

TEST(PrepararFormulario, OptionsFieldsAndAdministratorHints) {
  ModoAdministradorActivado = true;
  VisualizacionPreviaActivada = true;
  TemporaryFolder carpeta;
  Form formulario;
  formulario.setObjectName(u"fGENEUSER"_qs);
  auto* previa = new QCheckBox(&formulario);
  previa->setObjectName(u"VisualizacionPrevia"_qs);
  auto* tabla = new Table(&formulario);
  tabla->setObjectName(u"Table1"_qs);
  auto* cambio = new Field(tabla, u"Cambio"_qs, ftFloat);
  auto* precio = new Field(tabla, u"PrecioVenta"_qs, ftFloat);
  precio->SetDisplayFormat(QString::fromLatin1(kFormatoProvisional));
  PlantillasNumericas[2] = u"#,##0.0000"_qs;
  PrepararFormulario(formulario);
  EXPECT_TRUE(previa->isChecked());
  EXPECT_EQ(cambio->property("Alignment").toInt(), int(Qt::AlignLeft));
  EXPECT_EQ(precio->DisplayFormat(), u"#,##0.0000"_qs);
  EXPECT_EQ(previa->toolTip(), u"fGENEUSER.VisualizacionPrevia"_qs);
}

TEST(FormatoNumerico, FirstMatchWins) {
  for (std::size_t i = 1; i <= 5; ++i) PlantillasNumericas[i] = u"P%1"_qs.arg(i);
  FormatoNumericoEstandar = u"STD"_qs;
  CamposPlantillasNumericas[1].SetText(u"Total\r\nCoste"_qs);
  CamposPlantillasNumericas[4].SetText(u"Unidades"_qs);
  const struct {
    const char* campo;
    const char* formato;
  } casos[] = {
      {"PrecioImporte", "P2"},  {"ImporteTotal", "P3"}, {"CosteUnidades", "P1"}, {"unidadesCaja", "P4"},
      {"TotalLinea", "P1"},     {"Nombre", "STD"},      {"importe", "P3"},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(FormatoNumerico(QString::fromLatin1(caso.campo)), QString::fromLatin1(caso.formato)) << caso.campo;
  CamposPlantillasNumericas[1].SetText(QString());
  EXPECT_EQ(FormatoNumerico(u"SubTotal"_qs), u"P3"_qs) << "TOTAL after every template list";
}

TEST(FormatoCampo, TimeAndDateFields) {
  TemporaryFolder carpeta;
  Table tabla;
  tabla.setObjectName(u"Table1"_qs);
  auto* hora = new Field(&tabla, u"HoraEntrada"_qs, ftDateTime);
  hora->setObjectName(u"Table1HoraEntrada"_qs);
  auto* alta = new Field(&tabla, u"Alta"_qs, ftDateTime);
  alta->setObjectName(u"Table1Alta"_qs);
  FormatoCampo(hora);
  FormatoCampo(alta);
  EXPECT_EQ(hora->DisplayFormat(), u"HH:MM:SS"_qs);
  EXPECT_TRUE(alta->OnGetText && hora->OnGetText);
  EXPECT_TRUE(alta->DisplayFormat().isEmpty());
}

TEST(FormatoCampo, ADateHoldingZeroOrADayOf1899IsShownEmpty) {
  TemporaryFolder carpeta;
  Table tabla;
  tabla.SetDatabaseName(carpeta.Path());
  tabla.SetTableName(u"ALTAS"_qs);
  tabla.FieldDefs().Add(u"Codigo"_qs, ftInteger);
  tabla.FieldDefs().Add(u"Alta"_qs, ftDateTime);
  tabla.IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  tabla.CreateTable();
  tabla.Open();
  Field& alta = tabla.FieldByName(u"Alta"_qs);
  FormatoCampo(&alta);
  const struct {
    double valor;  // days since 30 December 1899
    const char* mostrado;
  } casos[] = {{0, ""}, {1, ""}, {0.5, ""}, {45356, "05/03/2024"}, {45356.25, "05/03/2024 06:00:00"}};
  int codigo = 0;
  for (const auto& caso : casos) {
    tabla.Append();
    tabla.FieldByName(u"Codigo"_qs).SetAsInteger(++codigo);
    alta.SetAsDateTime(TDateTime(caso.valor));
    tabla.Post();
    EXPECT_EQ(alta.DisplayText(), QString::fromLatin1(caso.mostrado)) << caso.valor;
  }
  tabla.Append();
  tabla.FieldByName(u"Codigo"_qs).SetAsInteger(++codigo);
  tabla.Post();
  EXPECT_EQ(alta.DisplayText(), QString()) << "no date";
}

TEST(PanelesEstado, OnePanelPerPieceUpToTheFirstEmptyOne) {
  Ganchos().Traducir = [](const QString& texto, const QString& valores) { return texto + valores; };
  const struct {
    const char* texto;
    QStringList paneles;
  } casos[] = {
      {"Uno|Dos|Tres", {u"Uno;v"_qs, u"Dos;v"_qs, u"Tres;v"_qs}},
      {"Uno||Tres", {u"Uno;v"_qs}},
      {"", {u";v"_qs}},
  };
  QStatusBar barra;
  for (const auto& caso : casos) {
    PanelesEstado(barra, QString::fromLatin1(caso.texto), u";v"_qs);
    QStringList paneles;
    for (QLabel* panel : barra.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
      paneles << panel->text();
      EXPECT_GT(panel->width(), barra.fontMetrics().horizontalAdvance(panel->text())) << "the text fits";
    }
    EXPECT_EQ(paneles, caso.paneles) << caso.texto;
  }
  barra.setProperty("SimplePanel", true);
  PanelesEstado(barra, u"Simple|Dos"_qs, u"!"_qs);
  EXPECT_EQ(barra.currentMessage(), u"Simple|Dos!"_qs);
  EXPECT_TRUE(barra.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
}

TEST(AjustarTamanoFormulario, FitDesignAndScreenClasses) {
  QWidget principal;
  Ganchos().VentanaPrincipal = [&] { return &principal; };
  const struct {
    QSize principal;
    const char* modo;
    bool menu;
    QSize esperado;
  } casos[] = {
      {{1280, 1024}, "", false, {969, 609}},   {{1024, 767}, "", false, {760, 520}},
      {{1023, 900}, "", false, {760, 520}},    {{800, 600}, "Fit", false, {796, 596}},
      {{800, 600}, "Design", true, {300, 180}}, {{800, 600}, "Design", false, {300, 200}},
  };
  for (const auto& caso : casos) {
    principal.resize(caso.principal);
    QWidget formulario;
    if (caso.menu) new QMenuBar(&formulario);
    formulario.resize(300, 200);
    AjustarTamanoFormulario(formulario, QString::fromLatin1(caso.modo));
    EXPECT_EQ(formulario.size(), caso.esperado) << caso.modo;
  }
}

TEST(PropiedadesPublicadas, NamesCompareExactlyAndFailuresAreSwallowed) {
  QLabel etiqueta;
  EXPECT_FALSE(TienePropiedad(nullptr, u"Hint"_qs));
  EXPECT_TRUE(TienePropiedad(&etiqueta, u"Caption"_qs));
  EXPECT_FALSE(TienePropiedad(&etiqueta, u"caption"_qs));
  EXPECT_EQ(LeerPropiedad(&etiqueta, u"NoExiste"_qs), QVariant(QString()));
  EscribirPropiedad(&etiqueta, u"caption"_qs, u"x"_qs);
  EscribirPropiedad(&etiqueta, u"Caption"_qs, u"Nombre"_qs);
  EXPECT_EQ(etiqueta.text(), u"Nombre"_qs);
}

TEST(EscribirManifiesto, WritesOrDeletesAndRestartsOnlyOnChange) {
  const TemporaryFolder carpeta;  // the program folder
  RecordingLauncher lanzador;
  ScriptedPresenter mensajes;
  ParametroL = u"/inst/A.CFG"_qs;
  CodigoUsuarioActual = u"PEDRO"_qs;
  ParametroT = u"ENG"_qs;
  const QString archivo = ArchivoManifiesto();
  EXPECT_EQ(QFileInfo(archivo).dir().canonicalPath(), QDir(carpeta.Path()).canonicalPath());
  mensajes.Expect(u"I"_qs);
  EscribirManifiesto(u"evo+"_qs);
  ASSERT_TRUE(QFile::exists(archivo));
  QFile escrito(archivo);
  ASSERT_TRUE(escrito.open(QIODevice::ReadOnly));
  const QByteArray contenido = escrito.readAll();
  EXPECT_TRUE(contenido.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"));
  EXPECT_TRUE(contenido.contains("        publicKeyToken=\"6595b64144ccf1df\"\r\n"));
  EXPECT_EQ(mensajes.Texts(), QStringList{u"La aplicación se ha reconfigurado y será reiniciada a continuación"_qs});
  ASSERT_EQ(lanzador.Calls().size(), 1);
  EXPECT_EQ(lanzador.Calls()[0].program, QFileInfo(QCoreApplication::arguments().first()).absoluteFilePath());
  EXPECT_EQ(lanzador.Calls()[0].arguments, SepararParametros(ParametrosLlamada()))
      << "started again as the suite's programs are";
  EXPECT_TRUE(Application::Instance()->Terminated());
  Application::Instance()->ResetTerminated();

  EscribirManifiesto(u"evo+"_qs);  // already there: nothing
  EXPECT_EQ(lanzador.Calls().size(), 1);
  mensajes.Expect(u"I"_qs);
  EscribirManifiesto(u"evo"_qs);
  EXPECT_FALSE(QFile::exists(archivo));
  EXPECT_EQ(lanzador.Calls().size(), 2);
  EscribirManifiesto(u"clasico"_qs);
  EXPECT_EQ(lanzador.Calls().size(), 2);
  Application::Instance()->ResetTerminated();
}

TEST(AplicarAspecto, EvoLooksChangeFontsAndColoursAndFrameColouredCheckBoxes) {
  const struct {
    const char* aspecto;
    bool marco;
  } casos[] = {{"evo+", true}, {"evo", false}};
  for (const auto& caso : casos) {
    AspectoAplicacion = QString::fromLatin1(caso.aspecto);
    ConstruirAspecto();
    Form formulario;
    auto* etiqueta = new QLabel(&formulario);
    etiqueta->setObjectName(u"Label1"_qs);
    etiqueta->setFont(QFont(u"MS Sans Serif"_qs, 9));
    auto* casilla = new QCheckBox(&formulario);
    casilla->setObjectName(u"CheckBox1"_qs);
    QPalette roja = casilla->palette();
    roja.setColor(QPalette::WindowText, Qt::red);
    casilla->setPalette(roja);
    auto* paginas = new QTabWidget(&formulario);
    paginas->setObjectName(u"PageControl1"_qs);
    AplicarAspecto(formulario);
    EXPECT_EQ(paginas->tabBar()->palette().color(QPalette::Button), QColor(234, 234, 255));
    EXPECT_EQ(etiqueta->font().family(), u"Segoe UI"_qs);
    EXPECT_EQ(etiqueta->font().pointSize(), 8);
    EXPECT_EQ(formulario.palette().color(QPalette::Window), QColor(234, 234, 255));
    int marcos = 0;
    for (QFrame* marco : formulario.findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly))
      if (!qobject_cast<QLabel*>(marco)) ++marcos;
    EXPECT_EQ(marcos, caso.marco ? 1 : 0) << caso.aspecto;
  }
}

TEST(AplicarAspecto, TheMdiParentAndItsChildrenTakeTheMdiColour) {
  AspectoAplicacion = u"evo+"_qs;
  ConstruirAspecto();
  ASSERT_NE(ColorFormularioMDI, ColorFormularioNormal);
  QMainWindow principal;
  auto* area = new QMdiArea;
  principal.setCentralWidget(area);
  auto* hija = new Form;
  area->addSubWindow(hija);
  Form otro;
  for (QWidget* formulario : std::initializer_list<QWidget*>{&principal, hija, &otro}) AplicarAspecto(*formulario);
  EXPECT_EQ(principal.palette().color(QPalette::Window), ColorFormularioMDI);
  EXPECT_EQ(hija->palette().color(QPalette::Window), ColorFormularioMDI);
  EXPECT_EQ(otro.palette().color(QPalette::Window), ColorFormularioNormal);
}

TEST(AjustarColumnasRejilla, SpreadsTheVisibleColumnsOverTheWidth) {
  TemporaryFolder carpeta;
  Table tabla;
  tabla.SetDatabaseName(carpeta.Path());
  tabla.SetTableName(u"REJILLA"_qs);
  for (const char* nombre : {"A", "B", "C", "D"})
    tabla.FieldDefs().Add(QString::fromLatin1(nombre), ftString, nombre[0] == 'C' ? 20 : 10);
  tabla.IndexDefs().Add(QString(), u"A"_qs, ixPrimary);
  tabla.CreateTable();
  tabla.Open();
  DataSource fuente;
  fuente.SetDataSet(&tabla);
  DBGrid rejilla;
  rejilla.SetSource(&fuente);
  rejilla.resize(500, 200);
  rejilla.SetColumnVisible(3, false);
  const struct {
    const char* opciones;
    bool indicador;
    QList<int> anchos;
  } casos[] = {
      {"", true, {117, 117, 230}},
      {"", false, {120, 120, 236}},
      {"ColumnaInicial:1", true, {50, 58, 357}},  // 58.5 rounds to even
      {"ColumnaInicial:1,X", true, {50, 58, 357}},
  };
  for (const auto& caso : casos) {
    rejilla.SetShowIndicator(caso.indicador);
    rejilla.SetColumnWidth(0, 50);
    AjustarColumnasRejillaOpciones(rejilla, QString::fromLatin1(caso.opciones));
    EXPECT_EQ((QList<int>{rejilla.ColumnWidth(0), rejilla.ColumnWidth(1), rejilla.ColumnWidth(2)}), caso.anchos)
        << caso.opciones;
    EXPECT_FALSE(rejilla.ColumnVisible(3));
  }
}

TEST(PrepararFormulario, ListsShowTheirItemsTranslatedAndCombosAtHeight15) {
  IdiomaActual = u"ENG"_qs;
  Ganchos().TraducirLista = [](const QString& texto) { return u"EN:"_qs + texto; };
  Form formulario;
  auto* combo = new QComboBox(&formulario);
  combo->setObjectName(u"ComboBox1"_qs);
  combo->addItem(u"Uno"_qs);
  auto* editable = new QComboBox(&formulario);
  editable->setObjectName(u"ComboBox2"_qs);
  editable->setEditable(true);
  auto* lista = new QListWidget(&formulario);
  lista->setObjectName(u"ListBox1"_qs);
  lista->addItem(u"Dos"_qs);
  PrepararFormulario(formulario);
  IdiomaActual.clear();
  const QStyleOptionViewItem opcion;
  const QModelIndex primero = combo->model()->index(0, 0);
  EXPECT_EQ(combo->view()->itemDelegate()->sizeHint(opcion, primero).height(), 15);
  EXPECT_EQ(static_cast<QStyledItemDelegate*>(combo->itemDelegate())->displayText(u"Uno"_qs, QLocale()), u"EN:Uno"_qs);
  EXPECT_EQ(combo->itemText(0), u"Uno"_qs) << "the item kept stays";
  auto* propio = qobject_cast<QStyledItemDelegate*>(editable->itemDelegate());
  EXPECT_TRUE(!propio || propio->displayText(u"Uno"_qs, QLocale()) == u"Uno"_qs) << "an editable combo is left alone";
  auto* delegado = static_cast<QStyledItemDelegate*>(lista->itemDelegate());
  EXPECT_EQ(delegado->displayText(u"Dos"_qs, QLocale()), u"EN:Dos"_qs);
  EXPECT_NE(delegado->sizeHint(opcion, lista->model()->index(0, 0)).height(), 15) << "a list keeps its style";
  Ganchos().TraducirLista = nullptr;
}
