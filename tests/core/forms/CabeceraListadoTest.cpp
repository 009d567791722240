#include "core/forms/CabeceraListado.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kTitulo = QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO: ");

// A listing's title band: the company name, the title and the restrictions memo.
class CabeceraListadoTest : public testing::Test {
 protected:
  CabeceraListadoTest() {
    titulo.Height = 60;
    empresa.Top = 5;
    nombre.Top = 25;
    memo.Top = 25;
    MemoRestricciones = &memo;
    AlturaCabeceraListado = 60;
    PosicionesCabecera = QStringList{u"TituloNombreEmpresa=5"_qs, u"TituloListado=25"_qs};
    titulo.BeforePrint = CabeceraListado;
  }
  ~CabeceraListadoTest() override {
    MemoRestricciones = nullptr;
    PosicionesCabecera.clear();
    RecolocarCabecera = false;
  }

  void Preparar(const QString& texto) {
    memo.Caption = texto;
    RecolocarCabecera = true;
    bool imprimir = true;
    CabeceraListado(titulo, imprimir);
  }

  ReportEngine informe;
  Band& titulo = informe.AddBand(BandKind::Title, u"Titulo"_qs);
  ReportItem& empresa = titulo.Add(ItemKind::Label, u"TituloNombreEmpresa"_qs);
  ReportItem& nombre = titulo.Add(ItemKind::Label, u"TituloListado"_qs);
  ReportItem& sinPosicion = titulo.Add(ItemKind::Label, u"Fecha"_qs);
  ReportItem& memo = titulo.Add(ItemKind::Memo, u"MemoRestricciones"_qs);
};

TEST_F(CabeceraListadoTest, TheMemoTakesALineOfFifteenPerHundredOrHundredAndSixtyCharacters) {
  const struct {
    int caracteres;  // with the title in front
    QPageLayout::Orientation orientacion;
    int altura;
  } casos[] = {{250, QPageLayout::Portrait, 45},  {300, QPageLayout::Portrait, 60},
               {99, QPageLayout::Portrait, 30},   {100, QPageLayout::Portrait, 30},
               {250, QPageLayout::Landscape, 30}, {320, QPageLayout::Landscape, 45},
               // One line of 15 is under 16: 30.
               {159, QPageLayout::Landscape, 30}};
  for (const auto& caso : casos) {
    informe.Page.Orientation = caso.orientacion;
    Preparar(kTitulo + QString(caso.caracteres - kTitulo.size(), u'x'));
    EXPECT_EQ(memo.Height, caso.altura) << caso.caracteres;
    EXPECT_EQ(titulo.Height, 60 + caso.altura) << caso.caracteres;
    EXPECT_TRUE(memo.Enabled);
    EXPECT_EQ(empresa.Top, 5) << "the company name stays";
    EXPECT_EQ(nombre.Top, 25 + caso.altura);
    EXPECT_EQ(sinPosicion.Top, caso.altura);
    EXPECT_FALSE(RecolocarCabecera);
  }
}

TEST_F(CabeceraListadoTest, TheTitleGoesInFrontOnceAndCounts) {
  Preparar(u"Zona: Norte"_qs);
  EXPECT_EQ(memo.Caption, kTitulo + u"Zona: Norte"_qs);
  Preparar(memo.Caption);
  EXPECT_EQ(memo.Caption, kTitulo + u"Zona: Norte"_qs);
  Preparar(QString(70, u'x'));
  EXPECT_EQ(memo.Height, 30) << "38 + 70 characters make two lines";
}

TEST_F(CabeceraListadoTest, WithoutRestrictionsOrWithoutTheSwitchTheBandIsAsDesigned) {
  for (const bool recolocar : {true, false}) {
    Preparar(u"Zona: Norte"_qs);
    memo.Caption = recolocar ? QString() : memo.Caption;
    RecolocarCabecera = recolocar;
    bool imprimir = true;
    CabeceraListado(titulo, imprimir);
    EXPECT_FALSE(memo.Enabled);
    EXPECT_EQ(titulo.Height, 60);
    EXPECT_EQ(empresa.Top, 5);
    EXPECT_EQ(nombre.Top, 25);
    EXPECT_EQ(sinPosicion.Top, 0);
    EXPECT_FALSE(RecolocarCabecera);
  }
}

TEST_F(CabeceraListadoTest, AListingPrintsTheMemoUnderTheTitleAndTheDetailBelow) {
  nombre.Caption = u"LISTADO DE CLIENTES"_qs;
  memo.Caption = QString(250 - kTitulo.size(), u'x');
  RecolocarCabecera = true;
  ReportItem& codigo = informe.AddBand(BandKind::Detail, u"Detalle"_qs).Add(ItemKind::DataText, u"Codigo"_qs);
  codigo.DataField = u"Codigo"_qs;
  RowSource filas(NumberedRows(1));
  informe.Source = &filas;
  RecordedPages paginas;
  ASSERT_EQ(informe.Run(paginas), 1);
  const PageRecord pagina = paginas.Page(1);
  double tituloTop = -1, memoTop = -1, codigoTop = -1;
  for (const PageCell& celda : pagina.cells) {
    if (celda.item == u"TituloListado"_qs) tituloTop = celda.rect.top();
    if (celda.item == u"MemoRestricciones"_qs && memoTop < 0) memoTop = celda.rect.top();
    if (celda.item == u"Codigo"_qs) codigoTop = celda.rect.top();
  }
  ASSERT_GE(memoTop, 0) << "the memo is printed";
  EXPECT_DOUBLE_EQ(tituloTop - memoTop, 45) << "the title's label moved below the memo";
  EXPECT_GE(codigoTop - memoTop, 105 - 25) << "the detail comes after the grown band";
}

}  // namespace
