#include "printing/comandos/ReferenciasOrigen.h"

#include <gtest/gtest.h>

namespace {

struct CasoReferencia {
  const char* parte;
  const char* referencia;
  const char* clave;
};

class Referencia : public testing::TestWithParam<CasoReferencia> {};

TEST_P(Referencia, GivesTheKeyPart) {
  EXPECT_EQ(DividirReferencia(QString::fromUtf8(GetParam().parte), QString::fromUtf8(GetParam().referencia)),
            QString::fromUtf8(GetParam().clave))
      << GetParam().parte << " of " << GetParam().referencia;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Referencia,
    testing::Values(CasoReferencia{"OF", "OF:1200/3", "1200"}, CasoReferencia{"SEC", "OF:1200/3", "3"},
                    CasoReferencia{"PP", "OF:1200/3", ""}, CasoReferencia{"UC", "UC:7/15/2", "15/2"},
                    CasoReferencia{"OT", "UC:7/15/2", "7"}, CasoReferencia{"OT", "UI:9/1", "9"},
                    CasoReferencia{"UE", "UC:7/15/2", ""}, CasoReferencia{"Doc", "PP:55/4", "55"},
                    CasoReferencia{"DOC", "55/4", "55"}, CasoReferencia{"lin", "PP:55/4", "4"},
                    CasoReferencia{"LPP", "PP:55/4", "4"}, CasoReferencia{"PP", "PP:55/4", "55"},
                    CasoReferencia{"OF", "PP:88/1,OF:1200/3", "1200"}, CasoReferencia{"PP", "PP:88/1,OF:1200/3", "88"},
                    CasoReferencia{"LPP", "PP:88/1,OF:1200/3", "1"}, CasoReferencia{"Lin", "PP:88/1,OF:1200/3", "3"},
                    CasoReferencia{"RE", "RE:5", "5"}, CasoReferencia{"II", "II:6/2", "6"},
                    CasoReferencia{"PC", "PC:7", "7"}, CasoReferencia{"AL", "AL:8/9", "8"},
                    CasoReferencia{"AL", "", ""}, CasoReferencia{"Otra", "AL:8", ""}));

TEST(Referencia, AKindTestFindsItsPrefixAnywhere) {
  EXPECT_TRUE(TienePrefijoReferencia(u"OF"_qs, u"Pedido OF:12/1"_qs));
  EXPECT_TRUE(TienePrefijoReferencia(u"UE"_qs, u"UE:3"_qs));
  EXPECT_FALSE(TienePrefijoReferencia(u"OF"_qs, u"OF12/1"_qs));
  EXPECT_FALSE(TienePrefijoReferencia(u"PP"_qs, u"pp:12"_qs));
}

}  // namespace
