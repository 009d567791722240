#include "printing/barcode/Code128.h"
#include "printing/barcode/Code39.h"
#include "printing/barcode/DibujoCodigoBarras.h"
#include "printing/barcode/Ean.h"
#include "printing/barcode/Entrelazado2de5.h"
#include "printing/barcode/Postal.h"

#include <gtest/gtest.h>

namespace {

// A roomy drawing of the text on its own surface.
DibujoCodigoBarras Dibujo(TBarCodeType tipo, const QString& texto) {
  ParametrosCodigoBarras p;
  p.tipo = tipo;
  p.texto = texto;
  p.ancho = 4000;
  p.alto = 200;
  p.autoSizing = false;
  return DisponerCodigoBarras(p);
}

}  // namespace

TEST(Simbologias, TextosCompletadosConCerosYDigitosDeControl) {
  const struct {
    const char* caso;
    QString obtenido;
    QString esperado;
  } casos[] = {
      {"2 de 5 impar", TextoEntrelazado(u"123"_qs), u"0123"_qs},
      {"2 de 5 par", TextoEntrelazado(u"1234"_qs), u"1234"_qs},
      {"ITF-14 de 12", TextoItf14(u"123456789012"_qs).value_or(QString()), u"01234567890128"_qs},
      {"ITF-14 de 13 sin control", TextoItf14(u"1234567890123"_qs).value_or(QString()), u"01234567890123"_qs},
      {"ITF-14 de 15 tal cual", TextoItf14(u"123456789012345"_qs).value_or(QString()), u"123456789012345"_qs},
      {"EAN-13", CodificarEan(u"590123412345"_qs)->digitos, u"5901234123457"_qs},
      {"EAN-8", CodificarEan(u"9638507"_qs)->digitos, u"96385074"_qs},
      {"EAN-13 de control erróneo", CodificarEan(u"5901234123450"_qs)->digitos, u"5901234123450"_qs},
      {"EAN-8 de control erróneo", CodificarEan(u"96385070"_qs)->digitos, u"96385070"_qs},
      {"PostnetZip", DigitosPostNet(u"12345"_qs, 5).value_or(QString()), u"123455"_qs},
      {"PostnetZip de nueve", DigitosPostNet(u"123456789"_qs, 5).value_or(QString()), u"123456789"_qs},
      {"ZipPlus4", DigitosPostNet(u"123456789"_qs, 9).value_or(QString()), u"1234567895"_qs},
      {"Postnet11 pasado su límite", DigitosPostNet(u"123456789012"_qs, 11).value_or(QString()),
       u"123456789012"_qs},
  };
  for (const auto& c : casos) EXPECT_EQ(c.obtenido, c.esperado) << c.caso;
}

TEST(Simbologias, JuegosDeCode128) {
  const struct {
    const char* caso;
    QString texto;
    bool ean128;
    std::vector<int> esperado;  // without check and stop
  } casos[] = {
      {"serie inicial en C", u"123456"_qs, false, {105, 12, 34, 56}},
      {"serie impar: el último dígito en B", u"12345"_qs, false, {105, 12, 34, 100, 21}},
      {"dos dígitos no son serie", u"AB12"_qs, false, {104, 33, 34, 17, 18}},
      {"\"00\" empieza en B", u"00"_qs, false, {104, 16, 16}},
      {"serie en medio", u"A1234B"_qs, false, {104, 33, 99, 12, 34, 100, 34}},
      {"control antes de minúscula: A", u"\tAb"_qs, false, {103, 73, 33, 100, 66}},
      {"minúsculas en B sin cambio", u"abc"_qs, false, {104, 65, 66, 67}},
      {"un control entre minúsculas: SHIFT", u"ab\tcd"_qs, false, {104, 65, 66, 98, 73, 67, 68}},
      {"una minúscula entre controles: SHIFT", u"\t\ta\t"_qs, false, {103, 73, 73, 98, 65, 73}},
      {"DEL en B", QString(QChar(127)), false, {104, 95}},
      {"EAN-128 con FNC1", u"0112345678901231"_qs, true, {105, 102, 1, 12, 34, 56, 78, 90, 12, 31}},
  };
  for (const auto& c : casos) {
    const auto simbolos = SimbolosCode128(c.texto, c.ean128);
    ASSERT_TRUE(simbolos) << c.caso;
    std::vector<int> datos(simbolos->begin(), simbolos->end() - 2);
    EXPECT_EQ(datos, c.esperado) << c.caso;
    int suma = datos.front();
    for (size_t k = 1; k < datos.size(); ++k) suma += int(k) * datos[k];
    EXPECT_EQ((*simbolos)[simbolos->size() - 2], suma % 103) << c.caso;
    EXPECT_EQ(simbolos->back(), 106) << c.caso;
  }
}

TEST(Simbologias, CaracteresQueLaSimbologiaNoAdmitenNoDibujanNada) {
  const struct {
    TBarCodeType tipo;
    QString texto;
  } casos[] = {
      {TBarCodeType::Code39, u"abc"_qs},
      {TBarCodeType::Code39, u"A*B"_qs},
      {TBarCodeType::Code39, u"Ñ"_qs},
      {TBarCodeType::Code39, QString()},
      {TBarCodeType::Interleaved2Of5, u"12a4"_qs},
      {TBarCodeType::Interleaved2Of5, QString()},
      {TBarCodeType::ITF14, u"12345678901a"_qs},
      {TBarCodeType::ITF14, u"12345678901"_qs},
      {TBarCodeType::EAN13, u"59012341234A"_qs},
      {TBarCodeType::EAN13, u"5901234123"_qs},
      {TBarCodeType::EAN8, u"963850"_qs},
      {TBarCodeType::EAN, u"Ñ012345"_qs},
      {TBarCodeType::PostnetZip, u"12a45"_qs},
      {TBarCodeType::PostNet, QString()},
      {TBarCodeType::Code128, u"Año"_qs},
      {TBarCodeType::Code128, QString(QChar(0x20AC))},
      {TBarCodeType::EAN128, u"01Ñ"_qs},
  };
  for (const auto& c : casos)
    EXPECT_TRUE(Dibujo(c.tipo, c.texto).Vacio()) << int(c.tipo) << " " << c.texto.toStdString();
  EXPECT_FALSE(ElementosCode39(u"abc"_qs));
  EXPECT_FALSE(ElementosEntrelazado(u"123"_qs)) << "an odd count is padded before";
  EXPECT_FALSE(PosicionesFim(u'D'));
}

TEST(Simbologias, TextosLargosYDeControlSeDibujan) {
  const QString largo(280, u'7');
  QString controles;
  for (char16_t c = 0; c < 32; ++c) controles += QChar(c);
  QString imprimibles;
  for (int i = 0; i < 280; ++i) imprimibles += QChar(char16_t(32 + i % 96));
  const struct {
    TBarCodeType tipo;
    QString texto;
  } casos[] = {
      {TBarCodeType::Code39, QString(280, u'X')}, {TBarCodeType::Interleaved2Of5, largo},
      {TBarCodeType::ITF14, largo},               {TBarCodeType::Code128, largo},
      {TBarCodeType::Code128, controles},         {TBarCodeType::Code128, imprimibles},
      {TBarCodeType::EAN128, imprimibles},        {TBarCodeType::PostNet, largo},
  };
  for (const auto& c : casos) {
    ParametrosCodigoBarras p;
    p.tipo = c.tipo;
    p.texto = c.texto;
    p.ancho = 40000;
    p.alto = 100;
    EXPECT_FALSE(DisponerCodigoBarras(p).Vacio()) << int(c.tipo);
  }
}
