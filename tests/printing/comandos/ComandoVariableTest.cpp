#include "tests/fixtures/ManualClock.h"
#include "tests/printing/comandos/DestinoPrueba.h"

#include <gtest/gtest.h>

namespace {

struct CasoVariable {
  const char* variable;
  int copia;
  const char* impreso;  // null: nothing is sent
};

class Variable : public testing::TestWithParam<CasoVariable> {};

// Read back from the raw row a text printer gets: the value itself, no drawing in between.
TEST_P(Variable, PrintsTheEngineValue) {
  const ManualClock reloj(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
  DestinoPrueba destino;
  destino.ModoTextoImpresora(0);
  destino.ejecucion.programa.separadorLibre = QString(QChar(0xFF));
  destino.ejecucion.paginaDocumento = 2;
  destino.ejecucion.numeroPaginas = 7;
  destino.ejecucion.numeroCopia = GetParam().copia;
  destino.Ejecutar(u"Vari=0;0;0;"_qs + QString::fromUtf8(GetParam().variable));
  EXPECT_EQ(destino.crudo, GetParam().impreso ? QByteArray(GetParam().impreso) + '\r' : QByteArray());
}

INSTANTIATE_TEST_SUITE_P(Casos, Variable,
                         testing::Values(CasoVariable{"NumeroPagina", 1, "2"}, CasoVariable{"ContadorPaginas", 1, "7"},
                                         CasoVariable{"NumeroCopia", 3, "3"},
                                         CasoVariable{"OriginalCopia", 1, "ORIGINAL"},
                                         CasoVariable{"OriginalCopia", 2, "COPIA"},
                                         CasoVariable{"OriginalCopia,Cliente,Archivo", 1, "Cliente"},
                                         CasoVariable{"OriginalCopia,Cliente,Archivo", 3, "Archivo"},
                                         CasoVariable{"OriginalCopia,Cliente", 1, "Cliente"},
                                         CasoVariable{"OriginalCopia,Cliente", 2, ""},
                                         CasoVariable{"OriginalCopia,Cliente|Banco", 1, "Cliente|Banco"},
                                         CasoVariable{"FechaImpresion", 1, "05/03/2024"},
                                         CasoVariable{"FechaYHoraImpresion", 1, "05/03/2024 07:08:09"},
                                         CasoVariable{"numeropagina", 1, nullptr}, CasoVariable{"Otra", 1, nullptr}));

}  // namespace
