#include "core/datamodule/ConversionMoneda.h"
#include "platform/Exceptions.h"
#include "tests/core/datamodule/MonedaFixture.h"

namespace {

using ConversionMoneda = MonedaFixture;

TEST_F(ConversionMoneda, PesetasBecomeEurosAndBack) {
  EXPECT_DOUBLE_EQ(ConvertirImporte(QString(), 1000), 6.01);
  EXPECT_DOUBLE_EQ(ConvertirImporte(u"AutoInverso"_qs, 6.01), 1000);
  EXPECT_DOUBLE_EQ(ConvertirImporte(u"Otra Moneda"_qs, 1000), 6.01);
  EXPECT_EQ(DecimalesMoneda(2), 2);
  EXPECT_DOUBLE_EQ(CambioMoneda(2), 166.386);
  EXPECT_EQ(DecimalesMoneda(9), 0);
  EXPECT_DOUBLE_EQ(CambioMoneda(9), 0);
}

TEST_F(ConversionMoneda, AMissingCurrencyLeavesTheAmountAsItIs) {
  Parametros(1, 9, 1);
  EXPECT_DOUBLE_EQ(ConvertirImporte(QString(), 1000), 1000);
  Parametros(2, 2, 7);
  EXPECT_DOUBLE_EQ(ConvertirImporte(QString(), 1000), 1000);
}

// The presenter holds no answer: a message would fail the test.
TEST_F(ConversionMoneda, ACurrencyTableNotNamedConvertsNothingAndSaysNothing) {
  modulo.Moneda->Close();
  modulo.Moneda->SetTableName(QString());
  EXPECT_DOUBLE_EQ(ConvertirImporte(QString(), 1000), 1000);
  EXPECT_DOUBLE_EQ(ConvertirImporte(u"AutoInverso"_qs, 6.01), 6.01);
  EXPECT_EQ(DecimalesMoneda(2), 0);
  EXPECT_DOUBLE_EQ(CambioMoneda(2), 0);
}

TEST_F(ConversionMoneda, ARateOfNothingRaises) {
  Parametros(1, 3, 1);
  EXPECT_THROW(ConvertirImporte(QString(), 1000), Exception);
  EXPECT_DOUBLE_EQ(ConvertirImporte(u"AutoInverso"_qs, 1000), 0);
}

struct TextoCaso {
  const char* texto;
  int base, euro, nacional;
  const char* esperado;
};

class TextosImporte : public ConversionMoneda, public testing::WithParamInterface<TextoCaso> {};

TEST_P(TextosImporte, KeepTheirMarkersAndTakeTheEuroMark) {
  Parametros(GetParam().base, GetParam().euro, GetParam().nacional);
  EXPECT_EQ(ConvertirTextoImporte(QString::fromUtf8(GetParam().texto), QString()).toStdString(), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Textos, TextosImporte,
                         testing::Values(TextoCaso{"1000D", 1, 2, 1, "€ 6,01D"}, TextoCaso{"1000DH", 1, 2, 1, "€ 6,01DH"},
                                         TextoCaso{"1.000", 1, 2, 1, "€ 6,01"}, TextoCaso{"0", 1, 2, 1, "0,00"},
                                         TextoCaso{"abc", 1, 2, 1, "0,00"},
                                         // A euro company divides by the national record (rate 1, no decimals), unmarked.
                                         TextoCaso{"6,01", 2, 2, 1, "6,00"}));

}  // namespace
