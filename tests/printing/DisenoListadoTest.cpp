#include "printing/DisenoListado.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(DisenoListado, MarginsAndBandWidthFollowPaperAndOrientation) {
  struct Caso {
    bool apaisado;
    QString papel;
    int margenImpresora, izquierdo, derecho, ancho;
  } casos[] = {
      {false, QString(), 0, 5, 5, 750},  {false, u"A4"_qs, 0, 5, 5, 750}, {false, u"A3"_qs, 0, 5, 5, 1047},
      {true, u"A4"_qs, 0, 10, 10, 1047}, {true, u"A3"_qs, 0, 10, 10, 1511}, {true, u"A3"_qs, 7, 7, 10, 1511},
      {false, u"A4"_qs, 12, 12, 5, 750},
  };
  for (const Caso& caso : casos) {
    const PaginaListado pagina = PaginaDelListado(caso.apaisado, caso.papel, caso.margenImpresora);
    EXPECT_EQ((std::vector<int>{pagina.margenIzquierdo, pagina.margenDerecho, pagina.anchoBanda}),
              (std::vector<int>{caso.izquierdo, caso.derecho, caso.ancho}))
        << caso.papel.toStdString() << caso.apaisado;
  }
}

TEST(DisenoListado, AnInstructionsFieldAtTheEndNeverPrints) {
  EXPECT_EQ(CamposDelListado({u"Codigo"_qs, u"Importe"_qs, u"InstruccionesListado"_qs}).ultimo, 1);
  EXPECT_TRUE(CamposDelListado({u"Codigo"_qs, u"InstruccionesListado"_qs}).instrucciones);
  EXPECT_EQ(CamposDelListado({u"InstruccionesListado"_qs, u"Codigo"_qs}).ultimo, 1);
  EXPECT_FALSE(CamposDelListado({u"InstruccionesListado"_qs, u"Codigo"_qs}).instrucciones);
  EXPECT_EQ(CamposDelListado({}).ultimo, -1);
}

TEST(DisenoListado, ColumnWidthsRoundHalvesToEven) {
  EXPECT_EQ(AnchoColumna(1, 4, 750), 188);   // 187.5
  EXPECT_EQ(AnchoColumna(1, 4, 746), 186);   // 186.5
  EXPECT_EQ(AnchoColumna(1, 4, 1042), 260);  // 260.5
  EXPECT_EQ(AnchoColumna(1, 3, 750), 250);
  EXPECT_EQ(AnchoColumna(5, 0, 750), 0);
}

TEST(DisenoListado, ColumnsFollowFieldOrderSkippingUnprintedFields) {
  const std::vector<int> marcas{2, kMarcaNoImpreso, 1, 3, 0};
  const std::vector<double> pesos{10, 50, 20, 10, 0};
  const auto columnas = DisenarColumnas(marcas, pesos, 3, 750);
  ASSERT_EQ(columnas.size(), 3u);
  EXPECT_EQ(columnas[0].campo, 0);
  EXPECT_EQ((std::vector<int>{columnas[0].x, columnas[0].ancho}), (std::vector<int>{0, 186}));  // 187.5 → 188
  EXPECT_EQ((std::vector<int>{columnas[1].campo, columnas[1].x, columnas[1].ancho}), (std::vector<int>{2, 188, 373}));
  EXPECT_EQ((std::vector<int>{columnas[2].campo, columnas[2].x, columnas[2].ancho}), (std::vector<int>{3, 563, 186}));
  // A weight too small for the two pixels between columns gives no width.
  EXPECT_EQ(DisenarColumnas({0, 0}, {1, 1000}, 1, 750)[0].ancho, 0);
}

TEST(DisenoListado, AColumnIsNeverNarrowerThanItsTextWhenTheBandHasRoom) {
  struct Caso {
    std::vector<double> pesos;
    std::vector<int> minimos;
    int anchoTitulo;
    std::vector<int> anchos;  // the columns' widths before their two pixels of gap
  } casos[] = {
      // Nothing asked: the widths by weight alone.
      {{10, 40, 10, 100}, {0, 0, 0, 0}, 750, {45, 186, 45, 467}},
      // The third needs 60: it takes them and the others share the rest by their weights.
      {{10, 40, 10, 100}, {0, 0, 60, 0}, 750, {44, 181, 60, 457}},
      // Raising one can push another under its need: both then take theirs.
      {{10, 30, 60}, {40, 55, 0}, 200, {40, 55, 99}},
      // A column already wide enough keeps its width by weight.
      {{1, 1}, {20, 20}, 200, {98, 98}},
      // The needs do not fit in the band: the widths by weight alone.
      {{10, 40, 10}, {200, 200, 200}, 500, {81, 331, 81}},
  };
  for (const Caso& caso : casos) {
    const auto columnas = DisenarColumnas(std::vector<int>(caso.pesos.size(), 0), caso.pesos,
                                          static_cast<int>(caso.pesos.size()) - 1, caso.anchoTitulo, caso.minimos);
    std::vector<int> anchos;
    int x = 0;
    for (const ColumnaListado& columna : columnas) {
      EXPECT_EQ(columna.x, x);
      x = columna.x + columna.ancho + 2;
      anchos.push_back(columna.ancho);
    }
    EXPECT_EQ(anchos, caso.anchos) << caso.anchoTitulo;
    EXPECT_LE(x, caso.anchoTitulo + 1);
  }
}

TEST(DisenoListado, MoreThan201ColumnsAreRefused) {
  EXPECT_EQ(DisenarColumnas(std::vector<int>(201, 0), std::vector<double>(201, 1), 200, 1511).size(), 201u);
  try {
    DisenarColumnas(std::vector<int>(202, 0), std::vector<double>(202, 1), 201, 1511);
    ADD_FAILURE() << "202 columns were laid out";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), u"¡El listado no puede tener más de 201 columnas!"_qs);
  }
}

struct CasoFicha {
  int campos, columnas;
  std::vector<int> memos;
  std::vector<int> tops, xs;
  int altoBanda;
};

TEST(DisenoListado, CardRowsAndTops) {
  const CasoFicha casos[] = {
      {7, 2, {}, {17, 34, 51, 68, 17, 34, 51}, {4, 4, 4, 4, 379, 379, 379}, 100},
      {3, 3, {}, {17, 17, 17}, {4, 254, 504}, 49},
      {1, 3, {}, {17}, {4}, 49},
      {4, 3, {}, {17, 34, 17, 34}, {4, 4, 254, 254}, 66},  // 2 rows: nobody at x = 750
      {3, 1, {0}, {17, 66, 83}, {4, 4, 4}, 115},
  };
  for (const CasoFicha& caso : casos) {
    std::vector<bool> memo(static_cast<size_t>(caso.campos), false);
    for (int m : caso.memos) memo[static_cast<size_t>(m)] = true;
    const FichaListado ficha =
        DisenarFichas(std::vector<int>(static_cast<size_t>(caso.campos), 0), memo, caso.campos - 1, caso.columnas, 3, 750);
    std::vector<int> tops, xs;
    for (const CeldaFicha& celda : ficha.celdas) {
      tops.push_back(celda.top);
      xs.push_back(celda.tituloX);
    }
    EXPECT_EQ(tops, caso.tops) << caso.campos << " in " << caso.columnas;
    EXPECT_EQ(xs, caso.xs) << caso.campos << " in " << caso.columnas;
    EXPECT_EQ(ficha.altoBanda, caso.altoBanda) << caso.campos << " in " << caso.columnas;
  }
}

TEST(DisenoListado, CardCellsSplitTheCardColumnAThirdAndTwoThirds) {
  const FichaListado ficha = DisenarFichas({0, kMarcaNoImpreso, 0}, {false, false, true}, 2, 2, 3, 750);
  ASSERT_EQ(ficha.celdas.size(), 2u);
  const CeldaFicha& memo = ficha.celdas[1];
  EXPECT_EQ(memo.campo, 2);
  EXPECT_EQ((std::vector<int>{memo.tituloX, memo.tituloAncho, memo.valorX, memo.valorAncho, memo.valorAlto}),
            (std::vector<int>{379, 121, 504, 242, 47}));
  EXPECT_EQ(ficha.celdas[0].valorAlto, 17);
}

}  // namespace
