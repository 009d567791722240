#include "core/helpers/Letras.h"

#include <gtest/gtest.h>

TEST(Letras, LetterClassesWithAccentedLetters) {
  for (const QChar c : u"abcxyzáéíóúàèìòùâêîôûñçäëïöü"_qs) {
    EXPECT_TRUE(EsMinuscula(QString(c))) << QString(c).toStdString();
    EXPECT_FALSE(EsMayuscula(QString(c))) << QString(c).toStdString();
    EXPECT_TRUE(EsMayuscula(QString(c).toUpper())) << QString(c).toUpper().toStdString();
  }
  for (const QChar c : u"ßåÿ1 _-Ø"_qs) {
    EXPECT_FALSE(EsMinuscula(QString(c))) << QString(c).toStdString();
    EXPECT_FALSE(EsMayuscula(QString(c))) << QString(c).toStdString();
  }
  EXPECT_TRUE(EsMayuscula(u"Ñ"_qs) && EsDigito(u"0"_qs) && EsDigito(u"9"_qs));
  EXPECT_FALSE(EsMayuscula(u"Å"_qs) || EsMinuscula(QString()) || EsMayuscula(QString()));
  EXPECT_FALSE(EsDigito(u"a"_qs) || EsDigito(QString()));
  // Whole texts compare as texts.
  EXPECT_TRUE(EsMinuscula(u"ab"_qs));
  EXPECT_FALSE(EsMinuscula(u"z1"_qs));
}

TEST(Letras, SepararPalabras) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"CodigoCliente", u"Codigo Cliente"}, {u"NIF", u"NIF"}, {u"Campo1", u"Campo 1"}, {u"Campo12", u"Campo 12"},
      {u"A1B", u"A 1 B"}, {u"Fecha_Alta", u"Fecha_ Alta"}, {u"Cartera de Pedidos", u"Cartera de Pedidos"},
      {u"abc", u"abc"}, {u"codigoCliente", u"codigo Cliente"}, {u"", u""}, {u"X", u"X"}, {u"NombreNIF", u"Nombre NIF"},
      {u"ImporteÑandú", u"Importe Ñandú"},
      {u"FechaA", u"FechaA"},  // a last capital stays with a word begun by a capital
  };
  for (const auto& [identifier, expected] : cases)
    EXPECT_EQ(SepararPalabras(QString::fromUtf16(identifier)), QString::fromUtf16(expected))
        << QString::fromUtf16(identifier).toStdString();
}

TEST(Letras, AbreviarNombre) {
  const std::tuple<const char16_t*, int, const char16_t*> cases[] = {
      {u"Cartera de Pedidos", 1, u"C.Pedidos"}, {u"Fecha de Entrega Prevista", 1, u"F.E.Prevista"},
      {u"Cliente", 1, u"Cliente"}, {u"2 Pedidos Caja", 1, u"2 Pedidos Caja"}, {u"CodigoCliente", 0, u"C.Cliente"},
      {u"Fecha Entrega", 2, u"Fe.Entrega"}, {u"", 1, u""},
  };
  for (const auto& [name, letters, expected] : cases)
    EXPECT_EQ(AbreviarNombre(QString::fromUtf16(name), letters), QString::fromUtf16(expected))
        << QString::fromUtf16(name).toStdString();
}

TEST(Letras, IdentificadorValido) {
  const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
      {u"Codigo_1", u"Codigo_1", true}, {u"1ª Línea", u"___L_nea", false}, {u"", u"", false},
      {u"Nombre con blancos", u"Nombre_con_blancos", false},
      {u"UnNombreDeMasDeVeinticincoLetras", u"UnNombreDeMasDeVeinticinc", false}, {u"_x", u"_x", true},
  };
  for (const auto& [text, expected, valid] : cases) {
    QString identifier = u"previo"_qs;
    EXPECT_EQ(IdentificadorValido(QString::fromUtf16(text), identifier), valid)
        << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(identifier, QString::fromUtf16(expected));
  }
}
