#include "printing/Genelimp.h"
#include "tests/printing/comandos/DestinoPrueba.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct CasoValor {
  const char* linea;
  const char* impreso;
};

// The value read back from the raw row of a text printer.
class Valor : public testing::TestWithParam<CasoValor> {
 protected:
  Valor() {
    destino.ModoTextoImpresora(0);
    destino.entorno.documentos.push_back({{u"CodigoTemporal"_qs, 1}, {u"Cantidad"_qs, 3}, {u"Precio"_qs, 2.5},
                                          {u"Descuento"_qs, 1}, {u"Base"_qs, 10}, {u"Cuota"_qs, u"2"_qs},
                                          {u"Importe"_qs, 7.0}, {u"Unidades"_qs, 0}, {u"Nombre"_qs, u"Ana"_qs},
                                          {u"Apellidos"_qs, u"Ruiz"_qs}, {u"Texto"_qs, u"abc"_qs}});
    destino.entorno.PrimerDocumento();
    destino.ejecucion.programa.separadorLibre = QString(QChar(0xFF));
  }
  DestinoPrueba destino;
};

TEST_P(Valor, PrintsTheComputedText) {
  destino.Ejecutar(QString::fromUtf8(GetParam().linea));
  EXPECT_EQ(destino.crudo, QByteArray(GetParam().impreso) + '\r') << GetParam().linea;
}

INSTANTIATE_TEST_SUITE_P(
    Expr, Valor,
    testing::Values(CasoValor{"Expr=0;0;0;Cantidad * Precio - Descuento;;#,##0.00", "6,50"},
                    CasoValor{"Expr=0;0;0;Base + Cuota x 2;;#,##0.00", "24,00"},
                    CasoValor{"Expr=0;0;0;Cantidad*Precio;;0.00", "0,00"},
                    CasoValor{"Expr=0;0;0;Importe / Unidades;;0.00", "0,00"},
                    CasoValor{"Expr=0;0;0;Importe * 1,21;;0.00", "8,47"},
                    CasoValor{"Expr=0;0;0;-Importe + 1;;0.00", "8,00"},
                    CasoValor{"Expr=0;0;0;Texto + 2;;0.00", "2,00"},
                    CasoValor{"Expr=0;0;0;Descuento - Base;;0.00;(0.00)", "(9,00)"},
                    CasoValor{"Expr=0;0;0;Unidades;;0.00;-0.00;\"nada\"", "nada"},
                    CasoValor{"Expr=0;0;0;Unidades;;0.00;;\"nada\"", "0,00"}));

INSTANTIATE_TEST_SUITE_P(
    Conc, Valor,
    testing::Values(CasoValor{"Conc=0;0;0;Nombre + \" \" + Apellidos", "Ana Ruiz"},
                    CasoValor{"Conc=0;0;0;Nombre\" \"Apellidos", "Ana Ruiz"},
                    CasoValor{"Conc=0;0;0;Nombre+Apellidos", ""},
                    CasoValor{"Conc=0;0;0;\"10\\\"pulgadas\"", "10\"pulgadas"},
                    CasoValor{"Conc=0;0;0;\"a\\\\b\\c\"", "a\\b\\c"},
                    CasoValor{"Conc=0;0;0;Nombre + Falta + \"!\"", "Ana!"},
                    CasoValor{"Conc=0;0;0;Nombre + \" | \" + Apellidos", "Ana | Ruiz"},
                    CasoValor{"Conc=0;0;0;  Precio  \"€\" \"sin cerrar", "2,5?sin cerrar"}));

TEST(ValorDiseno, TheDesignTestPrintsAnAbbreviation) {
  DestinoPrueba destino;
  destino.ModoTextoImpresora(0);
  FormularioLlamador = u"fGENEIMPR"_qs;
  destino.Ejecutar(u"Conc=0;0;0;Nombre Cliente"_qs);
  destino.Ejecutar(u"Suma=0;0;0;Importe Total"_qs);
  destino.Ejecutar(u"ISum=Importe"_qs);
  FormularioLlamador.clear();
  EXPECT_EQ(destino.crudo, QByteArray("N.Cliente\rI.Total\r"));
}

// The carried totals read back from a text printer's rows.
class SumaYSigueTexto : public testing::Test {
 protected:
  QStringList Impresos(const QString& cabecera) {
    DestinoPrueba destino;
    destino.ModoTextoImpresora(0);
    const QString programa = u"[SISTEMA]\r\nInicioLineas=10\r\nFinLineas=12\r\nAlturaLinea=1\r\n[CABECERA]\r\n"_qs + cabecera +
                             u"\r\nSuma=0;1;0;Importe;;0.00\r\nSuma=0;2;0;Otro;;0.00\r\n[LINEAS]\r\nSuma=0;0;0;Importe;;0.00\r\n"
                             u"[PIESUMAYSIGUE]\r\nSuma=0;30;0;Importe;;0.00\r\n"_qs;
    destino.entorno.impresos[u"FAC"_qs] = DefinicionImpreso{u"FAC"_qs, u"Factura"_qs, u"Texto"_qs, programa, u"A4"_qs, {}};
    destino.ejecucion.codigoImpresoActual = u"FAC"_qs;
    destino.entorno.documentos.push_back({{u"CodigoTemporal"_qs, 1}});
    for (int n = 1; n <= 5; ++n)
      destino.entorno.lineas[1].push_back(
          {{u"CodigoTemporal"_qs, 1}, {u"Linea"_qs, n}, {u"LineaMemo"_qs, 0}, {u"Importe"_qs, 10.0 * n}});
    destino.ejecucion.destino = DestinoSalida::Impresora;
    EXPECT_TRUE(destino.ejecucion.Preparar(u"FAC"_qs));
    destino.ModoTextoImpresora(0);
    destino.ejecucion.Recorrer();
    return QString::fromLatin1(destino.crudo).split(QRegularExpression(u"[\\x00-\\x1f$j]+"_qs), Qt::SkipEmptyParts);
  }
};

TEST_F(SumaYSigueTexto, EachPageHeadShowsWhatThePageBeforeCarried) {
  EXPECT_EQ(Impresos(QString()), (QStringList{u"0,00"_qs, u"30,00"_qs, u"30,00"_qs, u"100,00"_qs, u"100,00"_qs}));
}

TEST_F(SumaYSigueTexto, ISumInTheHeadGivesPageTotals) {
  EXPECT_EQ(Impresos(u"ISum=Importe"_qs), (QStringList{u"0,00"_qs, u"30,00"_qs, u"0,00"_qs, u"70,00"_qs, u"0,00"_qs}));
}

}  // namespace
