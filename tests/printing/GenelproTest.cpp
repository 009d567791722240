#include "core/datamodule/GruposAnalisis.h"
#include "core/datamodule/SalidaInforme.h"
#include "core/forms/CabeceraListado.h"
#include "core/forms/GanchosFormulario.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/report/Band.h"
#include "platform/report/PageExport.h"
#include "platform/report/PagePainter.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/TextLines.h"
#include "printing/ParametrosListado.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/printing/ListadoFixture.h"

#include <QScopedValueRollback>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QPushButton>

namespace {

using Genelpro = ListadoFixture;

// The cell of an item on a page, by its name and the text it printed.
const PageCell* Celda(const PageRecord& pagina, const QString& item, const QString& texto) {
  for (const PageCell& celda : pagina.cells)
    if (celda.item == item && celda.text == texto) return &celda;
  return nullptr;
}

double Ancho(const ReportItem& elemento) { return elemento.Width; }

// A main window whose active MDI child is a listing form with its options:
// the form a listing is asked from while it lives.
struct FormularioDeOpciones {
  FormularioDeOpciones() : area(new QMdiArea(&ventana)), opciones(new QWidget), desde(new QLineEdit(u"5"_qs, opciones)) {
    ventana.setCentralWidget(area);
    opciones->setObjectName(u"fGENELVEN"_qs);
    desde->setObjectName(u"EditDesdeCodigo"_qs);
  }
  void Mostrar(const QList<QWidget*>& controles) {
    area->setActiveSubWindow(area->addSubWindow(opciones));
    ventana.show();
    Ganchos().VentanaPrincipal = [this] { return &ventana; };
    ListaControlesListado = controles;
  }
  ~FormularioDeOpciones() {
    Ganchos().VentanaPrincipal = nullptr;
    ListaControlesListado.clear();
  }

  QMainWindow ventana;
  QMdiArea* area;
  QWidget* opciones;
  QLineEdit* desde;
};

}  // namespace

TEST_F(Genelpro, ColumnsTakeTheBandWidthOfThePaperAndOrientation) {
  Ventas(1);
  struct Caso {
    QPageLayout::Orientation orientacion;
    QString papel;
    int ancho, margen;
  } casos[] = {{QPageLayout::Portrait, QString(), 750, 5},
               {QPageLayout::Portrait, u"A3"_qs, 1047, 5},
               {QPageLayout::Landscape, u"A4"_qs, 1047, 10},
               {QPageLayout::Landscape, u"A3"_qs, 1511, 10}};
  for (const Caso& caso : casos) {
    informe->Orientacion = caso.orientacion;
    informe->Papel = caso.papel;
    informe->QuickReportBeforePrint();
    const ReportEngine& quickReport = informe->QuickReport();
    EXPECT_EQ(quickReport.Page.LeftMargin, caso.margen) << caso.ancho;
    EXPECT_EQ(quickReport.Page.RightMargin, caso.margen) << caso.ancho;
    for (const char* nombre : {"QRTitulo", "TituloNombreEmpresa", "QRNumeroPagina"})
      EXPECT_EQ(Ancho(Elemento(nombre)), caso.ancho) << nombre;
    EXPECT_EQ(Elemento("QRFechaImpreso").Left + Elemento("QRFechaImpreso").Width, caso.ancho);
    // Five listed fields, weighing 9, 20, 13, 10 and 10; the last column ends at the band's width.
    const ReportItem& ultima = Elemento("LBDetalle4");
    EXPECT_NEAR(ultima.Left + ultima.Width + 2, caso.ancho, 1) << caso.ancho;
    EXPECT_EQ(informe->QuickReport().FindItem(u"LBDetalle5"_qs), nullptr);  // the instructions never print
  }
  // Portrait A4: 9 × 750 / 62 = 108.9 → 109; 20 × 750 / 62 = 241.9 → 242.
  informe->Orientacion = QPageLayout::Portrait;
  informe->Papel = u"A4"_qs;
  informe->QuickReportBeforePrint();
  EXPECT_EQ((std::vector<double>{Elemento("LBDetalle0").Left, Elemento("LBDetalle0").Width, Elemento("LBDetalle1").Left,
                                 Elemento("LBDetalle1").Width, Elemento("LBTitulo1").Top, Elemento("LBTotales1").Top}),
            (std::vector<double>{0, 107, 109, 240, 79, 8}));
  EXPECT_EQ(informe->QuickReport().FindBand(u"BandaDetalle"_qs)->Height, 15);
  EXPECT_EQ(informe->QuickReport().FindBand(u"BandaTotales"_qs)->Height, 17);
  EXPECT_EQ(Elemento("LBDetalle2").Alignment & Qt::AlignRight, Qt::AlignRight);  // the amount
}

TEST_F(Genelpro, AColumnWeighsTheDisplayWidthItsFieldWasGiven) {
  Ventas(1);
  ventas.Fields(1).SetDisplayWidth(40);
  informe->QuickReportBeforePrint();
  // 9 × 750 / 82 = 82.3 → 82; 40 × 750 / 82 = 365.9 → 366.
  EXPECT_EQ((std::vector<double>{Elemento("LBDetalle0").Width, Elemento("LBDetalle1").Left, Elemento("LBDetalle1").Width}),
            (std::vector<double>{80, 82, 364}));
}

// The printed forms' configuration: many fields, a short mode and a memo
// weighing little, so that their columns by weight alone cut the header and the mode.
TEST_F(Genelpro, HeadersAndShortValuesPrintWholeWhenTheBandHasRoomForThem) {
  Ejecutar(u"CREATE TABLE IMPRESO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, TipoDocumento VARCHAR(40) NULL, "
           "Modo VARCHAR(10) NULL, Instrucciones TEXT NULL, Formato VARCHAR(30) NULL, "
           "ImpresoraPorDefecto VARCHAR(100) NULL, CONSTRAINT IMPRESO_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO IMPRESO VALUES ('FAC', 'Factura', 'Factura', 'Grafico', 'L1', 'F', 'Laser')"_qs);
  Table impresos;
  impresos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  impresos.SetTableName(u"IMPRESO"_qs);
  impresos.Open();
  informe = std::make_unique<TfGENELPRO>();
  informe->SetDataSet(&impresos);
  informe->AjustarPalabras = true;
  // By display widths, by a list of weights, and with one field weighing nearly all.
  for (const QString& anchos : {QString(), u"10|40|8|10|10|30|100"_qs, u"1|1|1|1|1|1|1000"_qs}) {
    informe->ListaAnchos = anchos;
    RecordedPages paginas;
    ASSERT_EQ(informe->QuickReport().Run(paginas), 1);
    const PageRecord pagina = paginas.Page(1);
    int titulos = 0;
    for (const PageCell& celda : pagina.cells) {
      if (!celda.item.startsWith(u"LBTitulo"_qs)) continue;
      ++titulos;
      EXPECT_GE(celda.rect.width(), QFontMetricsF(UnitFont(celda.font)).horizontalAdvance(celda.text))
          << celda.text.toStdString() << " with " << anchos.toStdString();
    }
    EXPECT_EQ(titulos, 7);
    EXPECT_EQ(TextsOfItem(pagina, u"LBDetalle3"_qs), QStringList{u"Grafico"_qs}) << anchos.toStdString();
    const ReportItem& ultima = Elemento("LBDetalle6");
    EXPECT_LE(ultima.Left + ultima.Width + 2, 750 + 3) << anchos.toStdString();  // half a pixel a column rounds up
  }
}

TEST_F(Genelpro, DetailCellsFormatTheirValuesAndFollowEachRecordsInstructions) {
  Ventas(3);
  RecordedPages paginas;
  ASSERT_EQ(informe->QuickReport().Run(paginas), 1);
  const PageRecord pagina = paginas.Page(1);
  // Row 2 has no date: nothing prints, its cell only keeps the column; the hours print as a time.
  EXPECT_EQ(TextsOfItem(pagina, u"LBDetalle3"_qs), (QStringList{u"05/03/2024"_qs, QString(), u"05/03/2024"_qs}));
  EXPECT_EQ(TextsOfItem(pagina, u"LBDetalle4"_qs), QStringList(3, u"08:05:09"_qs));
  const PageCell* normal = Celda(pagina, u"LBDetalle1"_qs, u"Venta 1"_qs);
  const PageCell* negrita = Celda(pagina, u"LBDetalle1"_qs, u"Venta 3"_qs);
  ASSERT_TRUE(normal && negrita);
  EXPECT_FALSE(normal->font.bold());
  EXPECT_TRUE(negrita->font.bold());
  EXPECT_EQ(normal->alignment & Qt::AlignRight, 0);
  EXPECT_EQ(negrita->alignment & Qt::AlignRight, Qt::AlignRight);
  // Totals for the float column only, the others keeping their columns
  // empty; the instructions text never prints.
  EXPECT_EQ(TextsOfItem(pagina, u"LBTotales2"_qs), QStringList{u"9"_qs});
  EXPECT_EQ(TextsOfItem(pagina, u"LBTotales0"_qs), QStringList{QString()});
  EXPECT_FALSE(TextsOf(pagina).join(u'|').contains(u"JR"_qs));
  // A list naming other fields gives no total at all.
  informe->ListaTotales = u"Cantidad,Codigo"_qs;
  RecordedPages sinTotales;
  informe->QuickReport().Run(sinTotales);
  EXPECT_EQ(TextsOfItem(sinTotales.Page(1), u"LBTotales2"_qs), QStringList{QString()});
}

TEST_F(Genelpro, AColumnListingOnPaperPutsTitlesAndFooterWhereTheLayoutSays) {
  Ventas(60);
  informe->Orientacion = QPageLayout::Landscape;
  informe->Papel = u"A3"_qs;
  const QString archivo = carpeta.File(u"ventas.pdf"_qs);
  GenerarSalidaInforme(informe->QuickReport(), u"PDF:"_qs + archivo);
  const std::vector<PdfWord> palabras = PdfWords(archivo);
  const auto primera = [&](const QString& texto) {
    for (const PdfWord& palabra : palabras)
      if (palabra.text == texto) return palabra;
    return PdfWord{};
  };
  // 10 mm of margin, then 9 × 1511 / 62 = 219.3 → 219 report pixels of the first column, at 0.75 points each.
  EXPECT_NEAR(primera(u"Codigo"_qs).x, 28.35, 1);
  EXPECT_NEAR(primera(u"Nombre"_qs).x, 28.35 + 219 * 0.75, 1);
  // The titles 79 below the top margin; Importe after 219 + 487, its total on the last page under it.
  EXPECT_NEAR(primera(u"Codigo"_qs).y, 28.35 + 79 * 0.75, 1);
  const double importe = 28.35 + 706 * 0.75;
  EXPECT_NEAR(primera(u"Importe"_qs).x, importe, 1);
  EXPECT_EQ(primera(u"Impreso"_qs).page, 1);
  EXPECT_EQ(primera(u"Listado"_qs).page, 1);
  int paginas = 0;
  for (const PdfWord& palabra : palabras) paginas = std::max(paginas, palabra.page);
  EXPECT_EQ(PdfInfo(archivo).value(u"Pages"_qs).toInt(), paginas);
  EXPECT_GE(paginas, 2);
  // The total as the listing formats it (1,5 + 3 + ... + 90 = 2745).
  RecordedPages grabadas;
  informe->QuickReport().Run(grabadas);
  const QStringList totales = TextsOfItem(grabadas.Page(grabadas.PageCount()), u"LBTotales2"_qs);
  ASSERT_EQ(totales.size(), 1);
  EXPECT_EQ(QString(totales[0]).remove(u'.').section(u',', 0, 0), u"2745"_qs);
  const PdfWord total = primera(totales[0]);
  EXPECT_EQ(total.page, paginas);
  EXPECT_GT(total.x, importe);
  EXPECT_LT(total.x, primera(u"F.Alta"_qs).x);
  // Every hour as a time; the sale without a date prints none.
  const auto veces = [&](const QString& texto) {
    return std::count_if(palabras.begin(), palabras.end(), [&](const PdfWord& palabra) { return palabra.text == texto; });
  };
  EXPECT_EQ(veces(u"08:05:09"_qs), 60);
  EXPECT_EQ(veces(u"05/03/2024"_qs), 59);
}

TEST_F(Genelpro, ACardListingOnPaperPutsItsCardsAndTheHeaderWhereTheLayoutSays) {
  Parametros(u"ListarRestricciones VARCHAR(2) NULL"_qs, u"'SI'"_qs);
  Ventas(20);
  informe = std::make_unique<TfGENELPRO>();
  informe->SetDataSet(&ventas);
  informe->ListaTotales = u"Todas"_qs;
  informe->FormatoFicha = true;
  informe->NumeroColumnasFicha = 2;
  informe->Rangos = {{u"Codigo"_qs, u"1"_qs, u"9"_qs}};
  informe->Filtros = u"(Importe > 0)"_qs;
  const QString archivo = carpeta.File(u"fichas.pdf"_qs);
  GenerarSalidaInforme(informe->QuickReport(), u"PDF:"_qs + archivo);
  const std::vector<PdfWord> palabras = PdfWords(archivo);
  std::vector<PdfWord> titulosCodigo;
  QList<int> paginasCabecera;
  for (const PdfWord& palabra : palabras) {
    if (palabra.text == u"Codigo"_qs) titulosCodigo.push_back(palabra);
    if (palabra.text == u"RESTRICCIONES"_qs) paginasCabecera.append(palabra.page);
  }
  const auto primera = [&](const QString& texto) {
    for (const PdfWord& palabra : palabras)
      if (palabra.text == texto) return palabra;
    return PdfWord{};
  };
  // 5 mm of margin; five fields in two card columns of 375: three rows 17 apart, the band 51 + 32 high.
  const double margen = 14.17;
  const double px = 0.75;
  ASSERT_GE(titulosCodigo.size(), 2u);
  const PdfWord& codigo = titulosCodigo[0];
  EXPECT_NEAR(codigo.x, margen + 4 * px, 0.5);
  EXPECT_NEAR(primera(u"Nombre"_qs).y - codigo.y, 17 * px, 0.5);
  EXPECT_NEAR(primera(u"Importe"_qs).y - codigo.y, 34 * px, 0.5);
  EXPECT_NEAR(primera(u"F.Alta"_qs).x, margen + (375 + 4) * px, 0.5);
  EXPECT_NEAR(primera(u"F.Alta"_qs).y, codigo.y, 0.5);
  EXPECT_NEAR(primera(u"05/03/2024"_qs).x, margen + (375 + 4 + 121 + 4) * px, 0.5);
  EXPECT_NEAR(primera(u"H.Entrada"_qs).y - codigo.y, 17 * px, 0.5);
  EXPECT_NEAR(titulosCodigo[1].y - codigo.y, 83 * px, 0.5);
  // The header of restrictions on the first page only; no totals in cards.
  EXPECT_EQ(paginasCabecera, QList<int>{1});
  EXPECT_EQ(primera(u"LISTADO:"_qs).page, 1);
  EXPECT_EQ(primera(u"(Importe"_qs).page, 1);
  EXPECT_GE(PdfInfo(archivo).value(u"Pages"_qs).toInt(), 2);
  // 1,5 + 3 + ... + 30, however the amounts are formatted.
  EXPECT_TRUE(std::none_of(palabras.begin(), palabras.end(), [](const PdfWord& palabra) {
    return QString(palabra.text).remove(u'.').section(u',', 0, 0) == u"315"_qs;
  }));
}

TEST_F(Genelpro, CardsPlaceEveryFieldInTheirColumnsAndPrintNoTotals) {
  Ventas(3);
  informe->FormatoFicha = true;
  informe->NumeroColumnasFicha = 2;
  informe->SepararPorPaginas = true;
  RecordedPages paginas;
  EXPECT_EQ(informe->QuickReport().Run(paginas), 3);  // one card a page
  // Five fields in two columns: three rows, the band 51 + 32 high, framed.
  const Band& detalle = *informe->QuickReport().FindBand(u"BandaDetalle"_qs);
  EXPECT_EQ(detalle.Height, 83);
  EXPECT_EQ((std::vector<double>{Elemento("LBDetalle2").Top, Elemento("LBDetalle3").Top, Elemento("LBDetalle3").Left}),
            (std::vector<double>{51, 17, 375 + 4 + 121 + 4}));
  const ReportItem& borde = Elemento("BordeBandaDetalle");
  EXPECT_TRUE(borde.Enabled);
  EXPECT_EQ((std::vector<double>{borde.Top, borde.Width, borde.Height}), (std::vector<double>{2, 748, 81}));
  EXPECT_EQ(informe->QuickReport().FindItem(u"LBTotales2"_qs), nullptr);
  EXPECT_EQ(TextsOfItem(paginas.Page(3), u"LBTitulo1"_qs), QStringList{u"Nombre"_qs});
}

TEST_F(Genelpro, AGroupHeaderShowsTheUnlistedGroupFieldsWithTheirValues) {
  Ventas(2);
  ventas.FieldByName(u"Nombre"_qs).SetTag(999);
  informe->ExpresionGrupo = u"'Nombre'"_qs;
  RecordedPages paginas;
  informe->QuickReport().Run(paginas);
  const PageRecord pagina = paginas.Page(1);
  EXPECT_EQ(TextsOfItem(pagina, u"LBGrupo0"_qs), QStringList(2, u"Nombre:"_qs));
  EXPECT_EQ(TextsOfItem(pagina, u"LBGrupo1"_qs), (QStringList{u"Venta 1"_qs, u"Venta 2"_qs}));
  const PageCell* titulo = Celda(pagina, u"LBGrupo0"_qs, u"Nombre:"_qs);
  const PageCell* valor = Celda(pagina, u"LBGrupo1"_qs, u"Venta 1"_qs);
  ASSERT_TRUE(titulo && valor);
  EXPECT_NEAR(valor->rect.left() - titulo->rect.right(), 4, 0.01);
  EXPECT_EQ(titulo->color, QColor(Qt::darkBlue));
}

TEST_F(Genelpro, TheCompanysParametersGiveTheRestrictionsHeaderMarginAndCompression) {
  Parametros(u"ListarRestricciones VARCHAR(2) NULL, MargenIzquierdoImpresora INTEGER NULL, "
             "FCompresionListados FLOAT NULL, FCompresionTLetraListados FLOAT NULL, TipoLetraListados VARCHAR(40) NULL, "
             "TipoCombinacionTramas VARCHAR(20) NULL"_qs,
             u"'SI', 8, 0.5, 1, 'Por Defecto', 'Basica'"_qs);
  Ventas(70);
  informe = std::make_unique<TfGENELPRO>();  // the parameters are read as it is made
  informe->SetDataSet(&ventas);
  informe->Rangos = {{u"Codigo"_qs, u"1"_qs, u"9"_qs}, {u"Nombre"_qs, QString(), QString()}};
  informe->Filtros = u"(Nombre = 'Venta 1')"_qs;
  RecordedPages paginas;
  ASSERT_GE(informe->QuickReport().Run(paginas), 2);
  EXPECT_EQ(informe->QuickReport().Page.LeftMargin, 8);
  EXPECT_FALSE(TextsOfItem(paginas.Page(1), u"MemoRestricciones"_qs).isEmpty());
  EXPECT_EQ(Elemento("MemoRestricciones").Caption,
            u"RESTRICCIONES Y OPCIONES DEL LISTADO: Desde Codigo: 1, Hasta Codigo: 9,  Filtros: (Nombre = 'Venta 1')"_qs);
  EXPECT_TRUE(TextsOfItem(paginas.Page(2), u"MemoRestricciones"_qs).isEmpty());
  // Half as wide; "Basica" frames the titles black on white.
  EXPECT_EQ(Elemento("TituloNombreEmpresa").Width, 375);
  EXPECT_EQ(Elemento("LBDetalle1").Left, 54);  // 109 × 0.5
  EXPECT_TRUE(Elemento("LBTitulo0").Frame);
  EXPECT_EQ(Elemento("LBTitulo0").BackColor, QColor(Qt::white));
  EXPECT_FALSE(Elemento("LBDetalle0").BackColor.isValid());
}

TEST_F(Genelpro, TheRestrictionsHeaderBeginsWithTheOptionsOfTheFormItWasAskedFrom) {
  Parametros(u"ListarRestricciones VARCHAR(2) NULL"_qs, u"'SI'"_qs);
  Ventas(2);
  FormularioDeOpciones formulario;
  QWidget* opciones = formulario.opciones;
  auto* bajas = new QCheckBox(u"Con Bajas"_qs, opciones);
  bajas->setObjectName(u"cbBajas"_qs);
  bajas->setChecked(true);
  auto* oculto = new QLineEdit(u"x"_qs, opciones);
  oculto->setObjectName(u"EditOculto"_qs);
  oculto->hide();
  auto* previa = new QCheckBox(u"Visualización Previa"_qs, opciones);
  previa->setObjectName(u"VisualizacionPrevia"_qs);
  previa->setChecked(true);
  (new QPushButton(u"Grupos"_qs, opciones))->setObjectName(u"pbRangoGruposAnalisis"_qs);
  RangosGruposAnalisis = u"ALMACEN|5|9\r\nZonaVenta||3"_qs;
  formulario.Mostrar({formulario.desde, bajas, oculto, previa});
  informe = std::make_unique<TfGENELPRO>();
  informe->SetDataSet(&ventas);
  informe->Filtros = u"(Codigo = 1)"_qs;
  RecordedPages paginas;
  informe->QuickReport().Run(paginas);
  RangosGruposAnalisis.clear();
  EXPECT_EQ(Elemento("MemoRestricciones").Caption,
            u"RESTRICCIONES Y OPCIONES DEL LISTADO:  Desde Codigo: 5, Con Bajas, Desde ALMACEN: 5, Hasta ALMACEN: 9, "
            "Desde Zona Venta: , Hasta Zona Venta: 3,  Filtros: (Codigo = 1)"_qs);
}

// The switch puts the options of the form asked from under the title
// whatever the general parameters say; without it, nothing is added.
TEST_F(Genelpro, TheSwitchToAlwaysListRestrictionsGivesTheHeaderWithoutTheParameter) {
  Ventas(1);
  FormularioDeOpciones formulario;
  formulario.Mostrar({formulario.desde});
  const QScopedValueRollback restablecer(ListarRestriccionesSiempre);
  for (const bool siempre : {false, true}) {
    ListarRestriccionesSiempre = siempre;
    informe = std::make_unique<TfGENELPRO>();
    informe->SetDataSet(&ventas);
    RecordedPages paginas;
    informe->QuickReport().Run(paginas);
    const ReportItem* memo = informe->QuickReport().FindItem(u"MemoRestricciones"_qs);
    ASSERT_EQ(memo != nullptr, siempre);
    if (memo) {
      EXPECT_TRUE(memo->Caption.contains(u"Desde Codigo: 5"_qs)) << memo->Caption.toStdString();
    }
  }
}

// A one-page listing with its restrictions shown, output again and again (as
// the preview, then to PDF, then on paper): every first page is the same.
TEST_F(Genelpro, AListingOutputThreeTimesLooksTheSameEachTime) {
  const ManualClock reloj;  // the time of printing is in the footer
  Parametros(u"ListarRestricciones VARCHAR(2) NULL"_qs, u"'SI'"_qs);
  Ventas(3);
  informe->Filtros = u"(Importe > 0)"_qs;
  const auto primeraPagina = [this] {
    RecordedPages paginas;
    informe->QuickReport().Run(paginas);
    const QSizeF tamano = paginas.Setup().Size();
    QImage imagen(tamano.toSize(), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter pintor(&imagen);
    PaintPage(pintor, paginas.Page(1));
    return imagen;
  };
  const QImage vista = primeraPagina();
  const double tituloPrimera = Elemento("QRTitulo").Top;
  GenerarSalidaInforme(informe->QuickReport(), u"PDF:"_qs + carpeta.File(u"listado.pdf"_qs));
  const QImage segunda = primeraPagina();
  const QImage tercera = primeraPagina();
  const auto distintos = [&vista](const QImage& otra) {
    if (otra.size() != vista.size()) return qint64(-1);
    qint64 cuantos = 0;
    for (int y = 0; y < vista.height(); ++y)
      for (int x = 0; x < vista.width(); ++x) cuantos += vista.pixel(x, y) != otra.pixel(x, y);
    return cuantos;
  };
  EXPECT_EQ(distintos(segunda), 0);
  EXPECT_EQ(distintos(tercera), 0);
  EXPECT_EQ(Elemento("QRTitulo").Top, tituloPrimera);
  // Clear of the memo of the restrictions, as the first time.
  const ReportItem& memo = Elemento("MemoRestricciones");
  EXPECT_LE(Elemento("QRTitulo").Top + Elemento("QRTitulo").Height, memo.Top);
  // The column titles, made for each run, below it.
  int titulos = 0;
  for (const auto& celda : informe->QuickReport().FindBand(u"PageHeader"_qs)->Items()) {
    if (!celda->Name.startsWith(u"LBTitulo"_qs)) continue;
    ++titulos;
    EXPECT_GE(celda->Top, memo.Top + memo.Height) << celda->Name.toStdString();
  }
  EXPECT_EQ(titulos, 5);
}

// The listing saved as CSV and read back by Python's csv module: the column
// titles, every record and the totals row have a field per column, and
// each total stands under its own column's title.
TEST_F(Genelpro, TheCsvExportGivesEachTotalUnderItsColumn) {
  Ventas(4);
  RecordedPages paginas;
  ASSERT_EQ(informe->QuickReport().Run(paginas), 1);
  const QString archivo = carpeta.File(u"ventas.csv"_qs);
  ExportPages(paginas, ExportFormat::Csv, archivo);
  const std::vector<QStringList> filas = CsvRows(archivo);
  std::string leidas;
  for (const QStringList& fila : filas) leidas += fila.join(u'|').toStdString() + '\n';
  const QStringList titulos{u"Codigo"_qs, u"Nombre"_qs, u"Importe"_qs, u"F.Alta"_qs, u"H.Entrada"_qs};
  const auto fila = std::find(filas.begin(), filas.end(), titulos);
  ASSERT_GE(std::distance(fila, filas.end()), 6) << leidas;
  const std::vector<QStringList> tabla(fila, fila + 6);
  const std::vector<QStringList> esperada = {
      titulos,
      {u"1"_qs, u"Venta 1"_qs, u"1,5"_qs, u"05/03/2024"_qs, u"08:05:09"_qs},
      {u"2"_qs, u"Venta 2"_qs, u"3"_qs, QString(), u"08:05:09"_qs},
      {u"3"_qs, u"Venta 3"_qs, u"4,5"_qs, u"05/03/2024"_qs, u"08:05:09"_qs},
      {u"4"_qs, u"Venta 4"_qs, u"6"_qs, u"05/03/2024"_qs, u"08:05:09"_qs},
      {QString(), QString(), u"15"_qs, QString(), QString()},
  };
  EXPECT_EQ(tabla, esperada) << leidas;
}
