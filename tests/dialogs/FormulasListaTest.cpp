#include "dialogs/FormulasLista.h"
#include "platform/Exceptions.h"

#include <cmath>
#include <optional>

#include <gtest/gtest.h>

namespace {

std::optional<double> evaluar(const QString& formula, const QString& sustituciones = QString()) {
  try {
    return EvaluarFormula(formula, sustituciones);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

struct Caso {
  const char* formula;
  const char* sustituciones;
  double resultado;
};

QString repetido(const QString& pieza, int veces) { return pieza.repeated(veces); }

}  // namespace

TEST(FormulasLista, TheLanguageGivesItsNumbers) {
  const Caso casos[] = {
      {"2+3*4", "", 14},          {"(2+3)*4", "", 20},         {"10-(2-7)", "", 15},
      {"7.456#0.01", "", 7.46},   {"7.455#0.05", "", 7.45},    {"1234#100", "", 1200},
      {"6x2", "", 12},            {"6:2", "", 3},              {"5*-2", "", -10},
      {"1,5*2", "", 3},           {"1.5*2", "", 3},            {" 2 + 3 ", "", 5},
      {"-(2-7)", "", 5},          {"4+(2-7)", "", -1},         {"3*(2-7)", "", -15},
      {"((1+1)*(2+2))/4", "", 2}, {"-2.5#1", "", -3},          {"8/2/2", "", 2},
      {"A-B", "A=10\r\nB=-3", 13}, {"A*B", "A=10\nB=-3", -30}, {"Precio*PrecioTotal", "Precio=2\r\nPrecioTotal=10", 20},
      {"A+A", "A=1\r\nA=5", 2},   {"1e", "1e=4", 4},
  };
  for (const Caso& caso : casos) {
    const auto resultado = evaluar(QString::fromUtf8(caso.formula), QString::fromUtf8(caso.sustituciones));
    ASSERT_TRUE(resultado.has_value()) << caso.formula;
    EXPECT_DOUBLE_EQ(*resultado, caso.resultado) << caso.formula;
  }
}

TEST(FormulasLista, HostileFormulasFailOrGiveAFiniteNumber) {
  const QString cuatrocientos = u"1"_qs + QString(399, u'9');
  const QString grande = u"1"_qs + QString(300, u'0');
  const QString fallan[] = {
      u"1/0"_qs, u"5/(2-2)"_qs, u"7#0"_qs, u"(2+3"_qs, u"2+3)"_qs, u")2+3("_qs, u"(2+3))"_qs, u""_qs, u"5+"_qs,
      u"*3"_qs, u"1..5"_qs, u"1e5"_qs, u"inf"_qs, u"nan"_qs, u"abc"_qs, cuatrocientos, cuatrocientos + u"*0"_qs,
      grande + u"*"_qs + grande, grande + u"/0.0000000001"_qs + repetido(u"/0.0000000001"_qs, 40),
      u"0-"_qs + grande + u"*"_qs + grande, grande + u"#0.5"_qs + u"*"_qs + grande};
  for (const QString& formula : fallan) EXPECT_FALSE(evaluar(formula).has_value()) << formula.left(60).toStdString();

  const auto anidada = evaluar(QString(100000, u'(') + u"1+1"_qs + QString(100000, u')'));
  ASSERT_TRUE(anidada.has_value());
  EXPECT_EQ(*anidada, 2);
  const auto larga = evaluar(u"0"_qs + repetido(u"+1"_qs, 500000));  // a megabyte of text
  ASSERT_TRUE(larga.has_value());
  EXPECT_EQ(*larga, 500000);
  const auto minimo = evaluar(u"0."_qs + QString(399, u'0') + u"1*5"_qs);
  ASSERT_TRUE(minimo.has_value());
  EXPECT_TRUE(std::isfinite(*minimo));
  EXPECT_FALSE(evaluar(QString(100000, u'(') + u"1"_qs + QString(99999, u')')).has_value());
}

TEST(FormulasLista, ValuesAreWrittenWithoutExponentOrSeparators) {
  EXPECT_EQ(TextoNumeroFormula(1e20), u"100000000000000000000"_qs);
  EXPECT_EQ(TextoNumeroFormula(-1234567.5), u"-1234567.5"_qs);
  EXPECT_EQ(TextoNumeroFormula(0.00001), u"0.00001"_qs);
  EXPECT_EQ(TextoNumeroFormula(-0.0), u"0"_qs);
  EXPECT_EQ(EvaluarFormula(u"A*2"_qs, u"A="_qs + TextoNumeroFormula(1e-7)), 2e-7);
}

TEST(FormulasLista, AFormulaLineNamesItsTriggerTargetAndExpression) {
  const FormulaCampo flecha = LeerFormulaCampo(u"Cantidad:Importe->Cantidad*Precio#0.01"_qs);
  EXPECT_EQ(flecha.disparador, u"Cantidad"_qs);
  EXPECT_EQ(flecha.destino, u"Importe"_qs);
  EXPECT_EQ(flecha.expresion, u"Cantidad*Precio#0.01"_qs);
  const FormulaCampo mayor = LeerFormulaCampo(u"A:B>A:2"_qs);
  EXPECT_EQ(mayor.destino, u"B"_qs);
  EXPECT_EQ(mayor.expresion, u"A:2"_qs);
}
