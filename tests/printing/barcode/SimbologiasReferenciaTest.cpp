#include "printing/barcode/Code128.h"
#include "printing/barcode/Code39.h"
#include "printing/barcode/DigitoControl.h"
#include "printing/barcode/Ean.h"
#include "printing/barcode/Entrelazado2de5.h"
#include "printing/barcode/Postal.h"
#include "tests/printing/barcode/CodificadorReferencia.h"

#include <zint.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

constexpr int kEntradas = 50;

// Texts of length minimo..maximo drawn from the alphabet, the same on every run.
std::vector<QString> Textos(const QString& alfabeto, int minimo, int maximo, unsigned semilla,
                            const std::function<bool(const QString&)>& vale = {}) {
  std::mt19937 azar(semilla);
  std::vector<QString> textos;
  while (int(textos.size()) < kEntradas) {
    const int largo = std::uniform_int_distribution(minimo, maximo)(azar);
    QString texto;
    for (int i = 0; i < largo; ++i)
      texto += alfabeto[std::uniform_int_distribution<qsizetype>(0, alfabeto.size() - 1)(azar)];
    if (!vale || vale(texto)) textos.push_back(texto);
  }
  return textos;
}

const QString kDigitos = u"0123456789"_qs;

// Wide elements, as classes: the reference draws them 2 or 3 modules wide.
std::vector<bool> ClasesAnchas(const std::vector<int>& anchos) {
  std::vector<bool> clases;
  for (int ancho : anchos) clases.push_back(ancho > 1);
  return clases;
}

SimboloReferencia Referencia(int simbologia, const QString& texto) {
  SimboloReferencia simbolo = CodificarReferencia(simbologia, texto.toLatin1());
  EXPECT_TRUE(simbolo.error.isEmpty()) << texto.toStdString() << ": " << simbolo.error.toStdString();
  return simbolo;
}

}  // namespace

TEST(SimbologiasReferencia, EanDeDoceYSieteDigitosConSuDigitoDeControl) {
  for (int largo : {12, 7}) {
    for (const QString& texto : Textos(kDigitos, largo, largo, unsigned(largo))) {
      const auto ean = CodificarEan(texto);
      ASSERT_TRUE(ean) << texto.toStdString();
      const SimboloReferencia referencia = Referencia(BARCODE_EANX, texto);
      EXPECT_EQ(ean->digitos, referencia.texto);
      EXPECT_EQ(ean->modulos, referencia.filas.at(0)) << texto.toStdString();
    }
  }
}

TEST(SimbologiasReferencia, EanDeTreceYOchoDigitosConControlCorrectoTalCual) {
  for (int largo : {12, 7}) {
    for (QString texto : Textos(kDigitos, largo, largo, unsigned(largo + 100))) {
      texto += DigitoControl(texto, largo == 12 ? 1 : 3);
      const auto ean = CodificarEan(texto);
      ASSERT_TRUE(ean);
      EXPECT_EQ(ean->digitos, texto);
      EXPECT_EQ(ean->modulos, Referencia(BARCODE_EANX_CHK, texto).filas.at(0)) << texto.toStdString();
    }
  }
}

TEST(SimbologiasReferencia, UpcaEsEan13ConUnCeroDelante) {
  for (const QString& texto : Textos(kDigitos, 11, 11, 11)) {
    const auto ean = CodificarEan(u'0' + texto);
    ASSERT_TRUE(ean);
    const SimboloReferencia referencia = Referencia(BARCODE_UPCA, texto);
    EXPECT_EQ(ean->digitos, u'0' + referencia.texto);
    EXPECT_EQ(ean->modulos, referencia.filas.at(0)) << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Code39ComoElementosEstrechosYAnchos) {
  const QString juego = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%"_qs;
  ASSERT_EQ(juego.size(), 43);
  std::vector<QString> textos = Textos(juego, 1, 20, 39);
  for (QChar c : juego) textos.push_back(QString(c));
  for (const QString& texto : textos) {
    auto elementos = ElementosCode39(texto);
    ASSERT_TRUE(elementos) << texto.toStdString();
    ASSERT_FALSE(elementos->back()) << "the stop character's gap";
    elementos->pop_back();
    EXPECT_EQ(*elementos, ClasesAnchas(Referencia(BARCODE_CODE39, texto).Anchos())) << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Entrelazado2de5ConCeroDelanteSiEsImpar) {
  for (const QString& texto : Textos(kDigitos, 1, 30, 25)) {
    const auto elementos = ElementosEntrelazado(TextoEntrelazado(texto));
    ASSERT_TRUE(elementos) << texto.toStdString();
    EXPECT_EQ(*elementos, ClasesAnchas(Referencia(BARCODE_C25INTER, texto).Anchos())) << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Itf14DeDoceDigitosConSuDigitoDeControl) {
  for (const QString& texto : Textos(kDigitos, 12, 12, 14)) {
    const auto digitos = TextoItf14(texto);
    ASSERT_TRUE(digitos);
    const SimboloReferencia referencia = Referencia(BARCODE_ITF14, texto);
    EXPECT_EQ(*digitos, referencia.texto);
    EXPECT_EQ(*ElementosEntrelazado(*digitos), ClasesAnchas(referencia.Anchos())) << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Code128DeDigitosPares) {
  for (QString texto : Textos(kDigitos, 2, 20, 128)) {
    texto += u"00"_qs;
    if (texto.size() % 2) texto.chop(1);
    const auto simbolos = SimbolosCode128(texto, false);
    ASSERT_TRUE(simbolos);
    EXPECT_EQ(simbolos->front(), 105) << "Start C";
    EXPECT_EQ(ModulosDeAnchos(ModulosCode128(*simbolos)), Referencia(BARCODE_CODE128, texto).filas.at(0))
        << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Code128EnJuegoBSinSeriesDeCuatroDigitos) {
  QString imprimibles;
  for (char16_t c = 32; c <= 126; ++c) imprimibles += QChar(c);
  // Digits weigh more so that short runs appear, though never four in a row.
  imprimibles += u"0123456789012345678901234567890123456789"_qs;
  const auto sinSeries = [](const QString& texto) {
    int seguidos = 0;
    for (QChar c : texto) {
      seguidos = c.isDigit() ? seguidos + 1 : 0;
      if (seguidos == 4) return false;
    }
    return true;
  };
  for (const QString& texto : Textos(imprimibles, 1, 40, 1280, sinSeries)) {
    const auto simbolos = SimbolosCode128(texto, false);
    ASSERT_TRUE(simbolos);
    EXPECT_EQ(ModulosDeAnchos(ModulosCode128(*simbolos)), Referencia(BARCODE_CODE128B, texto).filas.at(0))
        << texto.toStdString();
  }
}

TEST(SimbologiasReferencia, Ean128DeIdentificador01YCatorceDigitos) {
  for (QString gtin : Textos(kDigitos, 13, 13, 1281)) {
    gtin += DigitoControl(gtin, 3);
    const auto simbolos = SimbolosCode128(u"01"_qs + gtin, true);
    ASSERT_TRUE(simbolos);
    EXPECT_EQ(ModulosDeAnchos(ModulosCode128(*simbolos)), Referencia(BARCODE_GS1_128, u"[01]"_qs + gtin).filas.at(0))
        << gtin.toStdString();
  }
}

TEST(SimbologiasReferencia, PostNetConDigitoDeControlHastaSuLimite) {
  for (int largo : {5, 9, 11}) {
    for (const QString& texto : Textos(kDigitos, largo, largo, unsigned(40 + largo))) {
      const auto digitos = DigitosPostNet(texto, largo);
      ASSERT_TRUE(digitos);
      const std::vector<bool> barras = BarrasPostNet(*digitos);
      const SimboloReferencia referencia = Referencia(BARCODE_POSTNET, texto);
      ASSERT_EQ(referencia.filas.size(), 2u);
      ASSERT_EQ(referencia.filas[1].size(), 2 * barras.size() - 1) << texto.toStdString();
      std::vector<bool> completas;
      for (size_t c = 0; c < referencia.filas[1].size(); c += 2) completas.push_back(referencia.filas[0][c]);
      EXPECT_EQ(barras, completas) << texto.toStdString();
    }
  }
}

TEST(SimbologiasReferencia, MarcasFim) {
  for (const char* letra : {"A", "B", "C", "a", "b", "c"}) {
    const auto posiciones = PosicionesFim(QChar::fromLatin1(letra[0]));
    ASSERT_TRUE(posiciones);
    std::vector<bool> modulos;
    for (bool barra : *posiciones) modulos.insert(modulos.end(), {barra, false});
    modulos.pop_back();
    EXPECT_EQ(modulos, Referencia(BARCODE_FIM, QString::fromLatin1(letra)).filas.at(0)) << letra;
  }
}
