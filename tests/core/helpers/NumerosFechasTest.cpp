#include "core/helpers/Fechas.h"
#include "core/helpers/Numeros.h"
#include "tests/fixtures/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, 0, 0));
}

}  // namespace

TEST(Numeros, TextoAFlotante) {
  const std::tuple<const char16_t*, const char16_t*, double> cases[] = {
      {u"1.234,5", u"", 1234.5}, {u"1,234.5", u"PuntoDecimal", 1234.5}, {u"1.5", u"Opciones=PuntoDecimal", 1.5},
      {u"-2,25", u"", -2.25},
      {u"1.5", u"", 15},  // the point is a thousands separator
      {u"abc", u"", 0}, {u"", u"", 0}, {u"1,5,5", u"", 0},
  };
  for (const auto& [text, options, expected] : cases)
    EXPECT_EQ(TextoAFlotante(QString::fromUtf16(text), QString::fromUtf16(options)), expected)
        << QString::fromUtf16(text).toStdString();
}

TEST(Numeros, EsCeroIncludesBothEnds) {
  for (const double cero : {0.0, 0.00001, -0.00001}) EXPECT_TRUE(EsCero(cero)) << cero;
  for (const double otro : {0.0000101, -0.0000101}) EXPECT_FALSE(EsCero(otro)) << otro;
}

TEST(Numeros, RedondearHalvesAwayFromZero) {
  // A half is taken 0.0000001 early: 2.4999995 falls short of it and stays 2.
  const std::pair<double, double> cases[] = {
      {2.5, 3},         {-2.5, -3},  {2.4999995, 2}, {2.499999, 2}, {2.5000001, 3}, {-7.5, -8},
      {0.3, 0},         {-0.3, 0},   {3, 3},         {1e19, 1e19},  {-1e300, -1e300}, {123456789.5, 123456790},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(Redondear(value), expected) << value;
  EXPECT_FALSE(std::signbit(Redondear(-0.3)));
  EXPECT_TRUE(std::isnan(Redondear(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Numeros, RedondearDecimales) {
  const std::tuple<int, double, double> cases[] = {
      // The 0.0000001 of tolerance absorbs the binary error of 2.675 and 1.005,
      // unlike FormatFloat's rounding.
      {2, 1.235, 1.24}, {2, -1.235, -1.24}, {2, 2.675, 2.68}, {2, 1.005, 1.01}, {0, 2.5, 3},
      {-1, 2.5, 3},     {3, 1.0005, 1.001}, {2, 1.2349, 1.23},
      {2, 1e308, 1e308},  // the overflow gives the value back
  };
  for (const auto& [decimals, value, expected] : cases)
    EXPECT_EQ(RedondearDecimales(decimals, value), expected) << value;
}

TEST(Fechas, AnioCompleto) {
  const std::pair<int, int> cases[] = {{49, 2049}, {50, 1950}, {100, 100}, {-1, 1999}, {0, 2000}, {99, 1999}, {2024, 2024}};
  for (const auto& [year, expected] : cases) EXPECT_EQ(AnioCompleto(year), expected) << year;
}

TEST(Fechas, TextoAFechaHora) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  for (const auto& [texto, valor] : {std::pair{"15/1/2024 10:30", At(2024, 1, 15, 10, 30)},
                                     {"15/1/24", At(2024, 1, 15)}, {"10:30", EncodeTime(10, 30, 0, 0)}, {"x", 0.0},
                                     {"31/2/2024", 0.0}})
    EXPECT_EQ(TextoAFechaHora(QLatin1String(texto)), valor) << texto;
}

TEST(Fechas, SumarMesesClipsTheDayAndKeepsTheTime) {
  const std::tuple<TDateTime, int, TDateTime> cases[] = {
      {At(2024, 1, 31, 10, 0), 1, At(2024, 2, 29, 10, 0)}, {At(2024, 3, 31), -1, At(2024, 2, 29)},
      {At(2023, 1, 31), 1, At(2023, 2, 28)}, {At(2024, 1, 15), 12, At(2025, 1, 15)},
      {At(2024, 1, 15), -13, At(2022, 12, 15)}, {At(2024, 1, 15), 0, At(2024, 1, 15)},
      {-1.25, 1, 30.25},  // 29/12/1899 06:00 gives 29/01/1900 06:00
      {At(9999, 12, 31), 1, 0}, {At(1, 1, 1), -1, 0},
  };
  for (const auto& [date, months, expected] : cases)
    EXPECT_EQ(SumarMeses(date, months), expected) << date << " + " << months;
}
