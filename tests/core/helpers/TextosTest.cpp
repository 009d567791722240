#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Textos, ExtraerElementoCountsEmptyElements) {
  const std::tuple<int, const char16_t*, const char16_t*, const char16_t*> cases[] = {
      {0, u"a;;b", u";", u"a"},         {1, u"a;;b", u";", u""},         {2, u"a;;b", u";", u"b"},
      {3, u"a;;b", u";", u""},          {2, u"a;b;", u";", u""},         {1, u"a;b;", u";", u"b"},
      {0, u"abc", u"", u"abc"},         {1, u"abc", u"", u""},           {0, u"abc", u"|", u"abc"},
      {-1, u"a;b", u";", u""},          {1, u"A FROM B", u" FROM ", u"B"}, {0, u"A FROM B", u" FROM ", u"A"},
      {1, u"x||y||z", u"||", u"y"},     {0, u"", u";", u""},
  };
  for (const auto& [index, text, separator, expected] : cases)
    EXPECT_EQ(ExtraerElemento(index, QString::fromUtf16(text), QString::fromUtf16(separator)),
              QString::fromUtf16(expected))
        << index << " of " << QString::fromUtf16(text).toStdString();
}

TEST(Textos, CountsAndElementsFromTheEnd) {
  const std::pair<int, int> cuentas[] = {
      {ContarOcurrencias(u"ab"_qs, u"aabb"_qs), 2},  // each removal joins the text around it
      {ContarOcurrencias(u"|"_qs, u"a|b|c"_qs), 2}, {ContarOcurrencias(QString(), u"abc"_qs), 0},
      {ContarOcurrencias(u"x"_qs, u"abc"_qs), 0}, {ContarCaracter(u';', u"a;b;;c"_qs), 3}};
  for (const auto& [vista, esperada] : cuentas) EXPECT_EQ(vista, esperada);
  for (const auto& [indice, texto, esperado] : {std::tuple{0, u"a|b|c", u"c"}, {1, u"a|b|c", u"b"}, {5, u"a|b|c", u"a"},
                                                {0, u"abc", u"abc"}})
    EXPECT_EQ(ExtraerElementoDesdeFinal(indice, QString::fromUtf16(texto), u"|"_qs), QString::fromUtf16(esperado));
}

TEST(Textos, CaracterNoUsadoTakesTheHighestFreeCode) {
  EXPECT_EQ(CaracterNoUsado(u"abc"_qs), u"ÿ"_qs);
  EXPECT_EQ(CaracterNoUsado(u"aÿ"_qs), u"þ"_qs);
  QByteArray everyByte;
  for (int code = 0; code < 256; ++code) everyByte.append(static_cast<char>(code));
  const QString all = Cp1252::decode(everyByte);
  EXPECT_EQ(CaracterNoUsado(all), QString());
  EXPECT_EQ(CaracterNoUsado(all.mid(1)), QString(QChar(0)));
  EXPECT_EQ(CaracterNoUsado(QString(all).remove(u'€')), u"€"_qs);  // byte 128
}

TEST(Textos, Replacements) {
  QString text = u"a-b-c"_qs;
  EXPECT_EQ(ReemplazarTexto(u"-"_qs, u"+"_qs, text), u"a+b+c"_qs);
  EXPECT_EQ(text, u"a+b+c"_qs);  // changed in place as well
  text = u"aaa"_qs;
  EXPECT_EQ(ReemplazarTexto(u"aa"_qs, u"b"_qs, text), u"ba"_qs);  // one pass, no overlaps
  text = u"Abc"_qs;
  EXPECT_EQ(ReemplazarTexto(u"a"_qs, u"x"_qs, text), u"Abc"_qs);  // case-sensitive
  EXPECT_EQ(ReemplazarRepetido(u"||"_qs, u"|"_qs, u"|||"_qs), u"|"_qs);
  EXPECT_EQ(ReemplazarRepetido(u"\r\n\r\n"_qs, u"\r\n"_qs, u"a\r\n\r\n\r\n\r\nb"_qs), u"a\r\nb"_qs);
  // A replacement holding what it replaces would never end: one pass only.
  EXPECT_EQ(ReemplazarRepetido(u"a"_qs, u"aa"_qs, u"a"_qs), u"aa"_qs);
  EXPECT_EQ(ReemplazarRepetido(u"ab"_qs, u"bbaa"_qs, u"aab"_qs), u"abbaa"_qs);
}

TEST(Textos, SmallTextHelpers) {
  const std::pair<QString, QString> casos[] = {
      {QuitarCRLFFinal(u"a\r\n\r\n"_qs), u"a\r\n"_qs}, {QuitarCRLFFinal(u"a\n"_qs), u"a\n"_qs},
      {QuitarCRLFFinal(u"a"_qs), u"a"_qs}, {Entrecomillar(u"O'Brien"_qs), u"'O'Brien'"_qs},
      {Espacios(3), u"   "_qs}, {Espacios(0), QString()}, {Espacios(-2), QString()}};
  for (const auto& [visto, esperado] : casos) EXPECT_EQ(visto, esperado);
}

TEST(Textos, OrdenarLineasInSpanishOrderWithoutRegardToCase) {
  EXPECT_EQ(OrdenarLineas(u"pera\r\nÁrbol\r\nmanzana\r\nZumo\r\nñu\r\nnuez\r\nabeto"_qs),
            u"abeto\r\nÁrbol\r\nmanzana\r\nnuez\r\nñu\r\npera\r\nZumo\r\n"_qs);
  EXPECT_EQ(OrdenarLineas(u"b\r\nB\r\na\r\nb"_qs), u"a\r\nb\r\nB\r\nb\r\n"_qs);  // equal lines all kept, in order
  EXPECT_EQ(OrdenarLineas(QString()), QString());
}

TEST(Listas, NameValueLines) {
  const QString text = u"Titulo=Clientes\r\nModo=Multiple\ntitulo=Otro\rFormato=1,2,3,4"_qs;
  EXPECT_EQ(ValorLista(u"TITULO"_qs, text), u"Clientes"_qs);
  EXPECT_EQ(ValorLista(u"Formato"_qs, text), u"1,2,3,4"_qs);
  EXPECT_EQ(ValorLista(u"Modo"_qs, text), u"Multiple"_qs);
  EXPECT_EQ(ValorLista(u"Falta"_qs, text), QString());

  StringList list({u"A=1"_qs, u"B=2"_qs});
  EXPECT_EQ(ValorStrings(u"b"_qs, list), u"2"_qs);
  AsignarValorLista(u"a"_qs, u"9"_qs, list);
  AsignarValorLista(u"C"_qs, u"3"_qs, list);
  AsignarValorLista(u"B"_qs, QString(), list);
  AsignarValorLista(u"Falta"_qs, QString(), list);  // nothing to remove: unchanged
  EXPECT_EQ(list.Lines(), QStringList({u"a=9"_qs, u"C=3"_qs}));
}
