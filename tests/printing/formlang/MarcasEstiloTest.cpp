#include "printing/formlang/MarcasEstilo.h"

#include <QColor>
#include <QFont>

#include <gtest/gtest.h>

namespace {

struct Fuente {
  bool negrita, italica, subrayado;
  int tamano;
  QColor color;
};

Fuente Aplicada(const MarcasEstilo& marcas) {
  QFont fuente(u"Arial"_qs, 10);
  fuente.setStrikeOut(true);
  QColor color(Qt::black);
  AplicarMarcas(marcas, fuente, color);
  return {fuente.bold(), fuente.italic(), fuente.underline(), fuente.pointSize(), color};
}

}  // namespace

TEST(MarcasEstilo, SepararMarcasGivesTheTextToPrintAndItsFont) {
  const QColor negro(Qt::black), rojo(255, 0, 0), verde(0, 128, 0), azul(0, 0, 255);
  struct Caso {
    const char* texto;
    const char* imprime;
    bool negrita, italica, subrayado;
    int tamano;
    QColor color;
    bool tachado;  // the former style stays: no style mark was read
  };
  const Caso casos[] = {
      {"<N><R>Hola", "Hola", true, false, false, 10, rojo, false},
      {"  <N>Hola", "  Hola", true, false, false, 10, negro, false},
      {"<N></>Hola", "Hola", false, false, false, 10, negro, true},
      {"</><N>Hola", "<N>Hola", false, false, false, 10, negro, true},
      {"<14>Hola", "Hola", false, false, false, 14, negro, true},
      {"<1a>Hola", "<1a>Hola", false, false, false, 10, negro, true},
      {"<N><C><S><N>Hola", "Hola", true, true, false, 10, negro, false},
      {"<R><V><A>Hola", "Hola", false, false, false, 10, azul, true},
      {"<V> Hola <N>", " Hola <N>", false, false, false, 10, verde, true},
      {"Hola <N>", "Hola <N>", false, false, false, 10, negro, true},
      {"<n>Hola", "<n>Hola", false, false, false, 10, negro, true},
      {"<N", "<N", false, false, false, 10, negro, true},
      {"<N><R", "<R", true, false, false, 10, negro, false},
      {"<99999999999>Hola", "<99999999999>Hola", false, false, false, 10, negro, true},
      {"<1001>Hola", "<1001>Hola", false, false, false, 10, negro, true},
      {"<1000>Hola", "Hola", false, false, false, 1000, negro, true},
      {"<14><x>Hola", "<x>Hola", false, false, false, 10, negro, true},
      {"<0>Hola", "Hola", false, false, false, 10, negro, true},
      {"<>Hola", "<>Hola", false, false, false, 10, negro, true},
      {"", "", false, false, false, 10, negro, true},
      {"   ", "   ", false, false, false, 10, negro, true},
  };
  for (const Caso& caso : casos) {
    const TextoConMarcas separado = SepararMarcas(QString::fromUtf8(caso.texto));
    EXPECT_EQ(separado.texto, QString::fromUtf8(caso.imprime)) << caso.texto;
    QFont fuente(u"Arial"_qs, 10);
    fuente.setStrikeOut(true);
    QColor color(Qt::black);
    AplicarMarcas(separado.marcas, fuente, color);
    EXPECT_EQ(fuente.bold(), caso.negrita) << caso.texto;
    EXPECT_EQ(fuente.italic(), caso.italica) << caso.texto;
    EXPECT_EQ(fuente.underline(), caso.subrayado) << caso.texto;
    EXPECT_EQ(fuente.strikeOut(), caso.tachado) << caso.texto;
    EXPECT_EQ(fuente.pointSize(), caso.tamano) << caso.texto;
    EXPECT_EQ(color, caso.color) << caso.texto;
  }
}

TEST(MarcasEstilo, ExtraerMarcasKeepsTheMarksWithoutBlanks) {
  struct Caso {
    const char* texto;
    const char* prefijo;
    bool hayMarcas;
  };
  const Caso casos[] = {
      {"<N> <R>Texto", "<N><R>", true},  {"  <N>  Texto", "<N>", true}, {"<N></>Texto", "<N></>", true},
      {"</>Texto", "</>", true},         {"Texto", "", false},          {"   Texto", "", false},
      {"<x>Texto", "", false},           {"<N><x>Texto", "<N>", true},  {"<N", "", false},
  };
  for (const Caso& caso : casos) {
    const MarcasExtraidas extraidas = ExtraerMarcas(QString::fromUtf8(caso.texto));
    EXPECT_EQ(extraidas.prefijo, QString::fromUtf8(caso.prefijo)) << caso.texto;
    EXPECT_EQ(extraidas.hayMarcas, caso.hayMarcas) << caso.texto;
  }
  // Both readers read alike.
  EXPECT_EQ(Aplicada(ExtraerMarcas(u"<N><C><S><N><16><A>x"_qs).marcas).italica, true);
  EXPECT_EQ(Aplicada(ExtraerMarcas(u"<N><C><S><N><16><A>x"_qs).marcas).subrayado, false);
  EXPECT_EQ(Aplicada(ExtraerMarcas(u"<N><C><S><N><16><A>x"_qs).marcas).tamano, 16);
}

TEST(MarcasEstilo, AFourthStyleReplacesTheThird) {
  MarcasEstilo marcas;
  for (const char16_t* estilo : {u"Negrita", u"Italica", u"Subrayado", u"Tachado"}) AgregarEstilo(QString::fromUtf16(estilo), marcas);
  EXPECT_EQ(marcas.estilos[0], u"Negrita"_qs);
  EXPECT_EQ(marcas.estilos[1], u"Italica"_qs);
  EXPECT_EQ(marcas.estilos[2], u"Tachado"_qs);
}

TEST(MarcasEstilo, LongAndUnclosedMarksEndInOnePass) {
  const QString abierta = u"<"_qs + QString(5'000'000, u'N');
  EXPECT_EQ(SepararMarcas(abierta).texto.size(), abierta.size());
  QString muchas;
  for (int n = 0; n < 1'000'000; ++n) muchas += u"<N> "_qs;
  const TextoConMarcas separado = SepararMarcas(muchas + u"fin"_qs);
  EXPECT_EQ(separado.texto, QString(1'000'000, u' ') + u"fin"_qs);
  EXPECT_EQ(ExtraerMarcas(muchas).prefijo.size(), 3'000'000);
}
